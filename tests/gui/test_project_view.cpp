// The project window wired as the program wires it: the tree after project
// changes and F11, its buttons and keys through the document, and the
// instrument panel drawn after the frames of a run.
#include "app/camera/camera_state.h"
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "app/input/input_keys.h"
#include "dialogs/appearance_dialog.h"
#include "dialogs/transform_dialog.h"
#include "geometry/working_files.h"
#include "gui/document_commands.h"
#include "gui/live_run.h"
#include "gui/main_window.h"
#include "gui/view_links.h"
#include "gui_test_support.h"
#include "model/motion_file.h"
#include "views/child_window.h"
#include "views/instrument_view.h"
#include "views/project_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

using kv::app::CommandId;

namespace {

namespace fs = std::filesystem;

/// Progress that aborts the next job it is asked about, as ESC would.
class AbortingProgress final : public kv::ProgressPort {
  public:
    void start(std::string_view) override {}
    bool update(double) override { return !abort; }
    void finish() override {}
    bool abort = false;
};

struct Rig {
    kv::guitest::RecordingMessages messages;
    AbortingProgress progress;
    kv::guitest::ScriptedFiles files;
    kv::guitest::ScriptedQuestions questions;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    kv::app::Document doc{kv::app::DocumentPorts{messages, progress, files, questions, *folder}};
    kv::gui::MainWindow window{messages};
    kv::gui::DocumentCommands commands{window, doc};
    std::unique_ptr<kv::gui::LiveRun> live;
    std::unique_ptr<kv::gui::ViewLinks> links;

    Rig() {
        doc.allocate(kv::app::kFactoryMemory, false, std::nullopt);
        commands.install();
        live = std::make_unique<kv::gui::LiveRun>(doc, *window.cameraView(), messages);
        links = std::make_unique<kv::gui::ViewLinks>(window, doc, *live, messages);
        window.resize(1000, 800);
        window.show();
        window.showAllWindows();
    }
    ~Rig() {
        links.reset();
        live.reset();
    }
    kv::views::ProjectView& view() { return *window.projectView(); }
    QTreeWidget& tree() { return *view().tree(); }
    QStringList labels() {
        QStringList out;
        for (int i = 0; i < tree().topLevelItemCount(); ++i)
            out << tree().topLevelItem(i)->text(0);
        return out;
    }
    void press(QPushButton* button, int row) {
        view().selectRow(row);
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

fs::path pathIn(const QTemporaryDir& dir, const char* name) {
    return fs::path(QFile::encodeName(dir.path()).toStdString()) / name;
}

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

fs::path writeMotion(Rig& r, const fs::path& file) {
    std::vector<kv::model::MotionFrame> frames(4, kv::model::MotionFrame{});
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i][kv::model::kFrameTime] = 0.1f * float(i);
    if (!kv::model::saveLiveMotion(file, r.doc.object(0), kv::model::TriangleSource{}, frames,
                                   r.messages))
        return {};
    return file;
}

/// Adds two dynamic objects, a scenery set and a terrain through the File menu.
void fillProject(Rig& r, const QTemporaryDir& dir) {
    r.files.answers = {writeMotion(r, pathIn(dir, "ghost.kvm")).string()};
    r.window.runCommand(int(CommandId::AddDynamicObject));
    r.files.answers = {writeMotion(r, pathIn(dir, "shadow.kvm")).string()};
    r.window.runCommand(int(CommandId::AddDynamicObject));
    r.files.answers = {writeDxf(pathIn(dir, "barn.dxf"), 2).string()};
    r.window.runCommand(int(CommandId::AddDxfScenery));
    r.files.answers = {writeDxf(pathIn(dir, "hills.dxf"), 3).string()};
    r.window.runCommand(int(CommandId::AddDxfTerrain));
}

/// Accepts the next modal dialog of type T once it is shown, after `edit`.
template <class T, class Edit> void acceptNextDialog(Edit edit) {
    QTimer::singleShot(0, [edit] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        edit(*dialog);
        dialog->accept();
    });
}

class ProjectViewTest : public QObject {
    Q_OBJECT
  private slots:
    void treeFollowsEveryProjectChange() {
        QTemporaryDir dir;
        Rig r;
        const QString car = QString::fromLatin1(r.doc.object(0).name.data());
        QCOMPARE(r.labels(), QStringList{car + " *"});
        QCOMPARE(r.window.projectWindow()->windowTitle(), QStringLiteral("Project"));
        fillProject(r, dir);
        QCOMPARE(r.labels(), (QStringList{car + " *", "ghost", "shadow", "barn.dxf", "hills.dxf"}));
        // One icon per kind: the simulated object, dynamic objects, scenery, terrain.
        QCOMPARE(r.tree().topLevelItem(0)->data(0, Qt::UserRole).toInt(), 5);
        QCOMPARE(r.tree().topLevelItem(1)->data(0, Qt::UserRole).toInt(), 2);
        QCOMPARE(r.tree().topLevelItem(3)->data(0, Qt::UserRole).toInt(), 6);
        QCOMPARE(r.tree().topLevelItem(4)->data(0, Qt::UserRole).toInt(), 0);
        QCOMPARE(r.tree().iconSize(), QSize(32, 32));
        // A new vehicle renames the simulated object; a new project empties the tree.
        r.window.runCommand(int(CommandId::VehicleAircraft));
        QVERIFY(r.labels().first() != car + " *");
        QVERIFY(r.labels().first().endsWith(" *"));
        r.questions.answer = kv::SaveAnswer::kDontSave;
        r.window.runCommand(int(CommandId::NewProject));
        QCOMPARE(r.labels(), QStringList{car + " *"});
    }

    void deletingTheSimulatedObjectTurnsObservingOn() {
        QTemporaryDir dir;
        Rig r;
        fillProject(r, dir);
        r.press(r.view().deleteButton(), 0);
        QVERIFY(r.doc.state().observeMode != 0);
        QCOMPARE(r.doc.objectCount(), 3);
        QVERIFY(r.doc.modified());
        // The tree starts at object 1 now, and the camera follows it; the
        // Observe menu item shows the mode.
        QCOMPARE(r.labels().first(), QStringLiteral("ghost *"));
        QCOMPARE(r.labels().filter(QStringLiteral(" *")).size(), 1);
        r.window.refreshCommandStates();
        QVERIFY(r.window.commandAction(int(CommandId::Observe))->isChecked());
        // The Delete key removes the selected object through the document.
        r.view().selectRow(1);
        r.tree().setFocus();
        QTest::keyClick(&r.tree(), Qt::Key_Delete);
        QCOMPARE(r.doc.objectCount(), 2);
        QVERIFY(!r.labels().join(',').contains(QStringLiteral("shadow")));
        // Deleting the followed object moves the star to the object followed next.
        r.view().selectRow(0);
        QTest::keyClick(&r.tree(), Qt::Key_Delete);
        QCOMPARE(r.doc.objectCount(), 1);
        QCOMPARE(r.labels().first(), QStringLiteral("barn.dxf"));
        QCOMPARE(r.labels().filter(QStringLiteral(" *")).size(), 0);
        // No selection: the buttons do nothing.
        r.tree().clearSelection();
        QTest::mouseClick(r.view().deleteButton(), Qt::LeftButton);
        QCOMPARE(r.labels().size(), 2);
    }

    void f11OnObjectTwoStarsOnlyThatObject() {
        QTemporaryDir dir;
        Rig r;
        fillProject(r, dir);
        r.tree().setFocus();
        QTest::keyClick(&r.tree(), Qt::Key_F11);
        QTest::keyClick(&r.tree(), Qt::Key_F11);
        QCoreApplication::processEvents();
        QCOMPARE(r.live->content().scene().followed, 2);
        const QStringList labels = r.labels();
        QCOMPARE(labels.filter(QStringLiteral(" *")), QStringList{"shadow *"});
        QCOMPARE(labels[2], QStringLiteral("shadow *"));
    }

    void f2WithTheTreeFocusedChangesTheCameraMode() {
        Rig r;
        r.doc.camera().mode = kv::app::kModeExternal;
        r.tree().setFocus();
        QTest::keyClick(&r.tree(), Qt::Key_F2);
        QCoreApplication::processEvents();
        QCOMPARE(r.doc.camera().mode, int(kv::app::kModeRoam));
        QTest::keyClick(&r.tree(), Qt::Key_F4);
        QCoreApplication::processEvents();
        QCOMPARE(r.doc.camera().mode, int(kv::app::kModeChase));
        // The panel's key guide follows: F4 lit green at (201, 187), F2 back to normal.
        const QImage& panel = r.window.instrumentView()->surface();
        const QColor f4 = panel.pixelColor(205, 200);
        const QColor f2 = panel.pixelColor(79, 200);
        QVERIFY2(f4.green() > f4.red() + 60, qPrintable(f4.name()));
        QVERIFY2(qAbs(f2.green() - f2.red()) < 30, qPrintable(f2.name()));
    }

    void colorOnTheTerrainDoesNothing() {
        QTemporaryDir dir;
        Rig r;
        fillProject(r, dir);
        r.doc.setModified(false);
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                shown = true;
                w->close();
            }
        });
        r.press(r.view().colorButton(), 4);
        QCoreApplication::processEvents();
        QVERIFY(!shown);
        QVERIFY(!r.doc.modified());
        // On scenery the Appearance dialog stores the pair.
        acceptNextDialog<kv::dialogs::AppearanceDialog>(
            [](kv::dialogs::AppearanceDialog& d) { d.colorButtons()->button(4)->click(); });
        r.press(r.view().colorButton(), 3);
        QCOMPARE(r.doc.scenery().set(0).color, 4);
        QVERIFY(r.doc.modified());
    }

    void saveAsAsksTheKindsDialogAndAltSavesTheGeometry() {
        QTemporaryDir dir;
        Rig r;
        fillProject(r, dir);
        struct Case {
            int row;
            bool alt;
            const char* title;
            const char* file;
        };
        const Case cases[] = {
            {0, false, "Save Object As:", "car.kvo"},
            {0, true, "Save DXF Object Geometry As:", "car.dxf"},
            {1, false, "Save Dynamic Motion As:", "ghost.kvm"},
            {3, false, "Save DXF Scenery As:", "barn-out.dxf"},
            {4, true, "Save DXF Terrain As:", "hills-out.dxf"},
        };
        for (const Case& c : cases) {
            r.files.answers = {pathIn(dir, c.file).string()};
            r.links->saveAs(c.row, c.alt);
            QCOMPARE(QString::fromStdString(r.files.requests.back().title),
                     QString::fromLatin1(c.title));
            QVERIFY2(fs::exists(pathIn(dir, c.file)), c.file);
        }
        // Save Object As renames the simulated object in the tree.
        QCOMPARE(r.labels().first(), QStringLiteral("car *"));
    }

    void terrainTransformThatFailsKeepsThePreviousTerrain() {
        QTemporaryDir dir;
        Rig r;
        fillProject(r, dir);
        QVERIFY(r.doc.terrain().present());
        const int triangles = r.doc.terrain().info().triangleCount;
        auto doubled = [](kv::dialogs::TransformDialog& d) {
            for (int i = 3; i < 6; ++i)
                d.field(i)->setText(QStringLiteral("2"));
        };
        // ESC during "Transforming Terrain Polygons:".
        r.progress.abort = true;
        acceptNextDialog<kv::dialogs::TransformDialog>(doubled);
        r.press(r.view().transformButton(), 4);
        QVERIFY(r.doc.terrain().present());
        QCOMPARE(r.doc.state().terrainPresent, 1);
        QCOMPARE(r.doc.terrain().info().transform.scale[0], 1.0f);
        QCOMPARE(r.doc.terrain().info().triangleCount, triangles);
        QVERIFY(r.labels().contains(QStringLiteral("hills.dxf")));
        // Without the abort the new transform is taken.
        r.progress.abort = false;
        acceptNextDialog<kv::dialogs::TransformDialog>(doubled);
        r.press(r.view().transformButton(), 4);
        QVERIFY(r.doc.terrain().present());
        QCOMPARE(r.doc.terrain().info().transform.scale[0], 2.0f);
    }
};

} // namespace

QTEST_MAIN(ProjectViewTest)
#include "test_project_view.moc"
