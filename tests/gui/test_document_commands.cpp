// The File menu, Simulation > Reset, dropped files and Exit wired to the
// project document: each command runs through the main frame's handlers with
// the file chooser and the save prompt answered by the test.
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "app/settings/preferences_file.h"
#include "dialogs/dxf_open_dialog.h"
#include "geometry/working_files.h"
#include "gui/desktop_app.h"
#include "gui/document_commands.h"
#include "gui/main_window.h"
#include "gui/qt_dxf_import.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "model/motion_file.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using kv::SaveAnswer;
using kv::app::CommandId;

namespace {

namespace fs = std::filesystem;

/// A document with scripted ports behind a main frame, as the program wires them.
struct Rig {
    kv::guitest::RecordingMessages messages;
    kv::NullProgress progress;
    kv::guitest::ScriptedFiles files;
    kv::guitest::ScriptedQuestions questions;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    kv::app::Document doc{kv::app::DocumentPorts{messages, progress, files, questions, *folder}};
    kv::gui::MainWindow window{messages};
    kv::gui::DocumentCommands commands{window, doc};

    Rig() {
        doc.allocate(kv::app::kFactoryMemory, false, std::nullopt);
        commands.install();
    }
    void run(CommandId id) { window.runCommand(int(id)); }
    bool enabled(CommandId id) {
        window.refreshCommandStates();
        return window.commandAction(int(id))->isEnabled();
    }
};

fs::path pathIn(const QTemporaryDir& dir, const char* name) {
    return fs::path(QFile::encodeName(dir.path()).toStdString()) / name;
}

/// A DXF file of `faces` flat 3DFACE squares.
fs::path writeDxf(const fs::path& file, int faces) {
    std::ofstream out(file);
    out << "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < faces; ++i) {
        const double x = 10.0 * i;
        out << "0\n3DFACE\n8\n0\n10\n"
            << x << "\n20\n0.0\n30\n0.0\n11\n"
            << x + 5.0 << "\n21\n0.0\n31\n0.0\n12\n"
            << x + 5.0 << "\n22\n5.0\n32\n0.0\n13\n"
            << x << "\n23\n5.0\n33\n0.0\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
    return file;
}

std::string nameOf(const kv::model::ObjectRecord& r) {
    return std::string(r.name.data(), strnlen(r.name.data(), r.name.size()));
}

} // namespace

class DocumentCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void projectRoundTripThroughTheCommands() {
        QTemporaryDir dir;
        Rig r;
        QVERIFY(r.enabled(CommandId::SaveProject));
        r.doc.state().gravity = 20.0f;
        r.run(CommandId::SimulationReset);
        QVERIFY(r.doc.modified());

        // Saving a project without a file asks for a name and forces ".kvp".
        r.files.answers = {pathIn(dir, "race").string()};
        r.run(CommandId::SaveProject);
        QCOMPARE(r.files.requests.size(), std::size_t(1));
        QCOMPARE(r.files.requests[0].title, std::string("Save Project As:"));
        QCOMPARE(r.files.requests[0].defaultName, std::string("Project"));
        QVERIFY(r.files.requests[0].save);
        QVERIFY(fs::exists(pathIn(dir, "race.kvp")));
        QVERIFY(!r.doc.modified());
        QCOMPARE(r.doc.projectName(), std::string("race"));
        // Once it has a file, Save Project asks nothing; Save As always asks.
        r.run(CommandId::SaveProject);
        QCOMPARE(r.files.requests.size(), std::size_t(1));
        r.run(CommandId::SaveProjectAs); // cancelled
        QCOMPARE(r.files.requests.size(), std::size_t(2));
        QCOMPARE(r.files.requests[1].defaultName, std::string("race"));

        // New Project over a modified project: the prompt, then the defaults.
        r.doc.state().gravity = 5.0f;
        r.doc.setModified(true);
        r.questions.answer = SaveAnswer::kDontSave;
        r.run(CommandId::NewProject);
        QCOMPARE(r.questions.asked,
                 std::vector<std::string>{"Would you like to save changes to \"race\" first?"});
        QCOMPARE(r.doc.state().gravity, 32.17f);
        QVERIFY(!r.doc.hasFile());
        QCOMPARE(r.doc.projectName(), std::string("Project"));
        QVERIFY(!r.doc.modified());

        // Open Project brings the saved project back; the unmodified new project asks nothing.
        r.files.answers = {pathIn(dir, "race.kvp").string()};
        r.run(CommandId::OpenProject);
        QCOMPARE(r.files.requests.back().title, std::string("Open Project File:"));
        QVERIFY(!r.files.requests.back().save);
        QCOMPARE(r.questions.asked.size(), std::size_t(1));
        QCOMPARE(r.doc.state().gravity, 20.0f);
        QCOMPARE(r.doc.projectName(), std::string("race"));
        QVERIFY(r.doc.hasFile());
        QVERIFY(!r.doc.modified());
        QVERIFY(r.messages.messages.empty());
    }

    void savePromptGuardsExitAndNewProject() {
        struct Case {
            const char* what;
            bool modified;
            SaveAnswer answer;
            bool chooseFile; ///< the Save Project dialog gets a name
            std::size_t asked;
            bool closed;
        };
        const Case cases[] = {
            {"unmodified", false, SaveAnswer::kCancel, false, 0, true},
            {"cancel", true, SaveAnswer::kCancel, false, 1, false},
            {"don't save", true, SaveAnswer::kDontSave, false, 1, true},
            {"save, dialog cancelled", true, SaveAnswer::kSave, false, 1, false},
            {"save", true, SaveAnswer::kSave, true, 1, true},
        };
        for (const Case& c : cases) {
            QTemporaryDir dir;
            Rig r;
            r.window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&r.window));
            r.doc.setModified(c.modified);
            r.questions.answer = c.answer;
            if (c.chooseFile)
                r.files.answers = {pathIn(dir, "kept").string()};
            r.run(CommandId::Exit);
            QVERIFY2(r.questions.asked.size() == c.asked, c.what);
            QVERIFY2(r.window.isVisible() == !c.closed, c.what);
            QVERIFY2(fs::exists(pathIn(dir, "kept.kvp")) == c.chooseFile, c.what);
        }

        // Cancel in front of New Project keeps the project as it was.
        Rig r;
        r.doc.state().gravity = 9.0f;
        r.doc.setModified(true);
        r.questions.answer = SaveAnswer::kCancel;
        r.run(CommandId::NewProject);
        QCOMPARE(r.questions.asked,
                 std::vector<std::string>{"Would you like to save changes to \"Project\" first?"});
        QCOMPARE(r.doc.state().gravity, 9.0f);
        QVERIFY(r.doc.modified());
    }

    void objectSavedAndTakenBackFromTheLibrary() {
        QTemporaryDir dir;
        Rig r;
        r.doc.object(0).color = 5;
        const std::string objectName = r.doc.currentObjectName();
        QVERIFY(!objectName.empty());
        r.files.answers = {pathIn(dir, "mycar").string()};
        r.run(CommandId::SaveObjectAs);
        QCOMPARE(r.files.requests[0].title, std::string("Save Object As:"));
        QCOMPARE(r.files.requests[0].defaultName, objectName);
        const fs::path saved = pathIn(dir, "mycar.kvo");
        QVERIFY(fs::exists(saved));
        QCOMPARE(nameOf(r.doc.object(0)), std::string("mycar"));

        r.doc.object(0).color = 7;
        r.doc.setModified(false);
        r.window.setObjectLibrary({{"mycar", saved}});
        r.window.runCommand(kv::app::kObjectLibraryFirstId);
        QCOMPARE(r.files.requests.size(), std::size_t(1)); // no dialog for a library entry
        QCOMPARE(r.doc.object(0).color, 5);
        QVERIFY(r.doc.modified());
        QVERIFY(r.messages.messages.empty());
    }

    void resetAndObserveMarkTheProjectModified() {
        Rig r;
        QAction* observe = r.window.commandAction(int(CommandId::Observe));
        QVERIFY(r.enabled(CommandId::Observe));
        QVERIFY(!observe->isChecked());
        r.run(CommandId::Observe);
        QCOMPARE(r.doc.state().observeMode, 1);
        QVERIFY(r.doc.modified());
        QVERIFY(observe->isChecked());
        r.run(CommandId::Observe);
        QCOMPARE(r.doc.state().observeMode, 0);
        QVERIFY(!observe->isChecked());
    }

    void startTrimmedIsOnByDefaultAndKeptInTheSettings() {
        QSettings(kv::gui::kOrganisation, kv::gui::kApplication).remove(kv::gui::kStartTrimmedKey);
        {
            Rig r;
            QAction* trimmed = r.window.commandAction(int(CommandId::StartTrimmed));
            QVERIFY(trimmed != nullptr);
            QVERIFY(r.enabled(CommandId::StartTrimmed));
            QVERIFY(trimmed->isChecked());
            QVERIFY(r.doc.trimmedStart());
            QVERIFY(r.doc.runSettings().trimmedStart);
            r.run(CommandId::StartTrimmed);
            QVERIFY(!r.doc.trimmedStart());
            QVERIFY(!trimmed->isChecked());
            // A setting of the program: the project is not modified.
            QVERIFY(!r.doc.modified());
        }
        {
            // The next session starts with the stored choice.
            Rig r;
            r.window.refreshCommandStates();
            QVERIFY(!r.window.commandAction(int(CommandId::StartTrimmed))->isChecked());
            QVERIFY(!r.doc.trimmedStart());
            r.run(CommandId::StartTrimmed);
        }
        QVERIFY(kv::gui::startTrimmed());
    }

    void vehicleCommandsRebuildTheSimulatedObjectAndCarryTheCheckMark() {
        Rig r;
        QAction* car = r.window.commandAction(int(CommandId::VehicleCar));
        QAction* helicopter = r.window.commandAction(int(CommandId::VehicleHelicopter));
        QVERIFY(r.enabled(CommandId::VehicleHelicopter));
        QVERIFY(car->isChecked());
        r.run(CommandId::VehicleHelicopter);
        QCOMPARE(r.doc.object(0).vehicleType, kv::model::kVehicleHelicopter);
        QCOMPARE(r.doc.currentObjectName(), std::string("Helicopter"));
        QVERIFY(r.doc.modified());
        QVERIFY(helicopter->isChecked());
        QVERIFY(!car->isChecked());
    }

    void sixthSceneryImportIsDisabled() {
        QTemporaryDir dir;
        Rig r;
        for (int i = 0; i < 5; ++i) {
            QVERIFY(r.enabled(CommandId::AddDxfScenery));
            const std::string name = "s" + std::to_string(i) + ".dxf";
            r.files.answers = {writeDxf(pathIn(dir, name.c_str()), i + 1).string()};
            r.run(CommandId::AddDxfScenery);
            QCOMPARE(r.doc.scenery().count(), i + 1);
        }
        QCOMPARE(r.files.requests.front().title, std::string("Open DXF Scenery File:"));
        QVERIFY(r.doc.modified());
        QVERIFY(!r.enabled(CommandId::AddDxfScenery));
        r.run(CommandId::AddDxfScenery);
        QCOMPARE(r.files.requests.size(), std::size_t(5));
        QCOMPARE(r.doc.scenery().count(), 5);
        QVERIFY(r.messages.messages.empty());
    }

    void addInteractiveIsDisabledOnceOneExists() {
        QTemporaryDir dir;
        const fs::path dxf = writeDxf(pathIn(dir, "crate.dxf"), 2);
        Rig source;
        std::vector<kv::model::MotionFrame> frames(3, kv::model::MotionFrame{});
        for (std::size_t i = 0; i < frames.size(); ++i)
            frames[i][kv::model::kFrameTime] = 0.1f * float(i);
        const fs::path motion = pathIn(dir, "chase.kvm");
        QVERIFY(kv::model::saveLiveMotion(motion, source.doc.object(0), kv::model::TriangleSource{},
                                          frames, source.messages));

        struct Case {
            CommandId command;
            fs::path file;
            std::int32_t role;
        };
        const Case cases[] = {
            {CommandId::AddInteractiveDxfStaticObject, dxf, kv::model::kRoleStatic},
            {CommandId::AddInteractiveDynamicObject, motion, kv::model::kRoleInteractive},
        };
        for (const Case& c : cases) {
            Rig r;
            QVERIFY(r.enabled(CommandId::AddInteractiveDxfStaticObject));
            QVERIFY(r.enabled(CommandId::AddInteractiveDynamicObject));
            r.files.answers = {c.file.string()};
            r.run(c.command);
            QCOMPARE(r.doc.objectCount(), 2);
            QCOMPARE(r.doc.interactiveCount(), 2);
            QCOMPARE(r.doc.object(1).role, c.role);
            QVERIFY(!r.enabled(CommandId::AddInteractiveDxfStaticObject));
            QVERIFY(!r.enabled(CommandId::AddInteractiveDynamicObject));
            QVERIFY(r.enabled(CommandId::AddDynamicObject));
            r.run(CommandId::AddInteractiveDynamicObject);
            QCOMPARE(r.files.requests.size(), std::size_t(1));
        }
    }

    void droppedFilesOpenByTheirExtension() {
        QTemporaryDir dir;
        Rig r;
        std::vector<kv::model::MotionFrame> frames(4, kv::model::MotionFrame{});
        for (std::size_t i = 0; i < frames.size(); ++i)
            frames[i][kv::model::kFrameTime] = 0.1f * float(i);
        const fs::path motion = pathIn(dir, "take1.kvm");
        QVERIFY(kv::model::saveLiveMotion(motion, r.doc.object(0), kv::model::TriangleSource{},
                                          frames, r.messages));
        const fs::path notes = pathIn(dir, "notes.txt");
        std::ofstream(notes) << "hello";

        r.window.openDroppedUrls({QUrl::fromLocalFile(QString::fromStdString(motion.string())),
                                  QUrl::fromLocalFile(QString::fromStdString(notes.string()))});
        QVERIFY(r.files.requests.empty()); // the dropped path replaces the dialog
        QCOMPARE(r.doc.objectCount(), 2);
        QCOMPARE(r.doc.object(1).role, kv::model::kRoleDynamic);
        QCOMPARE(nameOf(r.doc.object(1)), std::string("take1"));
        QCOMPARE(r.doc.interactiveCount(), 1);
        QCOMPARE(
            r.messages.messages,
            std::vector<std::string>{"\"" + notes.string() + "\" is not a valid Kestrovane file."});
    }

    void aDroppedProjectAsksFirstAndAFailedReadStillRefreshesTheViews() {
        QTemporaryDir dir;
        Rig r;
        int viewRefreshes = 0;
        r.commands.setAfterProjectChange([&viewRefreshes] { ++viewRefreshes; });
        r.files.answers = {pathIn(dir, "saved").string()};
        r.run(CommandId::SaveProject);
        const fs::path saved = pathIn(dir, "saved.kvp");
        std::ifstream in(saved, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        const fs::path cut = pathIn(dir, "cut.kvp");
        std::ofstream(cut, std::ios::binary)
            .write(bytes.data(), std::streamsize(bytes.size() - 400));
        const QUrl dropped = QUrl::fromLocalFile(QString::fromStdString(cut.string()));

        // Modified: the prompt comes first, and Cancel keeps the project.
        r.doc.state().gravity = 9.0f;
        r.doc.setModified(true);
        r.questions.answer = SaveAnswer::kCancel;
        r.window.openDroppedUrls({dropped});
        QCOMPARE(r.questions.asked.size(), std::size_t(1));
        QCOMPARE(r.doc.state().gravity, 9.0f);
        QCOMPARE(viewRefreshes, 0);

        // Don't Save: the read fails part-way, the defaults replace the
        // project, and the views are told.
        r.questions.answer = SaveAnswer::kDontSave;
        r.window.openDroppedUrls({dropped});
        QCOMPARE(r.questions.asked.size(), std::size_t(2));
        QCOMPARE(r.doc.state().gravity, 32.17f);
        QVERIFY(!r.doc.hasFile());
        QCOMPARE(viewRefreshes, 1);
        QVERIFY(!r.messages.messages.empty());
    }

    void dxfImportsUseTheDxfOpenDialog() {
        QTemporaryDir dir;
        Rig r;
        kv::gui::QtDxfImport dxf(r.doc.preferences(), r.messages, &r.window);
        r.doc.setDxfImportPort(&dxf);

        // Terrain: no colour to choose; a cancelled dialog changes nothing.
        QString title;
        bool colorEnabled = true;
        kv::guitest::whenModalShown([&](QWidget* modal) {
            auto* d = qobject_cast<kv::dialogs::DxfOpenDialog*>(modal);
            QVERIFY(d != nullptr);
            title = d->windowTitle();
            colorEnabled = d->colorButton()->isEnabled();
            d->reject();
        });
        r.run(CommandId::AddDxfTerrain);
        QCOMPARE(title, QStringLiteral("Open DXF Terrain File:"));
        QVERIFY(!colorEnabled);
        QVERIFY(!r.doc.modified());
        QVERIFY(r.files.requests.empty());

        // Scenery: the file typed into the dialog is imported.
        const fs::path file = writeDxf(pathIn(dir, "road.dxf"), 3);
        kv::guitest::whenModalShown([&](QWidget* modal) {
            auto* d = qobject_cast<kv::dialogs::DxfOpenDialog*>(modal);
            QVERIFY(d != nullptr);
            title = d->windowTitle();
            colorEnabled = d->colorButton()->isEnabled();
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit != nullptr);
            edit->setText(QString::fromStdString(file.string()));
            static_cast<QDialog*>(d)->accept();
        });
        r.run(CommandId::AddDxfScenery);
        QCOMPARE(title, QStringLiteral("Open DXF Scenery File:"));
        QVERIFY(colorEnabled);
        QCOMPARE(r.doc.scenery().count(), 1);
        QVERIFY(r.doc.modified());
        r.doc.setDxfImportPort(nullptr);
    }

    void programKeepsItsMemorySettingsOnPreferencesReset() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::app::Preferences stored;
        stored.objectSlots = 12;
        stored.recordFrames = 5000;
        stored.terrainGrid = 100;
        stored.gridSpacing = 10.0f;
        QVERIFY(kv::app::writePreferenceFile(pathIn(dir, kv::app::kPreferenceFileName), stored));

        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp app(dir.path(), &files);
        QVERIFY(app.ready());
        QCOMPARE(app.document().memory(), (kv::app::MemorySettings{12, 5000, 100}));
        QCOMPARE(app.preferences().gridSpacing, 10.0f);
        app.window().commandAction(int(CommandId::PreferencesReset))->trigger();
        QCOMPARE(app.preferences().gridSpacing, 50.0f);
        QCOMPARE(app.preferences().objectSlots, 12);
        QCOMPARE(app.preferences().recordFrames, 5000);
        QCOMPARE(app.preferences().terrainGrid, 100);
        QCOMPARE(app.document().memory(), (kv::app::MemorySettings{12, 5000, 100}));

        // The program's own File menu runs on the same document.
        app.document().setModified(true);
        files.answers = {pathIn(dir, "mine").string()};
        app.window().commandAction(int(CommandId::SaveProject))->trigger();
        QVERIFY(fs::exists(pathIn(dir, "mine.kvp")));
        QVERIFY(!app.document().modified());
    }
};

QTEST_MAIN(DocumentCommandsTest)
#include "test_document_commands.moc"
