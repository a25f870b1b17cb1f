// The Object > Customize dialogs: titles, labels in the working units, slider
// and field pairs, enabling, keyboard reach and names, and what OK hands back.
#include "app/customize/appearance_form.h"
#include "dialogs/aero_dialog.h"
#include "dialogs/appearance_dialog.h"
#include "dialogs/collision_dialog.h"
#include "dialogs/engine_dialog.h"
#include "dialogs/mass_dialog.h"
#include "dialogs/tires_dialog.h"
#include "gui_test_support.h"
#include "model/object_model.h"
#include "model/record_codec.h"
#include "model/template.h"

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
#include <cstring>

using kv::guitest::RecordingMessages;
namespace app = kv::app;
namespace model = kv::model;
namespace dialogs = kv::dialogs;

namespace {

model::ObjectRecord vehicle(int type) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = type;
    model::applyTemplate(r);
    return r;
}

QStringList labelTexts(QWidget& w) {
    QStringList out;
    for (auto* l : w.findChildren<QLabel*>())
        out << l->text();
    return out;
}

QStringList groupTitles(QWidget& w) {
    QStringList out;
    for (auto* g : w.findChildren<QGroupBox*>())
        out << g->title();
    return out;
}

template <typename T> bool sameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

/// Every field is named by its label (its buddy), every slider and button
/// has a name, and every control takes the keyboard focus.
void checkKeyboardAndNames(QWidget& d) {
    QList<QWidget*> buddies;
    for (auto* l : d.findChildren<QLabel*>()) {
        if (l->buddy() != nullptr)
            buddies << l->buddy();
    }
    for (auto* f : d.findChildren<QLineEdit*>()) {
        QVERIFY2(buddies.contains(f), qPrintable(f->accessibleName()));
        QVERIFY(!f->accessibleName().isEmpty());
        QVERIFY(f->focusPolicy() & Qt::TabFocus);
    }
    for (auto* s : d.findChildren<QSlider*>()) {
        QVERIFY(!s->accessibleName().isEmpty());
        QVERIFY(s->focusPolicy() & Qt::TabFocus);
    }
    for (auto* b : d.findChildren<QAbstractButton*>()) {
        QVERIFY(!b->text().isEmpty() || !b->accessibleName().isEmpty());
        QVERIFY(b->focusPolicy() & Qt::TabFocus);
    }
    for (auto* c : d.findChildren<QComboBox*>()) {
        QVERIFY(buddies.contains(c));
        QVERIFY(c->focusPolicy() & Qt::TabFocus);
    }
}

/// Saves the dialog as a PNG in $KV_SCREENSHOT_DIR, when set.
void screenshot(QWidget& d, const char* name) {
    const QByteArray dir = qgetenv("KV_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    d.show();
    d.adjustSize();
    QTest::qWait(20);
    QVERIFY(d.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(name))));
}

} // namespace

class CustomizeDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    // ---- Tires and Suspension ----
    void tiresShowsTheObjectsTires() {
        RecordingMessages messages;
        const model::ObjectRecord car = vehicle(model::kVehicleCar);
        dialogs::TiresDialog d(car, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Tires and Suspension"));
        const QStringList labels = labelTexts(d);
        for (const char* l : {"Braking (%)", "Surface (%)", "Selected Tire", "Spring Strength (%)",
                              "Bounce (%)", "Apply Spring and Bounce to all tires?"}) {
            QVERIFY2(labels.contains(QString::fromUtf8(l)), l);
        }
        QCOMPARE(d.tireList()->count(), 4);
        QCOMPARE(d.tireList()->itemText(3), QStringLiteral("RearRightTire"));
        QCOMPARE(d.field(app::kTiresBraking)->text(), QStringLiteral("100"));
        QCOMPARE(d.slider(app::kTiresBraking)->value(), 100);
        QCOMPARE(d.slider(app::kTiresBraking)->maximum(), 200);
        QCOMPARE(d.slider(app::kTiresSurface)->minimum(), 1);
        QCOMPARE(d.slider(app::kTiresSurface)->value(), 100);
        QCOMPARE(d.field(app::kTiresSpring)->text(), QStringLiteral("40"));
        QCOMPARE(d.slider(app::kTiresBounce)->value(), 70);
        QVERIFY(d.driveBox()->isChecked());
        QCOMPARE(d.tireTypeButtons()->checkedId(), 1);
        QCOMPARE(d.tireTypeButtons()->button(2)->text(), QStringLiteral("Bias Ply"));
        QCOMPARE(d.skidButtons()->checkedButton()->text(), QStringLiteral("Skid"));
        checkKeyboardAndNames(d);
        screenshot(d, "tires_and_suspension_dialog.png");
    }

    void tiresOkUntouchedKeepsTheBlock() {
        RecordingMessages messages;
        model::ObjectRecord car = vehicle(model::kVehicleCar);
        car.tires.braking = 0.3337f;
        car.tires.spring[2] = 0.4567f;
        dialogs::TiresDialog d(car, messages);
        d.tireList()->setCurrentIndex(2);
        d.tireList()->setCurrentIndex(0);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(sameBytes(d.tires(), car.tires));
    }

    // The edge cases of OK, typed into the fields as a user would.
    void tiresOkClampsAndTruncates() {
        struct Case {
            const char* braking;
            const char* surface;
            float braking_;
            int surface_;
        };
        const Case cases[] = {
            {"250", "50", 2.0f, 100}, {"0", "0", 0.0f, 1}, {"75", "12.9", 0.75f, 25}};
        for (const Case& c : cases) {
            RecordingMessages messages;
            dialogs::TiresDialog d(vehicle(model::kVehicleCar), messages);
            d.field(app::kTiresBraking)->setText(QString::fromLatin1(c.braking));
            d.field(app::kTiresSurface)->setText(QString::fromLatin1(c.surface));
            d.accept();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(d.tires().braking, c.braking_);
            QCOMPARE(d.tires().surface, c.surface_);
        }
    }

    void tiresSelectionKeepsEachTiresSettings() {
        RecordingMessages messages;
        dialogs::TiresDialog d(vehicle(model::kVehicleCar), messages);
        d.slider(app::kTiresSpring)->setValue(85);
        QCOMPARE(d.field(app::kTiresSpring)->text(), QStringLiteral("85"));
        d.driveBox()->setChecked(false);
        d.tireList()->setCurrentIndex(3);
        QCOMPARE(d.field(app::kTiresSpring)->text(), QStringLiteral("40"));
        QVERIFY(!d.driveBox()->isChecked());
        d.field(app::kTiresBounce)->setText(QStringLiteral("20"));
        QCOMPARE(d.slider(app::kTiresBounce)->value(), 20);
        d.brakeBox()->setChecked(false);
        d.tireList()->setCurrentIndex(0);
        QCOMPARE(d.field(app::kTiresSpring)->text(), QStringLiteral("85"));
        QCOMPARE(d.slider(app::kTiresSpring)->value(), 85);
        d.accept();
        const model::TireSuspension& t = d.tires();
        QCOMPARE(t.drive[0], 0);
        QCOMPARE(t.spring[0], 0.85f);
        QCOMPARE(t.brake[3], 0);
        QCOMPARE(t.damping[3], 0.8f);
        QCOMPARE(t.spring[3], 0.4f);
    }

    void tiresApplyCopiesSpringAndBounce() {
        RecordingMessages messages;
        dialogs::TiresDialog d(vehicle(model::kVehicleCar), messages);
        d.field(app::kTiresSpring)->setText(QStringLiteral("60"));
        d.field(app::kTiresBounce)->setText(QStringLiteral("10"));
        d.applyButton()->click();
        d.tireList()->setCurrentIndex(2);
        QCOMPARE(d.field(app::kTiresSpring)->text(), QStringLiteral("60"));
        QCOMPARE(d.field(app::kTiresBounce)->text(), QStringLiteral("10"));
        d.accept();
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(d.tires().spring[static_cast<std::size_t>(k)], 0.6f);
            QCOMPARE(d.tires().damping[static_cast<std::size_t>(k)], 0.9f);
        }
    }

    void tiresNoSkidDisablesSurfaceAndTireType() {
        RecordingMessages messages;
        dialogs::TiresDialog d(vehicle(model::kVehicleCar), messages);
        QVERIFY(d.field(app::kTiresSurface)->isEnabled());
        d.skidButtons()->button(0)->click();
        QVERIFY(!d.field(app::kTiresSurface)->isEnabled());
        QVERIFY(!d.slider(app::kTiresSurface)->isEnabled());
        for (auto* b : d.tireTypeButtons()->buttons())
            QVERIFY(!b->isEnabled());
        QVERIFY(d.field(app::kTiresBraking)->isEnabled());
        d.accept();
        QCOMPARE(d.tires().skid, 0);
        // The aircraft's tires open with No Skid.
        dialogs::TiresDialog plane(vehicle(model::kVehicleAircraft), messages);
        QVERIFY(!plane.field(app::kTiresSurface)->isEnabled());
    }

    void tiresRefusesTextThatIsNoNumber() {
        RecordingMessages messages;
        const model::ObjectRecord car = vehicle(model::kVehicleCar);
        dialogs::TiresDialog d(car, messages);
        d.show();
        d.field(app::kTiresSpring)->setText(QStringLiteral("soft"));
        d.accept();
        QVERIFY(d.isVisible());
        QCOMPARE(messages.messages, (std::vector<std::string>{"Please enter a number."}));
        QVERIFY(sameBytes(d.tires(), car.tires));
        d.reject();
    }

    // ---- Mass Properties ----
    void massShowsWorkingUnitsAndCouplings() {
        RecordingMessages messages;
        model::MassProperties m = vehicle(model::kVehicleCar).mass;
        m.rollPitchCoupling = -0.25f;
        dialogs::MassDialog english(m, 1, messages);
        QCOMPARE(english.windowTitle(), QStringLiteral("Mass Properties"));
        QStringList labels = labelTexts(english);
        for (const char* l : {"Mass (lb)", "Roll Inertia (lb-ft2)", "Pitch Inertia (lb-ft2)",
                              "Yaw Inertia (lb-ft2)", "Roll/Pitch Coupling (%)",
                              "Roll/Yaw Coupling (%)", "Pitch/Yaw Coupling (%)",
                              "Note: Products of inertia are percentages of the roll inertia."}) {
            QVERIFY2(labels.contains(QString::fromUtf8(l)), l);
        }
        QCOMPARE(english.field(app::kRollPitchCouplingField)->text(), QStringLiteral("-25"));
        QCOMPARE(english.couplingSlider(0)->value(), -25);
        QCOMPARE(english.couplingSlider(0)->minimum(), -100);
        english.couplingSlider(2)->setValue(40);
        QCOMPARE(english.field(app::kPitchYawCouplingField)->text(), QStringLiteral("40"));
        checkKeyboardAndNames(english);
        screenshot(english, "mass_properties_dialog.png");

        dialogs::MassDialog metric(m, 0, messages);
        labels = labelTexts(metric);
        QVERIFY(labels.contains(QStringLiteral("Mass (kg)")));
        QVERIFY(labels.contains(QStringLiteral("Yaw Inertia (kg-m2)")));
    }

    void massOkUntouchedKeepsTheBlockAndRefusesZero() {
        for (int english : {0, 1}) {
            RecordingMessages messages;
            const model::MassProperties m = vehicle(model::kVehicleAircraft).mass;
            dialogs::MassDialog d(m, english, messages);
            d.accept();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(sameBytes(d.mass(), m));
        }
        RecordingMessages messages;
        const model::MassProperties m = vehicle(model::kVehicleCar).mass;
        dialogs::MassDialog d(m, 1, messages);
        d.show();
        d.field(app::kPitchInertiaField)->setText(QStringLiteral("0"));
        d.accept();
        QVERIFY(d.isVisible());
        QCOMPARE(messages.messages, (std::vector<std::string>{
                                        "The mass and inertias must all be greater than zero."}));
        QVERIFY(sameBytes(d.mass(), m));
        d.field(app::kPitchInertiaField)->setText(QStringLiteral("3217"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.mass().inertia[4], 3217.0f * 0.031084863f);
    }

    // ---- Engine ----
    void engineRemembersPowerPerTypeAndShowsNewtons() {
        RecordingMessages messages;
        const model::ObjectRecord jet = vehicle(model::kVehicleAircraft);
        dialogs::EngineDialog d(jet, 1, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Engine"));
        QCOMPARE(d.engineButtons()->checkedId(), int(model::kEngineJet));
        QCOMPARE(d.engineButtons()->button(2)->text(), QStringLiteral("Jet (lbf)"));
        QCOMPARE(d.engineButtons()->button(7)->text(), QStringLiteral("Helicopter (N/A)"));
        QCOMPARE(d.powerField()->text(), QStringLiteral("30000.0"));
        d.powerField()->setText(QStringLiteral("25000"));
        d.engineButtons()->button(model::kEngineCar)->click();
        QCOMPARE(d.powerField()->text(), QStringLiteral("150.0"));
        d.engineButtons()->button(model::kEngineJet)->click();
        QCOMPARE(d.powerField()->text(), QStringLiteral("25000.0"));
        checkKeyboardAndNames(d);
        screenshot(d, "engine_dialog.png");
        d.accept();
        QCOMPARE(d.engineType(), int(model::kEngineJet));
        QCOMPARE(d.enginePower(), 25000.0f);

        dialogs::EngineDialog metric(jet, 0, messages);
        QCOMPARE(metric.engineButtons()->button(2)->text(), QStringLiteral("Jet (N)"));
        QCOMPARE(metric.engineButtons()->button(9)->text(), QStringLiteral("Spacecraft (N)"));
        QCOMPARE(metric.powerField()->text(), QStringLiteral("133446.7"));
        metric.accept();
        QCOMPARE(metric.enginePower(), jet.enginePower);
    }

    // ---- Aerodynamics ----
    void aeroFieldsFollowTheModel() {
        RecordingMessages messages;
        const model::AeroData aero = vehicle(model::kVehicleAircraft).aero;
        dialogs::AeroDialog d(aero, 1.0f, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Aerodynamics"));
        const QStringList labels = labelTexts(d);
        for (const char* l : {"Span (ft)", "Area (sq. ft)", "Aspect Ratio", "Initial AOA (deg)",
                              "Lift/AOA", "Drag (CL\u00b2)", "Side/Rudder"}) {
            QVERIFY2(labels.contains(QString::fromUtf8(l)), l);
        }
        const QStringList groups = groupTitles(d);
        for (const char* g :
             {"Lift", "Drag", "Pitching Moment", "Rolling Moment", "Yawing Moment", "Side Force"}) {
            QVERIFY2(groups.contains(QString::fromLatin1(g)), g);
        }
        QCOMPARE(d.field(app::kAeroSpanField)->text(), QStringLiteral("42.8000"));
        QVERIFY(d.field(app::kAeroCoefficientField + 23)->isEnabled());
        checkKeyboardAndNames(d);
        screenshot(d, "aerodynamics_dialog.png");
        d.modelButtons()->button(model::kAero747)->click();
        QVERIFY(!d.field(app::kAeroSpanField)->isEnabled());
        QVERIFY(!d.field(app::kAeroCoefficientField + 23)->isEnabled());
        d.accept();
        QCOMPARE(d.aero().aeroModel, int(model::kAero747));
        model::AeroData expected = aero;
        expected.aeroModel = model::kAero747;
        QVERIFY(sameBytes(d.aero(), expected));
    }

    // ---- Collisions ----
    void collisionsEnableTheInteractiveGroupOnlyForAnInteractiveObject() {
        RecordingMessages messages;
        const model::ObjectRecord car = vehicle(model::kVehicleCar);
        model::ObjectRecord rock = vehicle(model::kVehicleMotorcycle);
        rock.role = model::kRoleStatic;
        dialogs::CollisionDialog withRock(car, &rock, messages);
        QCOMPARE(withRock.windowTitle(), QStringLiteral("Collisions"));
        QVERIFY(!withRock.interactiveGroup()->isEnabled());
        QCOMPARE(withRock.field(app::kCollisionInteractiveField)->text(), QStringLiteral("0"));
        QCOMPARE(withRock.field(app::kCollisionSimulatedField)->text(), QStringLiteral("40"));
        QCOMPARE(withRock.slider(app::kCollisionSimulatedField + 1)->value(), 80);
        withRock.accept();
        QVERIFY(!withRock.partner().has_value());
        QVERIFY(sameBytes(withRock.simulated(), car));

        model::ObjectRecord other = rock;
        other.role = model::kRoleInteractive;
        dialogs::CollisionDialog d(car, &other, messages);
        QVERIFY(d.interactiveGroup()->isEnabled());
        QCOMPARE(groupTitles(d), (QStringList{"Simulated Object", "Interactive Object"}));
        checkKeyboardAndNames(d);
        screenshot(d, "collisions_dialog.png");
        d.slider(app::kCollisionInteractiveField + 2)->setValue(90);
        d.field(app::kCollisionSimulatedField)->setText(QStringLiteral("150"));
        d.accept();
        QCOMPARE(d.simulated().collisionSpring, 1.0f);
        QVERIFY(d.partner().has_value());
        QCOMPARE(d.partner()->collisionFriction, 0.9f);
    }

    // ---- Appearance ----
    void appearanceIsReachableAndNamed() {
        dialogs::AppearanceDialog d(12, 1);
        checkKeyboardAndNames(d);
        QCOMPARE(d.appearance(), (app::Appearance{12, 1}));
        screenshot(d, "appearance_dialog.png");
    }
};

QTEST_MAIN(CustomizeDialogsTest)
#include "test_customize_dialogs.moc"
