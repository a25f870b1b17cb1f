// The main frame: menus and status prompts from the command table, enabling,
// the object library, opening files by type and dropping them, and closing.
#include "app/commands/commands.h"
#include "gui/about_box.h"
#include "gui/main_window.h"
#include "gui_test_support.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QUrl>

using kv::app::CommandId;
using kv::gui::MainWindow;

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    kv::guitest::RecordingMessages messages_;

  private slots:
    void menuBarHasTheSixMenusInOrder() {
        MainWindow w(messages_);
        const QList<QAction*> tops = w.menuBar()->actions();
        const QStringList expected{"File", "Simulation", "Object", "Preferences", "Window", "Help"};
        QCOMPARE(tops.size(), expected.size());
        for (int i = 0; i < tops.size(); ++i)
            QCOMPARE(tops[i]->text(), expected[i]);
    }

    void everyCommandHasItsMenuItem() {
        MainWindow w(messages_);
        for (const kv::app::CommandInfo& row : kv::app::commandTable()) {
            const int id = static_cast<int>(row.id);
            QAction* a = w.commandAction(id);
            QVERIFY2(a != nullptr, qPrintable(text(row.menuPath)));
            const auto levels = kv::app::menuPathLevels(row.menuPath);
            QCOMPARE(a->text(), text(levels.back()));
            QCOMPARE(a->statusTip(), text(row.prompt));
            QCOMPARE(a->shortcut(), QKeySequence(text(row.shortcut)));
            QCOMPARE(a->isCheckable(), row.check != kv::app::CheckRule::None);
            // The item sits in the menu its path names, level by level up to the bar.
            QList<QObject*> chain;
            QMenu* menu = qobject_cast<QMenu*>(a->parent());
            QVERIFY(menu != nullptr);
            QVERIFY(menu->actions().contains(a));
            for (int level = int(levels.size()) - 2; level >= 0; --level) {
                QVERIFY(menu != nullptr);
                QCOMPARE(menu->title(), text(levels[std::size_t(level)]));
                menu = qobject_cast<QMenu*>(menu->parent());
            }
        }
    }

    void commandsWithoutAnOperationAreDisabled() {
        MainWindow w(messages_);
        for (const kv::app::CommandInfo& row : kv::app::commandTable()) {
            const int id = static_cast<int>(row.id);
            QCOMPARE(w.commandAction(id)->isEnabled(), w.hasCommandHandler(id));
        }
        // The shell's own commands work today; the document ones wait for their operations.
        for (CommandId id :
             {CommandId::Exit, CommandId::WindowReset, CommandId::WindowProject,
              CommandId::WindowInstrumentPanel, CommandId::WindowStatusBar, CommandId::HelpAbout}) {
            QVERIFY(w.commandAction(int(id))->isEnabled());
        }
        for (CommandId id : {CommandId::NewProject, CommandId::Begin, CommandId::OpenObject,
                             CommandId::PreferencesMemory}) {
            QVERIFY(!w.commandAction(int(id))->isEnabled());
        }
    }

    void enablingFollowsTheDocumentState() {
        MainWindow w(messages_);
        int runs = 0;
        w.setCommandHandler(CommandId::AddDxfScenery, [&] { ++runs; });
        w.setCommandHandler(CommandId::AddInteractiveDynamicObject, [&] { ++runs; });
        QAction* scenery = w.commandAction(int(CommandId::AddDxfScenery));
        QAction* interactive = w.commandAction(int(CommandId::AddInteractiveDynamicObject));
        kv::app::CommandState s;
        s.sceneryCount = 4;
        w.setDocumentState(s);
        QVERIFY(scenery->isEnabled());
        QVERIFY(interactive->isEnabled());
        s.sceneryCount = 5;     // the sixth scenery import
        s.interactiveCount = 2; // one interactive object exists
        w.setDocumentState(s);
        QVERIFY(!scenery->isEnabled());
        QVERIFY(!interactive->isEnabled());
        w.runCommand(int(CommandId::AddDxfScenery));
        QCOMPARE(runs, 0);
        s.sceneryCount = 1;
        w.setDocumentState(s);
        scenery->trigger();
        QCOMPARE(runs, 1);
    }

    void checkMarksFollowTheState() {
        MainWindow w(messages_);
        kv::app::CommandState s;
        s.vehicleType = 2;
        s.observeMode = true;
        w.setDocumentState(s);
        QVERIFY(w.commandAction(int(CommandId::VehicleAircraft))->isChecked());
        QVERIFY(!w.commandAction(int(CommandId::VehicleCar))->isChecked());
        QVERIFY(w.commandAction(int(CommandId::Observe))->isChecked());
    }

    void statusPromptAndReady() {
        MainWindow w(messages_);
        QCOMPARE(w.statusMessage()->text(), QStringLiteral("Ready"));
        QAction* a = w.commandAction(int(CommandId::Gravity));
        a->showStatusText(&w);
        QCOMPARE(w.statusMessage()->text(), QStringLiteral("Adjust the gravity of the situation."));
        QStatusTipEvent clear{QString()};
        QApplication::sendEvent(&w, &clear);
        QCOMPARE(w.statusMessage()->text(), QStringLiteral("Ready"));
        QStringList panes;
        for (const char* name : {"paneCAP", "paneNUM", "paneSCRL"}) {
            auto* label = w.findChild<QLabel*>(QString::fromLatin1(name));
            QVERIFY(label != nullptr);
            panes << label->text();
        }
        QCOMPARE(panes, (QStringList{"CAP", "NUM", "SCRL"}));
    }

    void statusBarCommandTogglesIt() {
        MainWindow w(messages_);
        w.show();
        QAction* a = w.commandAction(int(CommandId::WindowStatusBar));
        QVERIFY(a->isChecked());
        a->trigger();
        QVERIFY(w.statusBar()->isHidden());
        QVERIFY(!a->isChecked());
        a->trigger();
        QVERIFY(!w.statusBar()->isHidden());
    }

    void objectLibraryEntriesOpenTheirFile() {
        MainWindow w(messages_);
        std::vector<std::string> opened;
        w.setLibraryOpener([&](const std::filesystem::path& p) { opened.push_back(p.string()); });
        std::vector<kv::app::ObjectLibraryEntry> entries;
        for (int i = 0; i < 22; ++i) {
            entries.push_back(
                {"obj" + std::to_string(i), "/data/Objects/obj" + std::to_string(i) + ".kvo"});
        }
        w.setObjectLibrary(entries);
        QCOMPARE(int(w.objectLibrary().size()), 20);
        QVERIFY(w.commandAction(1064) == nullptr);
        QAction* second = w.commandAction(1045);
        QVERIFY(second != nullptr);
        QCOMPARE(second->text(), QStringLiteral("obj1"));
        QCOMPARE(second->statusTip(), QStringLiteral("Select this object."));
        QVERIFY(second->isEnabled());
        second->trigger();
        QCOMPARE(opened.size(), std::size_t(1));
        QCOMPARE(opened[0], std::string("/data/Objects/obj1.kvo"));
        // A new library replaces the old entries.
        w.setObjectLibrary({{"car", "/x/car.kvo"}});
        QVERIFY(w.commandAction(1045) == nullptr);
        QCOMPARE(w.commandAction(1044)->text(), QStringLiteral("car"));
    }

    void filesAreHandedOverInTurn() {
        MainWindow w(messages_);
        w.openPaths({"/p/a.kvp"}); // no opener yet: nothing happens
        std::vector<std::string> opened;
        w.setFileOpener([&](const std::filesystem::path& p) { opened.push_back(p.string()); });
        w.openPaths({"/p/a.kvp", "/p/notes.txt", "/p/run.KVM"});
        QCOMPARE(opened, (std::vector<std::string>{"/p/a.kvp", "/p/notes.txt", "/p/run.KVM"}));
    }

    void droppedLocalFilesAreOpened() {
        MainWindow w(messages_);
        std::vector<std::string> opened;
        w.setFileOpener([&](const std::filesystem::path& p) { opened.push_back(p.string()); });
        QVERIFY(w.acceptDrops());
        w.openDroppedUrls({QUrl::fromLocalFile("/tmp/take1.kvm"),
                           QUrl(QStringLiteral("https://example.org/remote.kvm")),
                           QUrl::fromLocalFile("/tmp/readme.txt")});
        QCOMPARE(opened, (std::vector<std::string>{"/tmp/take1.kvm", "/tmp/readme.txt"}));
    }

    void aboutBoxShowsItsPictureAndClosesOnAClick() {
        MainWindow w(messages_);
        QSize size;
        bool closed = false;
        kv::guitest::whenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<kv::gui::AboutBox*>(modal);
            QVERIFY(box != nullptr);
            size = box->size();
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
            closed = !box->isVisible();
        });
        w.commandAction(int(CommandId::HelpAbout))->trigger();
        QCOMPARE(size, QSize(504, 319));
        QVERIFY(closed);
        const QImage picture = kv::gui::aboutPicture().toImage();
        QCOMPARE(picture.size(), QSize(504, 319));
    }

    void exitWithoutChangesAsksNothing() {
        MainWindow w(messages_);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.commandAction(int(CommandId::Exit))->trigger();
        QVERIFY(!w.isVisible());
    }

    void exitAsksTheCloseGuard() {
        for (const bool allow : {false, true}) {
            MainWindow w(messages_);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            int asked = 0;
            w.setCloseGuard([&] {
                ++asked;
                return allow;
            });
            w.commandAction(int(CommandId::Exit))->trigger();
            QCOMPARE(asked, 1);
            QCOMPARE(w.isVisible(), !allow);
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
