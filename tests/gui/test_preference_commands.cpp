// Preferences > Reset, Preferences > Recovery... and Preferences > Save.
#include "app/commands/commands.h"
#include "app/settings/preferences_file.h"
#include "gui/main_window.h"
#include "gui/preference_commands.h"
#include "gui_test_support.h"
#include "views/camera_view.h"

#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QSpinBox>
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

    void recoveryIntervalIsChosenFromTheKeyboardAndResetGivesTheDefaultBack() {
        kv::guitest::RecordingMessages messages;
        kv::gui::MainWindow w(messages);
        kv::app::Preferences prefs;
        kv::gui::PreferenceCommands commands(w, prefs, "/nonexistent", messages);
        int changes = 0;
        commands.setOnRecoveryChanged([&] { ++changes; });
        commands.install();
        QCOMPARE(kv::app::recoveryMinutes(prefs), kv::app::kDefaultRecoveryMinutes);

        struct Step {
            const char* typed; ///< what is typed over the field's text
            int minutes;       ///< the interval after OK
        };
        for (const Step step : {Step{"10", 10}, Step{"0", 0}}) {
            QString shown;
            QString accessible;
            kv::guitest::whenModalShown([&](QWidget* modal) {
                auto* field = modal->findChild<QSpinBox*>(QStringLiteral("recoveryInterval"));
                if (field == nullptr) {
                    modal->close();
                    return;
                }
                accessible = field->accessibleName();
                field->setFocus();
                field->selectAll();
                QTest::keyClicks(field, QString::fromLatin1(step.typed));
                QTest::keyClick(field, Qt::Key_Return);
                shown = field->text();
            });
            w.commandAction(int(CommandId::PreferencesRecovery))->trigger();
            QCOMPARE(accessible, QStringLiteral("Copy a changed project every"));
            QCOMPARE(kv::app::recoveryMinutes(prefs), step.minutes);
            if (step.minutes == 0)
                QCOMPARE(shown, QStringLiteral("Never"));
        }
        QCOMPARE(changes, 2);
        w.commandAction(int(CommandId::PreferencesReset))->trigger();
        QCOMPARE(kv::app::recoveryMinutes(prefs), kv::app::kDefaultRecoveryMinutes);
        QCOMPARE(changes, 3);
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
