// Object > Customize > Effectors... on the offscreen platform: the template
// dialog of a fitting vehicle, the full "Effectors" dialog, More and Less
// between them, and what OK, Cancel and a refusal leave in the document.
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "dialogs/effector_template_dialog.h"
#include "dialogs/effectors_dialog.h"
#include "geometry/working_files.h"
#include "gui/customize_commands.h"
#include "gui/main_window.h"
#include "gui_test_support.h"
#include "model/object_model.h"
#include "model/template.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using kv::app::CommandId;
namespace app = kv::app;
namespace model = kv::model;
namespace dialogs = kv::dialogs;

namespace {

struct Rig {
    kv::guitest::RecordingMessages messages;
    kv::NullProgress progress;
    kv::guitest::ScriptedFiles files;
    kv::guitest::ScriptedQuestions questions;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    app::Document doc{app::DocumentPorts{messages, progress, files, questions, *folder}};
    kv::gui::MainWindow window{messages};
    kv::gui::CustomizeCommands commands{window, doc, messages};
    int redraws = 0;

    Rig() {
        doc.allocate(app::kFactoryMemory, false, std::nullopt);
        commands.setRedraw([this] { ++redraws; });
        commands.install();
        doc.setModified(false);
        doc.run().slotCount = 0;
    }
    bool wasReset() { return doc.run().slotCount > 0; }
    void runEffectors() { window.runCommand(int(CommandId::CustomizeEffectors)); }
};

/// Answers the next modal dialog of type D.
template <typename D> void answer(std::function<void(D&)> work) {
    kv::guitest::whenModalShown([work](QWidget* modal) {
        auto* d = qobject_cast<D*>(modal);
        QVERIFY2(d != nullptr, qPrintable(modal->windowTitle()));
        work(*d);
    });
}

void screenshot(QWidget& d, const char* name) {
    const QByteArray dir = qgetenv("KV_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    d.show();
    d.adjustSize();
    QTest::qWait(20);
    QVERIFY(d.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(name))));
}

model::ObjectRecord templateRecord(int type) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = type;
    model::applyTemplate(r);
    return r;
}

} // namespace

class EffectorDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void commandIsEnabledAndOpensTheCarTemplate() {
        Rig rig;
        QVERIFY(rig.window.hasCommandHandler(int(CommandId::CustomizeEffectors)));
        bool seen = false;
        answer<dialogs::EffectorTemplateDialog>([&seen](dialogs::EffectorTemplateDialog& d) {
            seen = true;
            QCOMPARE(d.windowTitle(), QStringLiteral("Car Effector Template"));
            QCOMPARE(d.field(app::kCarSteeringLock)->accessibleName(),
                     QStringLiteral("Steering Lock (deg)"));
            d.field(app::kCarSteeringLock)->setText(QStringLiteral("40"));
            d.field(app::kCarTrack)->setText(QStringLiteral("1.5"));
            d.accept();
        });
        rig.runEffectors();
        QVERIFY(seen);
        const model::ObjectRecord& car = rig.doc.object(0);
        QCOMPARE(car.effectors[0].scales[5], 40.0f);
        QCOMPARE(car.effectors[1].scales[5], 40.0f);
        QVERIFY(std::fabs(car.effectors[1].offsets[1] - 2.4606f) < 1e-4f);
        QVERIFY(rig.doc.modified());
        QVERIFY(rig.wasReset());
        QCOMPARE(rig.redraws, 1);
    }

    void templateRefusalKeepsTheDialogOpen() {
        Rig rig;
        kv::guitest::RecordingMessages local;
        dialogs::EffectorTemplateDialog d(rig.doc.object(0), 1.0f, local);
        d.field(app::kCarTireWidth)->setText(QStringLiteral("wide"));
        d.show();
        d.accept();
        QVERIFY(d.isVisible());
        QCOMPARE(local.messages.size(), std::size_t(1));
        QCOMPARE(local.messages[0], std::string("Please enter a number."));
        QVERIFY(d.field(app::kCarTireWidth)->hasFocus() || !QApplication::focusWidget());
    }

    void moreOpensTheEditorWhoseOkWritesBack() {
        Rig rig;
        rig.doc.preferences().lengthUnitFactor = 1.0f;
        rig.doc.preferences().rightHandedAxes = 1;
        answer<dialogs::EffectorTemplateDialog>([](dialogs::EffectorTemplateDialog& d) {
            answer<dialogs::EffectorsDialog>([](dialogs::EffectorsDialog& e) {
                QCOMPARE(e.windowTitle(), QStringLiteral("Effectors"));
                QCOMPARE(e.editor().selected(), 0);
                QCOMPARE(e.tree()->topLevelItemCount(), 4);
                QCOMPARE(e.nameField()->text(), QStringLiteral("FrontLeftTire"));
                QCOMPARE(e.positionField(2)->accessibleName(), QStringLiteral("Down (ft)"));
                e.tree()->setCurrentItem(e.itemOf(1));
                QCOMPARE(e.nameField()->text(), QStringLiteral("FrontRightTire"));
                e.nameField()->setText(QStringLiteral("Right Front"));
                e.radiusField()->setText(QStringLiteral("1.25"));
                e.modeButtons()->button(1)->click();
                e.button(QStringLiteral("OK"))->click();
            });
            d.moreButton()->click();
        });
        rig.runEffectors();
        const model::ObjectRecord& car = rig.doc.object(0);
        QCOMPARE(model::recordName(car.effectors[1].name), std::string("Right Front"));
        QCOMPARE(car.effectors[1].radius, 1.25f);
        QCOMPARE(car.effectors[1].drivers[model::kDofDown], 22); // numbered again on OK
        QCOMPARE(rig.doc.effectorEditorMemory().selected, 1);
        QCOMPARE(rig.doc.effectorEditorMemory().relativeMode, 1);
        QVERIFY(rig.doc.modified());
        QVERIFY(rig.wasReset());
    }

    void cancelAndLessWriteNothing() {
        Rig rig;
        const model::ObjectRecord before = rig.doc.object(0);
        // Template > More > editor edits > Less > template > Cancel.
        int templates = 0;
        std::function<void(dialogs::EffectorTemplateDialog&)> second =
            [&templates](dialogs::EffectorTemplateDialog& d) {
                ++templates;
                d.reject();
            };
        answer<dialogs::EffectorTemplateDialog>(
            [&templates, second](dialogs::EffectorTemplateDialog& d) {
                ++templates;
                answer<dialogs::EffectorsDialog>([second](dialogs::EffectorsDialog& e) {
                    e.button(QStringLiteral("New"))->click();
                    e.nameField()->setText(QStringLiteral("Spoiler"));
                    answer<dialogs::EffectorTemplateDialog>(second);
                    e.button(QStringLiteral("Less"))->click();
                });
                d.field(app::kCarTireRadius)->setText(QStringLiteral("2"));
                d.moreButton()->click();
            });
        rig.runEffectors();
        QCOMPARE(templates, 2);
        QCOMPARE(rig.doc.object(0).effectorCount, before.effectorCount);
        QCOMPARE(rig.doc.object(0).effectors[0].radius, before.effectors[0].radius);
        QVERIFY(!rig.doc.modified());
        QVERIFY(!rig.wasReset());
    }

    void editorRefusalsKeepItOpenWithTheMessage() {
        kv::guitest::RecordingMessages messages;
        model::ObjectRecord car = templateRecord(model::kVehicleCar);
        car.effectors[1].offsets[0] = 3.0f; // no longer fits: Less refuses
        dialogs::EffectorsDialog d(car, app::WorkingUnits{1.0f, 1, 1}, 0, 0, messages);
        d.show();
        d.button(QStringLiteral("Less"))->click();
        QVERIFY(d.isVisible());
        QCOMPARE(messages.messages.back(),
                 std::string("The effectors no longer fit into the current template."));

        d.kindButtons()->button(model::kEffectorBasic)->click(); // a basic effector that rolls
        d.button(QStringLiteral("OK"))->click();
        QVERIFY(d.isVisible());
        QCOMPARE(messages.messages.back(),
                 std::string("The \"FrontLeftTire\" effector is a strut and is not attached to "
                             "a tire or skid effector."));
        QCOMPARE(d.driverList(model::kDofDown)->currentText(), QStringLiteral("Strut Compression"));
    }

    void linkModeShowsTheStatusAndEscEndsIt() {
        kv::guitest::RecordingMessages messages;
        model::ObjectRecord bike = templateRecord(model::kVehicleMotorcycle);
        dialogs::EffectorsDialog d(bike, app::WorkingUnits{}, 0, 1, messages);
        d.show();
        // Every item expanded, collapsing refused.
        QTreeWidgetItem* pivot = d.itemOf(0);
        QVERIFY(pivot->isExpanded());
        d.tree()->collapseItem(pivot);
        QVERIFY(pivot->isExpanded());

        d.button(QStringLiteral("Link"))->click();
        QCOMPARE(d.statusText()->text(),
                 QStringLiteral("Select the parent effector. Press ESC to cancel."));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QCOMPARE(d.statusText()->text(), QString());

        d.button(QStringLiteral("Link"))->click();
        d.tree()->setCurrentItem(d.itemOf(2)); // under its own grandchild
        QTest::qWait(10);
        QCOMPARE(messages.messages.back(),
                 std::string("The \"FrontForkPivot\" effector cannot be a child of the "
                             "\"FrontFork\" effector because it introduces a circular reference."));
        QCOMPARE(d.editor().working().effectors[0].parent, -1);
        QCOMPARE(d.statusText()->text(), QString());
        QCOMPARE(d.itemOf(0)->parent(), nullptr);
    }

    void everyControlIsNamed() {
        kv::guitest::RecordingMessages messages;
        dialogs::EffectorsDialog d(templateRecord(model::kVehicleCar), app::WorkingUnits{}, 0, 0,
                                   messages);
        QCOMPARE(d.positionField(2)->accessibleName(), QStringLiteral("Up (m)"));
        QCOMPARE(d.angleField(2)->accessibleName(), QStringLiteral("Yaw (deg)"));
        QCOMPARE(d.scaleField(model::kDofDown)->accessibleName(), QStringLiteral("Up Scale"));
        QCOMPARE(d.driverList(model::kDofYaw)->accessibleName(), QStringLiteral("Yaw Driver"));
        QCOMPARE(d.driverList(model::kDofYaw)->currentText(), QStringLiteral("Tire Steer"));
        for (QLineEdit* f : d.findChildren<QLineEdit*>())
            QVERIFY2(!f->accessibleName().isEmpty(), qPrintable(f->objectName()));
        for (QComboBox* c : d.findChildren<QComboBox*>())
            QVERIFY(!c->accessibleName().isEmpty());
        for (const char* text :
             {"OK", "Cancel", "Less", "Copy", "Clear", "Link", "New", "Delete", "Unlink"})
            QVERIFY2(d.button(QString::fromLatin1(text)) != nullptr, text);
    }

    void screenshots() {
        kv::guitest::RecordingMessages messages;
        dialogs::EffectorsDialog editor(templateRecord(model::kVehicleCar), app::WorkingUnits{}, 1,
                                        0, messages);
        screenshot(editor, "effectors_dialog_car.png");
        for (const auto& [type, name] : {std::pair{0, "car_effector_template.png"},
                                         std::pair{1, "motorcycle_effector_template.png"},
                                         std::pair{2, "aircraft_effector_template.png"},
                                         std::pair{3, "helicopter_effector_template.png"}}) {
            dialogs::EffectorTemplateDialog d(templateRecord(type), kv::kFeetPerMetre, messages);
            screenshot(d, name);
        }
    }
};

QTEST_MAIN(EffectorDialogsTest)
#include "test_effector_dialogs.moc"
