// The Simulation menu's condition dialogs and the Preferences menu's dialogs
// run from their menu items on a document: what OK stores, what follows it
// (reset, redraw, re-layout, new project) and that Cancel changes nothing.
#include "app/camera/camera_settings.h"
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "common/message_wrap.h"
#include "dialogs/camera_dialog.h"
#include "dialogs/controller_dialog.h"
#include "dialogs/external_force_dialog.h"
#include "dialogs/gravity_dialog.h"
#include "dialogs/grid_dialog.h"
#include "dialogs/initial_conditions_dialog.h"
#include "dialogs/memory_dialog.h"
#include "dialogs/wind_dialog.h"
#include "dialogs/working_units_dialog.h"
#include "geometry/working_files.h"
#include "gui/condition_commands.h"
#include "gui/desktop_app.h"
#include "gui/main_window.h"
#include "gui/preference_commands.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>

// The run state names its slot array "slots", which Qt defines as a keyword.
#undef slots

using kv::SaveAnswer;
using kv::app::CommandId;

namespace {

/// A document behind a main frame with both command sets, as the program wires them.
struct Rig {
    kv::guitest::RecordingMessages messages;
    kv::NullProgress progress;
    kv::guitest::ScriptedFiles files;
    kv::guitest::ScriptedQuestions questions;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    kv::app::Document doc{kv::app::DocumentPorts{messages, progress, files, questions, *folder}};
    kv::gui::MainWindow window{messages};
    kv::gui::ConditionCommands conditions{window, doc, messages};
    kv::gui::PreferenceCommands preferences{window, doc.preferences(), "/nonexistent", messages};
    int redraws = 0;
    int viewChanges = 0;
    bool joystick = false;
    std::string gamepad; ///< name of the pad connected, empty for none

    Rig() {
        doc.allocate(kv::app::kFactoryMemory, false, std::nullopt);
        conditions.setRedraw([this] { ++redraws; });
        conditions.install();
        preferences.setOnViewsChanged([this] { ++viewChanges; });
        preferences.setJoystickProbe([this] { return joystick; });
        preferences.setGamepadProbe([this] { return gamepad; });
        preferences.setPhysicalMemory([] { return std::optional<std::int64_t>(4'000'000'000); });
        preferences.install();
        preferences.setDocument(doc);
    }

    /// Runs `id` from its menu item; `answer` acts on the dialog of type D it opens.
    template <typename D> void run(CommandId id, std::function<void(D&)> answer) {
        QAction* action = window.commandAction(int(id));
        QVERIFY(action != nullptr);
        window.refreshCommandStates();
        QVERIFY(action->isEnabled());
        bool answered = false;
        kv::guitest::whenModalShown([&](QWidget* modal) {
            D* dialog = qobject_cast<D*>(modal);
            if (dialog == nullptr) {
                modal->close();
                return;
            }
            answered = true;
            answer(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        action->trigger();
        QVERIFY(answered);
    }
};

} // namespace

class ConditionCommandsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void theProgramOffersAllNine() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::gui::DesktopApp app(dir.path());
        QVERIFY(app.ready());
        app.window().refreshCommandStates();
        for (CommandId id : {CommandId::InitialConditions, CommandId::Wind, CommandId::Gravity,
                             CommandId::ExternalForce, CommandId::PreferencesWorkingUnits,
                             CommandId::PreferencesGrid, CommandId::PreferencesController,
                             CommandId::PreferencesCamera, CommandId::PreferencesMemory}) {
            QVERIFY2(app.window().commandAction(int(id))->isEnabled(),
                     qPrintable(app.window().commandAction(int(id))->text()));
        }
        // Gravity through the program's own wiring reaches the next run.
        kv::guitest::whenModalShown([](QWidget* modal) {
            auto* d = qobject_cast<kv::dialogs::GravityDialog*>(modal);
            QVERIFY(d != nullptr);
            d->row().field->setText(QStringLiteral("0.5"));
            d->accept();
        });
        app.window().runCommand(int(CommandId::Gravity));
        QCOMPARE(app.document().runSettings().environment.gravity, 16.085f);
    }

    void initialConditionsResetTheSimulationWithoutMarkingTheProject() {
        Rig rig;
        QCOMPARE(rig.window.commandAction(int(CommandId::InitialConditions))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+I")));
        rig.run<kv::dialogs::InitialConditionsDialog>(CommandId::InitialConditions, [](auto& d) {
            d.field(0)->setText(QStringLiteral("10")); // 10 m forward
            d.field(2)->setText(QStringLiteral("2"));  // 2 m up
            d.field(6)->setText(QStringLiteral("45")); // heading north-east
            d.accept();
        });
        const kv::model::InitialConditions& ic = rig.doc.object(0).initial;
        QVERIFY(std::abs(ic.position[0] - 32.808f) < 1e-3f);
        QVERIFY(std::abs(ic.position[2] - -6.5616f) < 1e-3f);
        QCOMPARE(ic.attitude[2], 45.0f);
        // The next run starts there: the simulation was reset to it.
        const kv::sim::SimObject& s = rig.doc.run().slots[0].sim;
        QVERIFY(std::abs(s.position[0] - 32.808f) < 1e-3f);
        QVERIFY(std::abs(s.yaw * 57.29578f - 45.0f) < 1e-3f);
        QCOMPARE(rig.redraws, 1);
        QVERIFY(!rig.doc.modified());
    }

    void initialConditionsLoadAsksForAMotionFile() {
        Rig rig;
        rig.files.answers.push_back(std::nullopt); // the file dialog cancelled
        rig.run<kv::dialogs::InitialConditionsDialog>(CommandId::InitialConditions, [](auto& d) {
            d.loadFromMotion();
            d.reject();
        });
        QCOMPARE(rig.files.requests.size(), std::size_t(1));
        QCOMPARE(rig.files.requests[0].title, std::string("Open Motion File:"));
        QCOMPARE(rig.redraws, 0);
    }

    void cancelChangesNothing() {
        Rig rig;
        const kv::sim::Environment before = rig.doc.environment();
        const kv::model::InitialConditions ic = rig.doc.object(0).initial;
        rig.run<kv::dialogs::WindDialog>(CommandId::Wind, [](auto& d) {
            d.steadyOn()->setChecked(true);
            d.speed().field->setText(QStringLiteral("20"));
            d.reject();
        });
        rig.run<kv::dialogs::GravityDialog>(CommandId::Gravity, [](auto& d) {
            d.row().slider->setValue(-20);
            d.reject();
        });
        rig.run<kv::dialogs::ExternalForceDialog>(CommandId::ExternalForce, [](auto& d) {
            d.field(3)->setText(QStringLiteral("100"));
            d.reject();
        });
        rig.run<kv::dialogs::InitialConditionsDialog>(CommandId::InitialConditions, [](auto& d) {
            d.field(0)->setText(QStringLiteral("100"));
            d.reject();
        });
        const kv::sim::Environment after = rig.doc.environment();
        QCOMPARE(after.windOn, before.windOn);
        QCOMPARE(after.windSpeed, before.windSpeed);
        QCOMPARE(after.gravity, before.gravity);
        QCOMPARE(after.externalForce.force[0], before.externalForce.force[0]);
        QCOMPARE(rig.doc.object(0).initial.position[0], ic.position[0]);
        QCOMPARE(rig.redraws, 0);
    }

    void windGravityAndForceAreStoredInTheEnvironment() {
        Rig rig;
        rig.run<kv::dialogs::WindDialog>(CommandId::Wind, [](auto& d) {
            d.steadyOn()->setChecked(true);
            d.speed().field->setText(QStringLiteral("36")); // km/h: metres are the working unit
            d.accept();
        });
        rig.run<kv::dialogs::GravityDialog>(CommandId::Gravity, [](auto& d) {
            d.row().slider->setValue(-20);
            d.accept();
        });
        rig.run<kv::dialogs::ExternalForceDialog>(CommandId::ExternalForce, [](auto& d) {
            d.field(3)->setText(QStringLiteral("4.4482217")); // 1 lbf forward
            d.axesButtons()->button(0)->setChecked(true);
            d.accept();
        });
        const kv::sim::Environment env = rig.doc.environment();
        QCOMPARE(env.windOn, 1);
        QVERIFY(std::abs(env.windSpeed - 32.808f) < 1e-3f);
        QCOMPARE(env.gravity, -64.34f);
        QVERIFY(std::abs(env.externalForce.force[0] - 1.0f) < 1e-5f);
        QCOMPARE(env.externalForce.axes, kv::sim::kExternalBodyAxes);
        QCOMPARE(rig.doc.runSettings().environment.gravity, -64.34f);
        QVERIFY(!rig.doc.modified());
    }

    void workingUnitsChangeWhatTheNextDialogShows() {
        Rig rig;
        rig.run<kv::dialogs::WorkingUnitsDialog>(CommandId::PreferencesWorkingUnits, [](auto& d) {
            d.lengthButtons()->button(4)->setChecked(true); // Feet
            d.forceButtons()->button(1)->setChecked(true);
            d.handButtons()->button(1)->setChecked(true);
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().lengthUnitFactor, 1.0f);
        QCOMPARE(rig.doc.preferences().englishForceUnits, 1);
        QCOMPARE(rig.doc.preferences().rightHandedAxes, 1);
        QCOMPARE(rig.viewChanges, 0); // nothing is redrawn
        rig.run<kv::dialogs::GridDialog>(CommandId::PreferencesGrid, [](auto& d) {
            QCOMPARE(d.spacing().label->text(), QStringLiteral("Spacing (ft)"));
            QCOMPARE(d.spacing().field->text(), QStringLiteral("164.0400"));
            d.reject();
        });
        rig.run<kv::dialogs::ExternalForceDialog>(CommandId::ExternalForce, [](auto& d) {
            QCOMPARE(d.label(5)->text(), QStringLiteral("Down (lbf)"));
            d.reject();
        });
        rig.run<kv::dialogs::WindDialog>(CommandId::Wind, [](auto& d) {
            QCOMPARE(d.speed().label->text(), QStringLiteral("Speed (MPH)"));
            d.reject();
        });
    }

    void gridStoresAndRebuildsOnlyWhatChanged() {
        Rig rig;
        rig.run<kv::dialogs::GridDialog>(CommandId::PreferencesGrid, [](auto& d) {
            d.resolution().field->setText(QStringLiteral("81"));
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().terrainResolutionStep, 10);
        QCOMPARE(rig.viewChanges, 0); // no terrain: its resolution shows nowhere
        rig.run<kv::dialogs::GridDialog>(CommandId::PreferencesGrid, [](auto& d) {
            d.spacing().field->setText(QStringLiteral("0"));
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().gridSpacing, 0.1f);
        QCOMPARE(rig.viewChanges, 1);
    }

    void gridWithATerrainRebuildsItsListsWhenTheResolutionChanges() {
        Rig rig;
        QTemporaryDir dir;
        const std::filesystem::path dxf =
            std::filesystem::path(QFile::encodeName(dir.path()).toStdString()) / "hill.dxf";
        std::ofstream(dxf) << "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n"
                              "10\n0\n20\n0\n30\n0\n11\n50\n21\n0\n31\n0\n"
                              "12\n50\n22\n50\n32\n5\n13\n0\n23\n50\n33\n5\n"
                              "0\nENDSEC\n0\nEOF\n";
        QVERIFY(rig.doc.addTerrain(kv::app::DxfImport{dxf}));
        QVERIFY(rig.doc.terrain().present());
        rig.run<kv::dialogs::GridDialog>(CommandId::PreferencesGrid, [](auto& d) {
            d.size().field->setText(QStringLiteral("10")); // the grid is hidden by the terrain
            d.accept();
        });
        QCOMPARE(rig.viewChanges, 0);
        rig.run<kv::dialogs::GridDialog>(CommandId::PreferencesGrid, [](auto& d) {
            d.resolution().slider->setValue(0);
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().terrainResolutionStep, 51);
        QCOMPARE(rig.viewChanges, 1);
    }

    void controllerStaysOpenWithoutAJoystick() {
        Rig rig;
        rig.run<kv::dialogs::ControllerDialog>(CommandId::PreferencesController, [](auto& d) {
            d.centring()->button(1)->setChecked(true);
            d.vehicleUpDown()->setChecked(true);
            d.accept();
            QVERIFY(d.isVisible());
            d.reject();
        });
        QCOMPARE(rig.messages.messages.size(), std::size_t(1));
        QCOMPARE(rig.messages.messages[0], kv::wrapMessageText(kv::app::kJoystickMissingMessage));
        QCOMPARE(rig.doc.preferences().controllerCentring, 0);
        QCOMPARE(rig.doc.preferences().vehicleReverseUpDown, 0);

        rig.joystick = true;
        rig.run<kv::dialogs::ControllerDialog>(CommandId::PreferencesController, [](auto& d) {
            d.centring()->button(1)->setChecked(true);
            d.deadzone().slider->setValue(10);
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().controllerCentring, 1);
        QCOMPARE(rig.doc.preferences().deadzone, 0.1f);
    }

    void controllerOffersTheKeyboardAndAGamepad() {
        Rig rig;
        rig.gamepad = "Xbox Series X Controller";
        rig.run<kv::dialogs::ControllerDialog>(CommandId::PreferencesController, [](auto& d) {
            QCOMPARE(d.gamepadStatus()->text(),
                     QStringLiteral("Gamepad: Xbox Series X Controller"));
            QCOMPARE(d.centring()->button(3)->text(), QStringLiteral("Gamepad"));
            d.centring()->button(3)->setChecked(true);
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().controllerCentring, 3);
        // Unplugged: the dialog says so, and the choice stays until changed.
        rig.gamepad.clear();
        rig.run<kv::dialogs::ControllerDialog>(CommandId::PreferencesController, [](auto& d) {
            QCOMPARE(d.gamepadStatus()->text(), QStringLiteral("No gamepad found"));
            QCOMPARE(d.centring()->checkedId(), 3);
            QCOMPARE(d.centring()->button(2)->text(), QStringLiteral("Keyboard (Arrow Keys)"));
            d.centring()->button(2)->setChecked(true);
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().controllerCentring, 2);
        QVERIFY(rig.messages.messages.empty());
    }

    void cameraLensChangesRebuildTheView() {
        Rig rig;
        rig.run<kv::dialogs::CameraDialog>(CommandId::PreferencesCamera, [](auto& d) {
            d.updateRate().field->setText(QStringLiteral("25"));
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().framePeriod, 0.04f);
        QCOMPARE(rig.viewChanges, 0);
        rig.run<kv::dialogs::CameraDialog>(CommandId::PreferencesCamera, [](auto& d) {
            d.fieldOfView().field->setText(QStringLiteral("200"));
            d.aspectRatio().field->setText(QStringLiteral("2"));
            d.accept();
        });
        QCOMPARE(rig.doc.preferences().fieldOfView, 180.0f);
        QCOMPARE(rig.doc.preferences().aspectRatio, 2.0f);
        QCOMPARE(rig.doc.preferences().cameraPreset, kv::app::kCustomPreset);
        QCOMPARE(rig.viewChanges, 1);
        QVERIFY(!rig.doc.modified());
    }

    void memoryReallocatesIntoANewProject() {
        Rig rig;
        rig.doc.state().gravity = 10.0f;
        rig.questions.answer = SaveAnswer::kDontSave;
        rig.run<kv::dialogs::MemoryDialog>(CommandId::PreferencesMemory, [](auto& d) {
            QCOMPARE(d.objectsSlider()->value(), 7);
            d.objectsSlider()->setValue(12);
            d.durationSlider()->setValue(602);
            d.accuracyButtons()->button(0)->setChecked(true);
            d.accept();
        });
        QCOMPARE(rig.questions.asked.size(), std::size_t(1));
        QVERIFY(rig.questions.asked[0].find("To adjust the memory settings") == 0);
        QCOMPARE(rig.doc.memory().objectSlots, 12);
        QCOMPARE(rig.doc.memory().recordFrames, 602);
        QCOMPARE(rig.doc.preferences().objectSlots, 12);
        QCOMPARE(rig.doc.preferences().simTimeStep, 1.0f / 60.0f);
        QCOMPARE(rig.doc.state().gravity, 32.17f);
        QCOMPARE(rig.viewChanges, 1);

        // Cancel in the prompt: nothing happens.
        rig.questions.answer = SaveAnswer::kCancel;
        rig.window.runCommand(int(CommandId::PreferencesMemory));
        QCOMPARE(rig.doc.memory().objectSlots, 12);
        QCOMPARE(rig.viewChanges, 1);
    }
};

QTEST_MAIN(ConditionCommandsTest)
#include "test_condition_commands.moc"
