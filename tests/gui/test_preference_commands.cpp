// Preferences > Reset and Preferences > Save.
#include "app/commands/commands.h"
#include "app/settings/preferences_file.h"
#include "gui/main_window.h"
#include "gui/preference_commands.h"
#include "gui_test_support.h"
#include "views/camera_view.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

using kv::app::CommandId;

class PreferenceCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void resetKeepsTheMemorySettings() {
        kv::guitest::RecordingMessages messages;
        kv::gui::MainWindow w(messages);
        kv::app::Preferences prefs;
        prefs.objectSlots = 12;
        prefs.recordFrames = 5000;
        prefs.terrainGrid = 100;
        prefs.gridSpacing = 10.0f;
        prefs.lengthUnitFactor = 1.0f;
        prefs.reserved0 = 77;
        kv::gui::PreferenceCommands commands(w, prefs, "/nonexistent", messages);
        int resets = 0;
        commands.setOnReset([&] { ++resets; });
        commands.install();
        QCOMPARE(w.cameraView()->gridSpacing(), 10.0f);

        QAction* reset = w.commandAction(int(CommandId::PreferencesReset));
        QVERIFY(reset->isEnabled());
        reset->trigger();
        QCOMPARE(prefs.objectSlots, 12);
        QCOMPARE(prefs.recordFrames, 5000);
        QCOMPARE(prefs.terrainGrid, 100);
        QCOMPARE(prefs.gridSpacing, 50.0f);
        QCOMPARE(prefs.lengthUnitFactor, 3.2808f);
        QCOMPARE(prefs.reserved0, 77);
        QCOMPARE(w.cameraView()->gridSpacing(), 50.0f);
        QCOMPARE(resets, 1);
    }

    void saveWritesThePreferenceFile() {
        QTemporaryDir dir;
        kv::guitest::RecordingMessages messages;
        kv::gui::MainWindow w(messages);
        kv::app::Preferences prefs;
        prefs.gridSize = 750.0f;
        kv::gui::PreferenceCommands commands(w, prefs, dir.path().toStdString(), messages);
        commands.install();
        w.commandAction(int(CommandId::PreferencesSave))->trigger();
        QVERIFY(messages.messages.empty());
        kv::app::Preferences read;
        QCOMPARE(kv::app::readPreferenceFile(commands.preferenceFile(), read),
                 kv::app::PreferenceFileStatus::kRead);
        QCOMPARE(read.gridSize, 750.0f);
    }

    void failedSaveIsReported() {
        kv::guitest::RecordingMessages messages;
        kv::gui::MainWindow w(messages);
        kv::app::Preferences prefs;
        kv::gui::PreferenceCommands commands(w, prefs, "/nonexistent/kestrovane/data", messages);
        commands.install();
        w.commandAction(int(CommandId::PreferencesSave))->trigger();
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(messages.messages[0], std::string(kv::gui::kPreferencesNotSavedMessage));
    }
};

QTEST_MAIN(PreferenceCommandsTest)
#include "test_preference_commands.moc"
