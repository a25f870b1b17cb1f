// The simulation condition and preference dialogs on their own: labels in the
// working units, slider and field mirroring, Reset, the refusals, what OK and
// Cancel hand back, and that every control is reachable and named.
#include "app/dialogs/memory_form.h"
#include "common/message_wrap.h"
#include "dialogs/camera_dialog.h"
#include "dialogs/controller_dialog.h"
#include "dialogs/external_force_dialog.h"
#include "dialogs/gravity_dialog.h"
#include "dialogs/grid_dialog.h"
#include "dialogs/initial_conditions_dialog.h"
#include "dialogs/memory_dialog.h"
#include "dialogs/slider_link.h"
#include "dialogs/wind_dialog.h"
#include "dialogs/working_units_dialog.h"
#include "gui_test_support.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using kv::app::Preferences;
using kv::app::WorkingUnits;

namespace {

QPushButton* buttonNamed(QWidget& w, const QString& text) {
    for (auto* b : w.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QStringList labelTexts(QWidget& w) {
    QStringList out;
    for (auto* l : w.findChildren<QLabel*>())
        out << l->text();
    return out;
}

/// Every field has a label that is its buddy, and every control takes the
/// keyboard focus and has a name a screen reader can read.
void checkReachableAndNamed(QWidget& dialog) {
    QSet<QWidget*> buddies;
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->buddy() != nullptr)
            buddies.insert(l->buddy());
    }
    for (QLineEdit* f : dialog.findChildren<QLineEdit*>()) {
        if (f->parent()->inherits("QComboBox"))
            continue;
        QVERIFY2(buddies.contains(f), qPrintable(f->accessibleName()));
        QVERIFY(!f->accessibleName().isEmpty());
    }
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(w) != nullptr || qobject_cast<QSlider*>(w) != nullptr ||
            qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QComboBox*>(w) != nullptr;
        if (!control || w->parent()->inherits("QComboBox"))
            continue;
        QVERIFY2(w->focusPolicy() & Qt::TabFocus, qPrintable(w->objectName()));
        const auto* b = qobject_cast<QAbstractButton*>(w);
        const QString name = !w->accessibleName().isEmpty() ? w->accessibleName()
                             : b != nullptr                 ? b->text()
                                                            : QString();
        QVERIFY2(!name.isEmpty(), w->metaObject()->className());
    }
}

/// Saves a picture of `dialog` as it opens (under KV_SCREENSHOT_DIR when set).
void snapshot(QWidget& dialog, const char* name) {
    dialog.adjustSize();
    const QString dir = qEnvironmentVariable("KV_SCREENSHOT_DIR", QDir::tempPath());
    QVERIFY(dialog.grab().save(dir + QLatin1Char('/') + QLatin1String(name) + ".png"));
}

constexpr WorkingUnits kMetresLeft{3.2808f, 0, 0};

} // namespace

class ConditionDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initialConditionsShowLabelsAndStoreOnOk() {
        kv::guitest::RecordingMessages messages;
        kv::model::InitialConditions ic;
        ic.position = {32.808f, 0.0f, -16.404f}; // 10 m forward, 5 m up
        ic.attitude = {1.0f, 2.0f, 90.0f};
        kv::dialogs::InitialConditionsDialog d(ic, kMetresLeft, {}, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Initial Conditions"));
        QCOMPARE(d.label(2)->text(), QStringLiteral("Up (m)"));
        QCOMPARE(d.label(5)->text(), QStringLiteral("Up (m/s)"));
        QCOMPARE(d.label(6)->text(), QStringLiteral("Yaw (deg)"));
        QCOMPARE(d.label(11)->text(), QStringLiteral("Roll Rate (deg/s)"));
        QCOMPARE(d.field(0)->text(), QStringLiteral("10.0000"));
        QCOMPARE(d.field(2)->text(), QStringLiteral("5.0000"));
        QCOMPARE(d.field(6)->text(), QStringLiteral("90.0000"));
        QCOMPARE(d.field(8)->text(), QStringLiteral("1.0000"));
        QCOMPARE(d.minutesField()->text(), QStringLiteral("0"));
        QCOMPARE(d.secondsField()->text(), QStringLiteral("0.0"));
        checkReachableAndNamed(d);
        snapshot(d, "initial_conditions_dialog");

        d.field(2)->setText(QStringLiteral("2"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(std::abs(d.initialConditions().position[2] - -6.5616f) < 1e-4f);
        QCOMPARE(d.initialConditions().attitude[2], 90.0f);
    }

    void initialConditionsOnGroundTakesTheHeightThatRestsTheVehicle() {
        kv::guitest::RecordingMessages messages;
        kv::model::InitialConditions ic;
        kv::dialogs::InitialConditionsDialog plain(ic, kMetresLeft, {}, messages);
        QVERIFY(plain.onGroundButton() != nullptr);
        QCOMPARE(plain.onGroundButton()->text(), QStringLiteral("On Ground"));
        QVERIFY(!plain.onGroundButton()->isEnabled());

        kv::dialogs::InitialConditionsDialog d(ic, kMetresLeft, {}, messages);
        kv::model::InitialConditions asked;
        d.setGrounder([&](const kv::model::InitialConditions& in) {
            asked = in;
            kv::model::InitialConditions out = in;
            out.position[2] = -16.404f; // 5 m up
            return out;
        });
        QVERIFY(d.onGroundButton()->isEnabled());
        d.field(0)->setText(QStringLiteral("10")); // forward 10 m
        d.field(6)->setText(QStringLiteral("45")); // yaw
        d.onGroundButton()->click();
        // The grounder saw the fields as they stood, and its height is shown.
        QVERIFY(std::abs(asked.position[0] - 32.808f) < 1e-3f);
        QCOMPARE(asked.attitude[2], 45.0f);
        QCOMPARE(d.field(2)->text(), QStringLiteral("5.0000"));
        QCOMPARE(d.field(0)->text(), QStringLiteral("10.0000"));
        // A field that is no number: the message, nothing changes.
        d.field(1)->setText(QStringLiteral("x"));
        d.onGroundButton()->click();
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(d.field(2)->text(), QStringLiteral("5.0000"));
    }

    void initialConditionsResetLoadAndRefuse() {
        kv::guitest::RecordingMessages messages;
        kv::model::InitialConditions ic;
        ic.position = {5.0f, 6.0f, 7.0f};
        float askedTime = -1.0f;
        kv::model::InitialConditions loaded;
        loaded.position = {3.2808f, 0.0f, 0.0f};
        loaded.rates = {0.0f, 0.0f, 12.5f};
        kv::dialogs::InitialConditionsDialog d(
            ic, kMetresLeft,
            [&](float t) -> std::optional<kv::model::InitialConditions> {
                askedTime = t;
                return loaded;
            },
            messages);
        buttonNamed(d, QStringLiteral("Reset"))->click();
        for (int i = 0; i < 12; ++i)
            QCOMPARE(d.field(i)->text(), QStringLiteral("0.0000"));

        d.minutesField()->setText(QStringLiteral("1"));
        d.secondsField()->setText(QStringLiteral("2.5"));
        buttonNamed(d, QStringLiteral("Load..."))->click();
        QCOMPARE(askedTime, 62.5f);
        QCOMPARE(d.field(0)->text(), QStringLiteral("1.0000"));
        QCOMPARE(d.field(9)->text(), QStringLiteral("12.5000")); // yaw rate listed first

        d.field(4)->setText(QStringLiteral("fast"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Rejected)); // still open
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(messages.messages[0], kv::wrapMessageText(kv::app::kEnterNumberMessage));
        QCOMPARE(d.initialConditions().position[0], 5.0f); // nothing stored
    }

    void windMirrorsSlidersAndConvertsSpeed() {
        kv::guitest::RecordingMessages messages;
        kv::sim::Environment env;
        env.windSpeed = 32.808f;
        env.windDirection = 90.0f;
        env.turbulenceDuration = 2.0f;
        kv::dialogs::WindDialog d(env, 3.2808f, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Wind"));
        QVERIFY(labelTexts(d).contains(QStringLiteral("Speed (KPH)")));
        QCOMPARE(d.speed().field->text(), QStringLiteral("36"));
        QCOMPARE(d.speed().slider->value(), 30); // held at its end
        QCOMPARE(d.direction().slider->value(), 90);
        QCOMPARE(d.duration().field->text(), QStringLiteral("200"));
        QCOMPARE(d.duration().slider->value(), 200);
        checkReachableAndNamed(d);
        snapshot(d, "wind_dialog");

        d.direction().slider->setValue(180);
        QCOMPARE(d.direction().field->text(), QStringLiteral("180"));
        d.strength().field->setText(QStringLiteral("250"));
        QCOMPARE(d.strength().slider->value(), 250);
        d.duration().field->setText(QStringLiteral("0"));
        d.steadyOn()->setChecked(true);
        d.accept();
        QCOMPARE(d.environment().windDirection, 180.0f);
        QCOMPARE(d.environment().turbulenceStrength, 2.5f);
        QCOMPARE(d.environment().turbulenceDuration, 0.01f);
        QCOMPARE(d.environment().windOn, 1);
        QVERIFY(std::abs(d.environment().windSpeed - 32.808f) < 1e-3f);

        kv::dialogs::WindDialog mph(env, 1.0f, messages);
        QVERIFY(labelTexts(mph).contains(QStringLiteral("Speed (MPH)")));
        QCOMPARE(mph.speed().field->text(), QStringLiteral("22"));
        buttonNamed(mph, QStringLiteral("Reset"))->click();
        QCOMPARE(mph.speed().field->text(), QStringLiteral("0"));
        QCOMPARE(mph.strength().field->text(), QStringLiteral("100"));
        QCOMPARE(mph.duration().slider->value(), 100);
        QVERIFY(!mph.steadyOn()->isChecked());
    }

    void gravityResetNegativeAndSlider() {
        kv::guitest::RecordingMessages messages;
        kv::dialogs::GravityDialog d(16.085f, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Gravity"));
        QCOMPARE(d.row().label->text(), QStringLiteral("g's"));
        QCOMPARE(d.row().field->text(), QStringLiteral("0.5000"));
        QCOMPARE(d.row().slider->value(), 5);
        checkReachableAndNamed(d);
        snapshot(d, "gravity_dialog");

        buttonNamed(d, QStringLiteral("Reset"))->click();
        QCOMPARE(d.row().field->text(), QStringLiteral("1.0000"));
        QCOMPARE(d.row().slider->value(), 10);
        d.row().slider->setValue(-20);
        QCOMPARE(d.row().field->text(), QStringLiteral("-2.0000"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.gravity(), -64.34f);

        kv::dialogs::GravityDialog zero(0.0f, messages);
        QCOMPARE(zero.row().field->text(), QStringLiteral("0.0000"));
        QCOMPARE(zero.row().slider->value(), 0);
    }

    void externalForceResetKeepsTheAxes() {
        kv::guitest::RecordingMessages messages;
        kv::sim::ExternalForceSettings s;
        s.axes = kv::sim::kExternalBodyAxes;
        s.point = {3.2808f, 0.0f, 3.2808f};
        s.force = {10.0f, 0.0f, 0.0f};
        s.moment = {0.0f, 0.0f, 3.2808f};
        kv::dialogs::ExternalForceDialog d(s, kMetresLeft, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("External Force"));
        QCOMPARE(d.label(2)->text(), QStringLiteral("Up (m)"));
        QCOMPARE(d.label(3)->text(), QStringLiteral("Forward (N)"));
        QCOMPARE(d.label(6)->text(), QStringLiteral("Yaw (N m)"));
        QCOMPARE(d.field(0)->text(), QStringLiteral("1.0000"));
        QCOMPARE(d.field(2)->text(), QStringLiteral("-1.0000"));
        QCOMPARE(d.field(3)->text(), QStringLiteral("44.4822"));
        QCOMPARE(d.field(6)->text(), QStringLiteral("4.4482"));
        QCOMPARE(d.axesButtons()->checkedId(), 0);
        QVERIFY(labelTexts(d).contains(QString::fromLatin1(kv::app::kExternalForceNote)));
        checkReachableAndNamed(d);
        snapshot(d, "external_force_dialog");

        buttonNamed(d, QStringLiteral("Reset"))->click();
        QCOMPARE(d.field(3)->text(), QStringLiteral("0.0000"));
        QCOMPARE(d.axesButtons()->checkedId(), 0);
        d.axesButtons()->button(1)->setChecked(true);
        d.field(5)->setText(QStringLiteral("10"));
        d.accept();
        QCOMPARE(d.settings().axes, 1);
        QVERIFY(std::abs(d.settings().force[2] - -2.2480895f) < 1e-5f);
    }

    void workingUnitsSelectTheStoredChoices() {
        Preferences prefs;
        prefs.lengthUnitFactor = 2.9999635f;
        prefs.englishForceUnits = 1;
        kv::dialogs::WorkingUnitsDialog d(prefs);
        QCOMPARE(d.windowTitle(), QStringLiteral("Working Units"));
        QCOMPARE(d.lengthButtons()->checkedButton()->text(), QStringLiteral("Yards"));
        QCOMPARE(d.forceButtons()->checkedButton()->accessibleName(),
                 QStringLiteral("lbf/lb/lb-ft2"));
        QCOMPARE(d.handButtons()->checkedButton()->text(), QStringLiteral("Left Hand"));
        checkReachableAndNamed(d);
        snapshot(d, "working_units_dialog");
        d.lengthButtons()->button(2)->setChecked(true); // Millimeters
        d.handButtons()->button(1)->setChecked(true);
        const kv::app::WorkingUnitsForm f = d.form();
        QCOMPARE(f.length, 2);
        QVERIFY(f.english);
        QVERIFY(f.axes == kv::geom::DxfAxes::RightHand);
        d.handButtons()->button(2)->setChecked(true);
        QVERIFY(d.form().axes == kv::geom::DxfAxes::ZUp);
    }

    void gridShowsWorkingUnitsAndResolution() {
        kv::guitest::RecordingMessages messages;
        Preferences prefs;
        prefs.lengthUnitFactor = 1.0f;
        kv::dialogs::GridDialog d(prefs, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Grid"));
        QCOMPARE(d.spacing().label->text(), QStringLiteral("Spacing (ft)"));
        QCOMPARE(d.size().label->text(), QStringLiteral("Size (ft)"));
        QCOMPARE(d.spacing().field->text(), QStringLiteral("164.0400"));
        QCOMPARE(d.resolution().field->text(), QStringLiteral("80"));
        QCOMPARE(d.resolution().slider->value(), 80);
        QVERIFY(d.gridOn()->isChecked());
        checkReachableAndNamed(d);
        snapshot(d, "grid_dialog");
        d.resolution().slider->setValue(81);
        QCOMPARE(d.resolution().field->text(), QStringLiteral("81"));
        d.spacing().field->setText(QStringLiteral("0"));
        d.accept();
        QCOMPARE(d.form().resolution, 81.0);
        QCOMPARE(d.form().spacing, 0.0);
    }

    void controllerRefusesAMissingJoystick() {
        kv::guitest::RecordingMessages messages;
        Preferences prefs;
        int asked = 0;
        kv::dialogs::ControllerDialog d(
            prefs,
            [&] {
                ++asked;
                return false;
            },
            messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Controller"));
        QCOMPARE(d.sensitivity().field->text(), QStringLiteral("100"));
        QCOMPARE(d.sensitivity().slider->value(), 100);
        QCOMPARE(d.deadzone().field->text(), QStringLiteral("3"));
        QCOMPARE(d.centring()->checkedId(), 0);
        QCOMPARE(d.centring()->buttons().size(), 4);
        QCOMPARE(d.gamepadStatus()->text(), QStringLiteral("No gamepad found"));
        QVERIFY(labelTexts(d).contains(QString::fromLatin1(kv::app::kControllerNote)));
        checkReachableAndNamed(d);
        snapshot(d, "controller_dialog");

        d.sensitivity().slider->setValue(150);
        QCOMPARE(d.sensitivity().field->text(), QStringLiteral("150"));
        d.centring()->button(1)->setChecked(true);
        d.accept();
        QCOMPARE(asked, 1);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messages.messages.back(), kv::wrapMessageText(kv::app::kJoystickMissingMessage));
        d.centring()->button(0)->setChecked(true);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.preferences().sensitivity, 1.5f);
        QCOMPARE(asked, 1);
    }

    void cameraPresetsAndSliderMultiples() {
        kv::guitest::RecordingMessages messages;
        Preferences prefs;
        kv::dialogs::CameraDialog d(prefs, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Camera"));
        QCOMPARE(d.updateRate().field->text(), QStringLiteral("12"));
        QCOMPARE(d.updateRate().slider->value(), 12);
        QCOMPARE(d.maxVelocity().field->text(), QStringLiteral("25"));
        QCOMPARE(d.maxVelocity().slider->value(), 250);
        QCOMPARE(d.jitterPosition().slider->value(), 5000);
        QCOMPARE(d.fieldOfView().field->text(), QStringLiteral("36.8700"));
        QCOMPARE(d.presets()->count(), 11);
        QCOMPARE(d.presets()->currentText(), QStringLiteral("Computer"));
        checkReachableAndNamed(d);
        snapshot(d, "camera_dialog");

        d.maxVelocity().slider->setValue(730);
        QCOMPARE(d.maxVelocity().field->text(), QStringLiteral("73"));
        d.presets()->setCurrentIndex(2);
        emit d.presets()->activated(2);
        QCOMPARE(d.fieldOfView().field->text(), QStringLiteral("27.4644"));
        QCOMPARE(d.aspectRatio().field->text(), QStringLiteral("1.3846"));
        d.accept();
        QCOMPARE(d.form().preset, 2);
        QCOMPARE(d.form().maxVelocity, 73.0);
    }

    void memoryTextsFollowTheSliders() {
        kv::guitest::RecordingMessages messages;
        const kv::app::MemoryForm start = kv::app::memoryForm(kv::app::kFactoryMemory, 1.0f / 120);
        kv::dialogs::MemoryDialog d(start, 1.0f / 12.0f, 100'000'000, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Memory and Accuracy"));
        QCOMPARE(d.objectsText()->text(), QStringLiteral("5 objects"));
        QCOMPARE(d.durationText()->text(), QStringLiteral("2 minutes"));
        QCOMPARE(d.terrainText()->text(), QStringLiteral("400 x 400"));
        QCOMPARE(d.assignedText()->text(), QStringLiteral("7 Mbytes"));
        QCOMPARE(d.availableText()->text(), QStringLiteral("98 Mbytes"));
        QCOMPARE(d.terrainSlider()->value(), 4);
        QCOMPARE(d.accuracyButtons()->checkedButton()->text(), QStringLiteral("Better (120 Hz)"));
        checkReachableAndNamed(d);
        snapshot(d, "memory_dialog");

        d.objectsSlider()->setValue(2);
        QCOMPARE(d.objectsText()->text(), QStringLiteral("0 objects"));
        d.terrainSlider()->setValue(50);
        QCOMPARE(d.terrainText()->text(), QStringLiteral("5000 x 5000"));
        QCOMPARE(d.assignedText()->text(), QStringLiteral("203 Mbytes"));
        d.accept(); // 203 MB do not fit in 98
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messages.messages.size(), std::size_t(1));
        buttonNamed(d, QStringLiteral("Reset"))->click();
        QCOMPARE(d.objectsSlider()->value(), 7);
        QCOMPARE(d.durationSlider()->value(), 2002);
        QCOMPARE(d.terrainText()->text(), QStringLiteral("400 x 400"));
        d.accuracyButtons()->button(2)->setChecked(true);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.form().settings, kv::app::kFactoryMemory);
        QCOMPARE(d.form().accuracy, 2);
    }

    /// The working units chosen change every other dialog's labels and values alike.
    void everyDialogFollowsTheWorkingUnits() {
        kv::guitest::RecordingMessages messages;
        kv::model::InitialConditions ic;
        ic.position = {0.0f, 0.0f, -10.0f}; // 10 ft up
        kv::sim::ExternalForceSettings force;
        force.point = {0.0f, 0.0f, -10.0f};
        force.force = {0.0f, 0.0f, -100.0f};
        kv::sim::Environment env;
        env.windSpeed = 44.0f; // 30 mph, 48.3 km/h
        struct Case {
            int length; // index into kLengthChoices
            int english;
            int right;
            QString up;       // the vertical position label
            QString height;   // 10 ft in the unit, with the sign rule
            QString forceUp;  // the vertical force label
            QString force;    // 100 lbf up
            QString speed;    // the wind speed label
            QString windText; // 44 ft/s
            QString spacing;  // grid spacing label
        } cases[] = {
            {0, 0, 0, "Up (m)", "3.0480", "Up (N)", "444.8222", "Speed (KPH)", "48", "Spacing (m)"},
            {1, 0, 1, "Down (cm)", "-304.8037", "Down (N)", "-444.8222", "Speed (KPH)", "48",
             "Spacing (cm)"},
            {2, 1, 0, "Up (mm)", "3048.0371", "Up (lbf)", "100.0000", "Speed (KPH)", "48",
             "Spacing (mm)"},
            {3, 1, 0, "Up (yd)", "3.3334", "Up (lbf)", "100.0000", "Speed (MPH)", "30",
             "Spacing (yd)"},
            {4, 1, 1, "Down (ft)", "-10.0000", "Down (lbf)", "-100.0000", "Speed (MPH)", "30",
             "Spacing (ft)"},
            {5, 0, 0, "Up (in)", "120.0015", "Up (N)", "444.8222", "Speed (MPH)", "30",
             "Spacing (in)"},
        };
        for (const Case& c : cases) {
            Preferences prefs;
            kv::dialogs::WorkingUnitsDialog units(prefs);
            units.lengthButtons()->button(c.length)->setChecked(true);
            units.forceButtons()->button(c.english)->setChecked(true);
            units.handButtons()->button(c.right)->setChecked(true);
            units.accept();
            kv::app::applyWorkingUnitsForm(units.form(), prefs);
            const WorkingUnits wu{prefs.lengthUnitFactor, prefs.englishForceUnits,
                                  prefs.rightHandedAxes};

            kv::dialogs::InitialConditionsDialog initial(ic, wu, {}, messages);
            QCOMPARE(initial.label(2)->text(), c.up);
            QCOMPARE(initial.field(2)->text(), c.height);
            kv::dialogs::ExternalForceDialog external(force, wu, messages);
            QCOMPARE(external.label(2)->text(), c.up);
            QCOMPARE(external.field(2)->text(), c.height);
            QCOMPARE(external.label(5)->text(), c.forceUp);
            QCOMPARE(external.field(5)->text(), c.force);
            kv::dialogs::WindDialog wind(env, prefs.lengthUnitFactor, messages);
            QCOMPARE(wind.speed().label->text(), c.speed);
            QCOMPARE(wind.speed().field->text(), c.windText);
            kv::dialogs::GridDialog grid(prefs, messages);
            QCOMPARE(grid.spacing().label->text(), c.spacing);
            // OK in each without a change keeps the stored values.
            external.accept();
            QVERIFY(std::abs(external.settings().force[2] - -100.0f) < 1e-3f);
            initial.accept();
            QVERIFY(std::abs(initial.initialConditions().position[2] - -10.0f) < 1e-3f);
        }
        QVERIFY(messages.messages.empty());
    }
};

QTEST_MAIN(ConditionDialogsTest)
#include "test_condition_dialogs.moc"
