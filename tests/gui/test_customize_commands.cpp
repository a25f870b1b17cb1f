// Object > Customize wired to the document: each command runs its dialog on
// the simulated object and, on OK, stores the block, marks the project
// modified, resets the simulation where the command does, rebuilds the
// object's display after a new colour and redraws.
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "dialogs/aero_dialog.h"
#include "dialogs/appearance_dialog.h"
#include "dialogs/collision_dialog.h"
#include "dialogs/engine_dialog.h"
#include "dialogs/mass_dialog.h"
#include "dialogs/tires_dialog.h"
#include "geometry/working_files.h"
#include "gui/customize_commands.h"
#include "gui/desktop_app.h"
#include "gui/main_window.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "model/object_model.h"
#include "model/template.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

using kv::app::CommandId;
namespace app = kv::app;
namespace model = kv::model;
namespace dialogs = kv::dialogs;

namespace {

const CommandId kCustomizeCommands[] = {
    CommandId::CustomizeMassProperties, CommandId::CustomizeTiresSuspension,
    CommandId::CustomizeAerodynamics,   CommandId::CustomizeEngine,
    CommandId::CustomizeCollisions,     CommandId::CustomizeAppearance,
};

/// A document with scripted ports behind a main frame and the customize commands.
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
    int rebuilds = 0;
    int redraws = 0;

    Rig() {
        doc.allocate(app::kFactoryMemory, false, std::nullopt);
        commands.setRebuildDisplay([this] { ++rebuilds; });
        commands.setRedraw([this] { ++redraws; });
        commands.install();
        // Emptied run slots: only a simulation reset fills them again from the objects.
        doc.run().slotCount = 0;
    }
    bool wasReset() { return doc.run().slotCount > 0; }

    /// Runs `id` with `answer` working the dialog it shows.
    template <typename Dialog, typename Answer> void run(CommandId id, Answer answer) {
        kv::guitest::whenModalShown([answer](QWidget* modal) {
            auto* d = qobject_cast<Dialog*>(modal);
            QVERIFY(d != nullptr);
            answer(*d);
        });
        window.runCommand(int(id));
    }
};

template <typename T> bool sameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

} // namespace

class CustomizeCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void everyCustomizeCommandHasAHandler() {
        Rig r;
        for (CommandId id : kCustomizeCommands)
            QVERIFY(r.window.commandAction(int(id))->isEnabled());
    }

    void tiresNeedTires() {
        Rig r;
        model::ObjectRecord& heli = r.doc.object(0);
        heli.vehicleType = model::kVehicleHelicopter;
        model::applyTemplate(heli);
        r.window.runCommand(int(CommandId::CustomizeTiresSuspension));
        QCOMPARE(r.messages.messages,
                 (std::vector<std::string>{"The object does not have any tires."}));
        QVERIFY(!r.doc.modified());
    }

    void tiresOkStoresAndResets() {
        Rig r;
        r.run<dialogs::TiresDialog>(CommandId::CustomizeTiresSuspension,
                                    [](dialogs::TiresDialog& d) {
                                        d.field(app::kTiresBraking)->setText(QStringLiteral("250"));
                                        d.tireList()->setCurrentIndex(2);
                                        d.slider(app::kTiresSpring)->setValue(90);
                                        d.accept();
                                    });
        QCOMPARE(r.doc.object(0).tires.braking, 2.0f);
        QCOMPARE(r.doc.object(0).tires.spring[2], 0.9f);
        QVERIFY(r.doc.modified());
        QVERIFY(r.wasReset());
        QCOMPARE(r.redraws, 1);
    }

    void cancelChangesNothing() {
        Rig r;
        const model::ObjectRecord before = r.doc.object(0);
        r.run<dialogs::MassDialog>(CommandId::CustomizeMassProperties, [](dialogs::MassDialog& d) {
            d.field(app::kMassField)->setText(QStringLiteral("1"));
            d.reject();
        });
        r.run<dialogs::TiresDialog>(CommandId::CustomizeTiresSuspension,
                                    [](dialogs::TiresDialog& d) {
                                        d.slider(app::kTiresBraking)->setValue(10);
                                        d.reject();
                                    });
        QVERIFY(sameBytes(r.doc.object(0), before));
        QVERIFY(!r.doc.modified());
        QVERIFY(!r.wasReset());
        QCOMPARE(r.redraws, 0);
    }

    void massOkStoresResetsAndMarksModified() {
        Rig r;
        r.doc.preferences().englishForceUnits = 1;
        r.run<dialogs::MassDialog>(CommandId::CustomizeMassProperties, [](dialogs::MassDialog& d) {
            QCOMPARE(d.field(app::kMassField)->text(), QStringLiteral("2019.9999"));
            d.field(app::kMassField)->setText(QStringLiteral("4040"));
            d.accept();
        });
        QCOMPARE(r.doc.object(0).mass.mass, 4040.0f * 0.031084863f);
        QVERIFY(r.doc.modified());
        QVERIFY(r.wasReset());
        QCOMPARE(r.redraws, 1);
    }

    void engineMarksModifiedWithoutAReset() {
        Rig r;
        r.doc.preferences().englishForceUnits = 0;
        r.run<dialogs::EngineDialog>(CommandId::CustomizeEngine, [](dialogs::EngineDialog& d) {
            d.engineButtons()->button(model::kEngineJet)->click();
            d.powerField()->setText(QStringLiteral("44482.217"));
            d.accept();
        });
        QCOMPARE(r.doc.object(0).engineType, int(model::kEngineJet));
        QCOMPARE(r.doc.object(0).enginePower, 44482.217f * 0.22480895f);
        QVERIFY(r.doc.modified());
        QVERIFY(!r.wasReset());
        QCOMPARE(r.redraws, 1);
    }

    void appearanceRebuildsTheDisplayOnlyWhenItChanged() {
        Rig r;
        r.run<dialogs::AppearanceDialog>(CommandId::CustomizeAppearance,
                                         [](dialogs::AppearanceDialog& d) { d.accept(); });
        QVERIFY(!r.doc.modified());
        QCOMPARE(r.rebuilds, 0);
        r.run<dialogs::AppearanceDialog>(CommandId::CustomizeAppearance,
                                         [](dialogs::AppearanceDialog& d) {
                                             d.colorButtons()->button(0)->click();
                                             d.transparencyButtons()->button(2)->click();
                                             d.accept();
                                         });
        QCOMPARE(r.doc.object(0).color, 0);
        QCOMPARE(r.doc.object(0).transparency, 2);
        QVERIFY(r.doc.modified());
        QVERIFY(!r.wasReset());
        QCOMPARE(r.rebuilds, 1);
        QCOMPARE(r.redraws, 1);
    }

    void aeroMarksModifiedWithoutAReset() {
        Rig r;
        r.run<dialogs::AeroDialog>(CommandId::CustomizeAerodynamics, [](dialogs::AeroDialog& d) {
            d.field(app::kAeroCoefficientField + 3)->setText(QStringLiteral("0.5"));
            d.accept();
        });
        QCOMPARE(r.doc.object(0).aero.coefficients[3], 0.5f);
        QVERIFY(r.doc.modified());
        QVERIFY(!r.wasReset());
        QCOMPARE(r.redraws, 1);
    }

    void collisionsEditTheInteractiveObject() {
        Rig r;
        // An interactive dynamic object in slot 1.
        model::ObjectRecord bike;
        model::resetObject(bike);
        bike.vehicleType = model::kVehicleMotorcycle;
        model::applyTemplate(bike);
        bike.role = model::kRoleInteractive;
        r.doc.object(1) = bike;
        r.doc.state().objectCount = 2;
        r.run<dialogs::CollisionDialog>(
            CommandId::CustomizeCollisions, [](dialogs::CollisionDialog& d) {
                QVERIFY(d.interactiveGroup()->isEnabled());
                d.field(app::kCollisionInteractiveField + 1)->setText(QStringLiteral("25"));
                d.field(app::kCollisionSimulatedField + 2)->setText(QStringLiteral("10"));
                d.accept();
            });
        QCOMPARE(r.doc.object(1).collisionDamping, 0.75f);
        QCOMPARE(r.doc.object(0).collisionFriction, 0.1f);
        QVERIFY(r.doc.modified());
        QVERIFY(r.wasReset());

        // A static object instead: its values are never touched.
        r.doc.object(1).role = model::kRoleStatic;
        const model::ObjectRecord rock = r.doc.object(1);
        r.run<dialogs::CollisionDialog>(CommandId::CustomizeCollisions,
                                        [](dialogs::CollisionDialog& d) {
                                            QVERIFY(!d.interactiveGroup()->isEnabled());
                                            d.accept();
                                        });
        QVERIFY(sameBytes(r.doc.object(1), rock));
    }

    // OK in every dialog without touching anything, in English and metric
    // units, leaves the simulated object's record as it was, byte for byte.
    void okUntouchedKeepsTheRecordInBothUnitSystems() {
        for (int english : {1, 0}) {
            Rig r;
            r.doc.preferences().englishForceUnits = english;
            r.doc.preferences().lengthUnitFactor = english != 0 ? 1.0f : 3.2808f;
            model::ObjectRecord& plane = r.doc.object(0);
            plane.vehicleType = model::kVehicleAircraft;
            model::applyTemplate(plane);
            plane.tires.braking = 0.3337f;
            plane.tires.spring[1] = 0.4567f;
            plane.mass.rollPitchCoupling = 0.0049f;
            plane.enginePower = 30000.04f;
            plane.aero.coefficients[5] = 0.0123456f;
            plane.collisionDamping = 0.123456f;
            // A reset stores the run-derived fields (tire count, deflection limits) first.
            r.doc.resetSimulation();
            const model::ObjectRecord before = plane;
            const auto ok = [](QDialog& d) { d.accept(); };
            r.run<dialogs::MassDialog>(CommandId::CustomizeMassProperties, ok);
            r.run<dialogs::TiresDialog>(CommandId::CustomizeTiresSuspension, ok);
            r.run<dialogs::AeroDialog>(CommandId::CustomizeAerodynamics, ok);
            r.run<dialogs::EngineDialog>(CommandId::CustomizeEngine, ok);
            r.run<dialogs::CollisionDialog>(CommandId::CustomizeCollisions, ok);
            r.run<dialogs::AppearanceDialog>(CommandId::CustomizeAppearance, ok);
            QVERIFY2(sameBytes(r.doc.object(0), before), english != 0 ? "English" : "metric");
        }
    }

    // The program wires the commands at start-up.
    void theDesktopProgramInstallsThem() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp program(dir.path(), &files);
        QVERIFY(program.ready());
        for (CommandId id : kCustomizeCommands)
            QVERIFY(program.window().hasCommandHandler(int(id)));
        kv::guitest::whenModalShown([](QWidget* modal) {
            auto* d = qobject_cast<dialogs::TiresDialog*>(modal);
            QVERIFY(d != nullptr);
            d->field(app::kTiresBraking)->setText(QStringLiteral("150"));
            d->accept();
        });
        program.window().runCommand(int(CommandId::CustomizeTiresSuspension));
        QCOMPARE(program.document().object(0).tires.braking, 1.5f);
        QVERIFY(program.document().modified());
    }
};

QTEST_MAIN(CustomizeCommandsTest)
#include "test_customize_commands.moc"
