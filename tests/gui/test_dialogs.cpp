// The Transform, Appearance, "Save First?" and DXF open dialogs: fields,
// labels, validation and what OK and Cancel hand back.
#include "dialogs/appearance_dialog.h"
#include "dialogs/dxf_open_dialog.h"
#include "dialogs/save_first_dialog.h"
#include "dialogs/slider_link.h"
#include "dialogs/transform_dialog.h"
#include "geometry/dxf_transform.h"
#include "gui_test_support.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using kv::app::WorkingUnits;
using kv::dialogs::TransformDialog;
using kv::model::GeometryTransform;

namespace {

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

QPushButton* buttonNamed(QWidget& w, const QString& text) {
    for (auto* b : w.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

GeometryTransform sample() {
    GeometryTransform t;
    t.rightHanded = 0;
    t.fileUnit = 0.3048037f;
    t.rotate = {10.0f, 20.0f, 30.0f}; // roll, pitch, yaw
    t.translate = {1.0f, 2.0f, 3.0f};
    t.scale = {1.5f, 2.0f, 0.5f};
    return t;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void transformShowsItsFields() {
        kv::guitest::RecordingMessages messages;
        TransformDialog d(sample(), WorkingUnits{}, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Transform"));
        const QStringList labels = labelTexts(d);
        for (const char* l : {"Yaw (deg)", "Pitch (deg)", "Roll (deg)", "Longitudinal", "Lateral",
                              "Vertical", "Forward (m)", "Right (m)", "Up (m)"}) {
            QVERIFY2(labels.contains(QString::fromLatin1(l)), l);
        }
        const QStringList groups = groupTitles(d);
        for (const char* g :
             {"Rotate", "Scale", "Translate", "File Units", "File Coordinate System"}) {
            QVERIFY2(groups.contains(QString::fromLatin1(g)), g);
        }
        const QStringList expected{"30.0000", "20.0000", "10.0000", "1.5000", "2.0000",
                                   "0.5000",  "1.0000",  "2.0000",  "-3.0000"};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(d.field(i)->text(), expected[i]);
        QCOMPARE(d.unitButtons()->checkedButton()->text(), QStringLiteral("ft"));
        QCOMPARE(d.handButtons()->checkedButton()->text(), QStringLiteral("Left Hand"));
        QStringList units;
        for (auto* b : d.unitButtons()->buttons())
            units << b->text();
        QCOMPARE(units, (QStringList{"m", "cm", "mm", "yd", "ft", "in"}));
        QVERIFY(buttonNamed(d, QStringLiteral("Reset")) != nullptr);
    }

    void transformTranslationInWorkingUnits() {
        kv::guitest::RecordingMessages messages;
        WorkingUnits feet;
        feet.lengthUnitFactor = 1.0f;
        feet.rightHandedAxes = 1;
        GeometryTransform t;
        t.translate = {3.048037f, 0.0f, 0.3048037f};
        TransformDialog d(t, feet, messages);
        QCOMPARE(d.translateLabel(0)->text(), QStringLiteral("Forward (ft)"));
        QCOMPARE(d.translateLabel(2)->text(), QStringLiteral("Down (ft)"));
        QCOMPARE(d.field(6)->text(), QStringLiteral("10.0000"));
        QCOMPARE(d.field(8)->text(), QStringLiteral("1.0000"));
        d.field(7)->setText(QStringLiteral("2"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(std::abs(d.transform().translate[1] - 0.6096074f) < 1e-6f);
        QVERIFY(std::abs(d.transform().translate[2] - 0.3048037f) < 1e-6f);

        // Left-handed working axes: "Up", entered values are negated.
        TransformDialog up(GeometryTransform{}, WorkingUnits{}, messages);
        QCOMPARE(up.translateLabel(2)->text(), QStringLiteral("Up (m)"));
        up.field(8)->setText(QStringLiteral("10"));
        up.accept();
        QVERIFY(std::abs(up.transform().translate[2] + 10.0f) < 1e-4f);
    }

    void transformOkStoresTheEditedValues() {
        kv::guitest::RecordingMessages messages;
        TransformDialog d(GeometryTransform{}, WorkingUnits{}, messages);
        d.field(0)->setText(QStringLiteral("90")); // yaw
        d.field(2)->setText(QStringLiteral("-5")); // roll
        d.field(5)->setText(QStringLiteral("3"));  // vertical scale
        d.unitButtons()->button(2)->click();       // mm
        d.handButtons()->button(0)->click();       // left hand
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const GeometryTransform& t = d.transform();
        QCOMPARE(t.rotate[0], -5.0f);
        QCOMPARE(t.rotate[2], 90.0f);
        QCOMPARE(t.scale[2], 3.0f);
        QCOMPARE(t.fileUnit, 0.001f);
        QCOMPARE(t.rightHanded, 0);
        QVERIFY(messages.messages.empty());
    }

    void transformOffersZUpAsItsOwnChoice() {
        kv::guitest::RecordingMessages messages;
        TransformDialog d(GeometryTransform{}, WorkingUnits{}, messages);
        QStringList systems;
        for (auto* b : d.handButtons()->buttons())
            systems << b->text();
        QCOMPARE(systems, (QStringList{"Right Hand", "Left Hand", "Z Up"}));
        // Z Up with the user's own yaw: stored as a right-hand turn, shown as chosen.
        d.handButtons()->button(2)->click();
        d.field(0)->setText(QStringLiteral("30"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const GeometryTransform& t = d.transform();
        QCOMPARE(t.rightHanded, 1);
        QCOMPARE(kv::geom::transformAxes(t), kv::geom::DxfAxes::ZUp);
        TransformDialog again(t, WorkingUnits{}, messages);
        QCOMPARE(again.handButtons()->checkedButton()->text(), QStringLiteral("Z Up"));
        QCOMPARE(again.field(0)->text(), QStringLiteral("30.0000"));
        QCOMPARE(again.field(1)->text(), QStringLiteral("0.0000"));
        QCOMPARE(again.field(2)->text(), QStringLiteral("0.0000"));
        // Back to right hand: the same yaw, no z-up turn.
        again.handButtons()->button(1)->click();
        again.accept();
        QCOMPARE(again.transform().rotate, (std::array<float, 3>{0, 0, 30}));
    }

    void dxfOpenProposesTheSystemTheFileNames() {
        QTemporaryDir dir;
        const auto write = [&](const char* name, const char* header) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(header);
            f.write("  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
        };
        write("zup.dxf", "999\nDXF file created by Kestrovane\n999\nZ Up Coordinate System in Meters\n");
        write("left.dxf", "999\nDXF file created by Kestrovane\n999\nLeft Hand Coordinate System in Feet\n");
        write("plain.dxf", "999\nfrom elsewhere\n");
        kv::guitest::RecordingMessages messages;
        kv::dialogs::DxfOpenRequest request;
        request.file.title = "Open DXF Terrain File:";
        kv::dialogs::DxfOpenDialog d(request, messages);
        d.setDirectory(dir.path());
        const auto axesOf = [&](const char* name) {
            d.selectFile(dir.filePath(QString::fromLatin1(name)));
            emit d.currentChanged(dir.filePath(QString::fromLatin1(name)));
            return kv::geom::transformAxes(d.transform());
        };
        QCOMPARE(axesOf("zup.dxf"), kv::geom::DxfAxes::ZUp);
        QCOMPARE(axesOf("left.dxf"), kv::geom::DxfAxes::LeftHand);
        // A file that names none keeps the transform the dialog started from.
        QCOMPARE(axesOf("plain.dxf"), kv::geom::DxfAxes::RightHand);
        // Once the user has set the transform, the file's comment no longer changes it.
        kv::guitest::whenModalShown([](QWidget* modal) {
            auto* t = qobject_cast<TransformDialog*>(modal);
            QVERIFY(t != nullptr);
            t->handButtons()->button(0)->click(); // left hand
            t->accept();
        });
        d.editTransform();
        QCOMPARE(axesOf("zup.dxf"), kv::geom::DxfAxes::LeftHand);
    }

    void transformRefusesZeroScaleAndBadNumbers() {
        struct Case {
            int field;
            const char* text;
            const char* message;
        };
        const Case cases[] = {
            {3, "0", "The scale factor must not equal zero."},
            {4, "0.0000", "The scale factor must not equal zero."},
            {5, "-0", "The scale factor must not equal zero."},
            {1, "abc", "Please enter a number."},
        };
        for (const Case& c : cases) {
            kv::guitest::RecordingMessages messages;
            GeometryTransform original = sample();
            TransformDialog d(original, WorkingUnits{}, messages);
            d.show();
            d.field(c.field)->setText(QString::fromLatin1(c.text));
            d.accept();
            QVERIFY2(d.isVisible(), c.text);
            QCOMPARE(messages.messages.size(), std::size_t(1));
            QCOMPARE(messages.messages[0], std::string(c.message));
            QCOMPARE(d.transform().scale, original.scale);
            d.reject();
        }
    }

    void transformResetGivesDefaults() {
        kv::guitest::RecordingMessages messages;
        TransformDialog d(sample(), WorkingUnits{}, messages);
        buttonNamed(d, QStringLiteral("Reset"))->click();
        const QStringList expected{"0.0000", "0.0000", "0.0000", "1.0000", "1.0000",
                                   "1.0000", "0.0000", "0.0000", "0.0000"};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(d.field(i)->text(), expected[i]);
        QCOMPARE(d.unitButtons()->checkedButton()->text(), QStringLiteral("m"));
        QCOMPARE(d.handButtons()->checkedButton()->text(), QStringLiteral("Right Hand"));
        d.accept();
        QCOMPARE(d.transform().fileUnit, 1.0f);
        QCOMPARE(d.transform().rightHanded, 1);
        QCOMPARE(d.transform().rotate, (std::array<float, 3>{0, 0, 0}));
    }

    void transformKeepsAnUnknownFileUnit() {
        kv::guitest::RecordingMessages messages;
        GeometryTransform t;
        t.fileUnit = 0.5f;
        TransformDialog d(t, WorkingUnits{}, messages);
        QVERIFY(d.unitButtons()->checkedButton() == nullptr);
        d.accept();
        QCOMPARE(d.transform().fileUnit, 0.5f);
    }

    void appearanceOffersTheColoursAndTransparencies() {
        kv::dialogs::AppearanceDialog d(13, 1);
        QCOMPARE(d.windowTitle(), QStringLiteral("Appearance"));
        const QList<QAbstractButton*> colours = d.colorButtons()->buttons();
        QCOMPARE(colours.size(), 20);
        const QStringList names{"Red",     "Pink",  "Brown",     "Clay",     "Yellow",
                                "Orange",  "Tan",   "Gold",      "Green",    "Lime",
                                "Olive",   "Teal",  "Blue",      "Sky Blue", "Purple",
                                "Magenta", "Black", "Dark Gray", "Gray",     "White"};
        for (int code = 0; code < 20; ++code) {
            QCOMPARE(d.colorButtons()->button(code)->text(), names[code]);
        }
        QCOMPARE(d.transparencyButtons()->button(0)->text(), QStringLiteral("Solid"));
        QCOMPARE(d.transparencyButtons()->button(1)->text(), QStringLiteral("Smoky"));
        QCOMPARE(d.transparencyButtons()->button(2)->text(), QStringLiteral("Clear"));
        QCOMPARE(d.color(), 13);
        QCOMPARE(d.transparency(), 1);
        QVERIFY(labelTexts(d).contains(QStringLiteral(
            "Note: Transparency may not work on all computers, requires thousands or millions of "
            "colors and takes more time to render.")));
        d.colorButtons()->button(19)->click();
        d.transparencyButtons()->button(2)->click();
        QCOMPARE(d.color(), 19);
        QCOMPARE(d.transparency(), 2);
    }

    void appearanceKeepsCodesWithoutAButton() {
        kv::dialogs::AppearanceDialog d(42, -1);
        QVERIFY(d.colorButtons()->checkedButton() == nullptr);
        QCOMPARE(d.color(), 42);
        QCOMPARE(d.transparency(), -1);
    }

    void saveFirstAnswers() {
        struct Case {
            const char* button;
            bool proceed, save;
        };
        const Case cases[] = {
            {"Save", true, true}, {"Don't Save", true, false}, {"Cancel", false, false}};
        for (const Case& c : cases) {
            kv::dialogs::SaveFirstDialog d(
                QStringLiteral("Would you like to save changes to \"Project\" first?"));
            QCOMPARE(d.windowTitle(), QStringLiteral("Save First?"));
            QVERIFY(buttonNamed(d, QStringLiteral("Save"))->isDefault());
            buttonNamed(d, QString::fromLatin1(c.button))->click();
            QCOMPARE(d.answer().proceed, c.proceed);
            QCOMPARE(d.answer().save, c.save);
        }
        kv::dialogs::SaveFirstDialog closed(QStringLiteral("x"));
        closed.show();
        closed.close();
        QVERIFY(!closed.answer().proceed);
    }

    void dxfOpenButtonsTakeEffectOnlyOnOk() {
        kv::guitest::RecordingMessages messages;
        kv::dialogs::DxfOpenRequest request;
        request.file.title = "Open DXF Scenery File:";
        request.file.filter = "DXF Files (*.dxf;*.DXF);;All Files (*.*)";
        kv::dialogs::DxfOpenDialog d(request, messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Open DXF Scenery File:"));
        QCOMPARE(d.nameFilters(), (QStringList{"DXF Files (*.dxf *.DXF)", "All Files (*)"}));
        QCOMPARE(d.transformButton()->text(), QStringLiteral("Transform..."));
        QCOMPARE(d.colorButton()->text(), QStringLiteral("Color..."));
        QVERIFY(d.colorButton()->isEnabled());

        // Transform... then OK in the Transform dialog: the new yaw is kept.
        kv::guitest::whenModalShown([](QWidget* modal) {
            auto* t = qobject_cast<TransformDialog*>(modal);
            QVERIFY(t != nullptr);
            t->field(0)->setText(QStringLiteral("45"));
            t->accept();
        });
        d.editTransform();
        QCOMPARE(d.choice().transform.rotate[2], 45.0f);

        // Color... then Cancel: the colour stays.
        kv::guitest::whenModalShown([](QWidget* modal) {
            auto* a = qobject_cast<kv::dialogs::AppearanceDialog*>(modal);
            QVERIFY(a != nullptr);
            a->colorButtons()->button(0)->click();
            a->reject();
        });
        d.editColor();
        QCOMPARE(d.choice().color, kv::model::kColorWhite);

        kv::guitest::whenModalShown([](QWidget* modal) {
            auto* a = qobject_cast<kv::dialogs::AppearanceDialog*>(modal);
            QVERIFY(a != nullptr);
            a->colorButtons()->button(8)->click();
            a->transparencyButtons()->button(1)->click();
            a->accept();
        });
        d.editColor();
        QCOMPARE(d.choice().color, 8);
        QCOMPARE(d.choice().transparency, 1);

        // Cancelling the file dialog hands nothing back.
        kv::guitest::whenModalShown(
            [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QVERIFY(!kv::dialogs::runDxfOpenDialog(request, messages, nullptr).has_value());
    }

    void dxfTerrainHasNoColor() {
        kv::guitest::RecordingMessages messages;
        kv::dialogs::DxfOpenRequest request;
        request.file.title = "Open DXF Terrain File:";
        request.colorEnabled = false;
        kv::dialogs::DxfOpenDialog d(request, messages);
        QVERIFY(!d.colorButton()->isEnabled());
        QVERIFY(d.transformButton()->isEnabled());
    }

    // A slider follows its field (truncated, clamped, garbage ignored) and writes
    // position ÷ scale back with the pair's decimals; neither side echoes.
    void sliderLinkMirrorsItsField() {
        QWidget host;
        auto* slider = new QSlider(Qt::Horizontal, &host);
        auto* field = new QLineEdit(&host);
        slider->setRange(-100, 100);
        kv::dialogs::SliderLink percent(slider, field);
        field->setText(QStringLiteral("-25"));
        QCOMPARE(slider->value(), -25);
        field->setText(QStringLiteral("37.9"));
        QCOMPARE(slider->value(), 37);
        QCOMPARE(field->text(), QStringLiteral("37.9"));
        field->setText(QStringLiteral("-37.9"));
        QCOMPARE(slider->value(), -37);
        field->setText(QStringLiteral("500"));
        QCOMPARE(slider->value(), 100);
        field->setText(QStringLiteral("abc"));
        QCOMPARE(slider->value(), 100);
        slider->setValue(12);
        QCOMPARE(field->text(), QStringLiteral("12"));

        // Tenths of a g: the slider is ten times the field.
        auto* gSlider = new QSlider(Qt::Horizontal, &host);
        auto* gField = new QLineEdit(&host);
        gSlider->setRange(-20, 40);
        gField->setText(QStringLiteral("1.0000"));
        kv::dialogs::SliderLink g(gSlider, gField, 10.0, 4);
        g.syncSlider();
        QCOMPARE(gSlider->value(), 10);
        gSlider->setValue(-15);
        QCOMPARE(gField->text(), QStringLiteral("-1.5000"));
        QCOMPARE(kv::dialogs::SliderLink::positionFor(0.99999, 10.0, -20, 40), 9);
        QCOMPARE(kv::dialogs::SliderLink::positionFor(1e300 * 1e300, 1.0, 0, 9), 9);
    }
};

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
