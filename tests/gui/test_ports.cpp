// The desktop side of the core's ports: the message box, the file dialogs and
// the progress window with its timing rule and ESC abort.
#include "app/windows/progress_timing.h"
#include "dialogs/file_dialog_setup.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_message_box.h"
#include "gui/qt_progress.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class PortsTest : public QObject {
    Q_OBJECT

    static kv::FileRequest motionSaveRequest() {
        kv::FileRequest request;
        request.title = "Save Sim Motion As:";
        request.filter = "Kestrovane Motion Files (*.kvm;*.KVM);;All Files (*.*)";
        request.extension = "kvm";
        request.defaultName = "Motion";
        request.save = true;
        return request;
    }

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void messageBoxWrapsAndHasTheProgramTitle() {
        kv::gui::QtMessageBox box;
        QString title, text;
        QStringList buttons;
        kv::guitest::whenModalShown([&](QWidget* modal) {
            auto* m = qobject_cast<QMessageBox*>(modal);
            QVERIFY(m != nullptr);
            title = m->windowTitle();
            text = m->text();
            for (auto* b : m->buttons())
                buttons << b->text().remove(u'&');
            m->accept();
        });
        box.showMessage("The quick brown fox jumps over the lazy dog and keeps on running far "
                        "beyond the edge of the map, past every hill and river, until nothing "
                        "is left of this long message text at all.");
        QCOMPARE(title, QStringLiteral("Kestrovane"));
        QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
        const QStringList lines = text.split(u'\n');
        QCOMPARE(lines.size(), 4);
        for (const QString& line : lines)
            QVERIFY2(line.size() <= 43, qPrintable(line));
        QCOMPARE(lines[0], QStringLiteral("The quick brown fox jumps over the lazy dog"));
    }

    void nameFiltersFromRequests() {
        using kv::dialogs::qtNameFilters;
        QCOMPARE(qtNameFilters("Kestrovane Project Files (*.kvp;*.KVP);;All Files (*.*)"),
                 (QStringList{"Kestrovane Project Files (*.kvp *.KVP)", "All Files (*)"}));
        QCOMPARE(qtNameFilters("Kestrovane Motion Files (*.kvm)"),
                 QStringList{"Kestrovane Motion Files (*.kvm)"});
        QVERIFY(qtNameFilters("").isEmpty());
    }

    void saveDialogIsConfiguredFromTheRequest() {
        // Checked on an unshown dialog: once shown, the dialog's folder model
        // loads in the background and may touch the name field at any moment.
        QFileDialog dialog;
        kv::dialogs::configureFileDialog(dialog, motionSaveRequest());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sim Motion As:"));
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{"Kestrovane Motion Files (*.kvm *.KVM)", "All Files (*)"}));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("kvm"));
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), QStringLiteral("Motion"));
    }

    void saveDialogAppendsTheExtension() {
        QTemporaryDir dir;
        kv::gui::QtFileDialogs files;
        kv::guitest::whenModalShown([&](QWidget* modal) {
            auto* d = qobject_cast<QFileDialog*>(modal);
            QVERIFY(d != nullptr);
            // A full path typed into the name field does not depend on which
            // folder the dialog happens to be listing.
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit != nullptr);
            edit->setText(dir.filePath(QStringLiteral("take1")));
            static_cast<QDialog*>(d)->accept();
        });
        const auto chosen = files.choose(motionSaveRequest());
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(*chosen), dir.filePath(QStringLiteral("take1.kvm")));
    }

    void cancelledDialogGivesNothing() {
        kv::gui::QtFileDialogs files;
        kv::FileRequest request;
        request.title = "Open Project File:";
        kv::guitest::whenModalShown(
            [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QVERIFY(!files.choose(request).has_value());
    }

    void dataFolderIsStoredOnFirstStart() {
        QSettings settings(kv::gui::kOrganisation, kv::gui::kApplication);
        settings.remove(kv::gui::kKeyDirectoryKey);
        settings.sync();
        QCOMPARE(kv::gui::ensureDataFolder(QStringLiteral("/first/folder")),
                 QStringLiteral("/first/folder"));
        QCOMPARE(kv::gui::ensureDataFolder(QStringLiteral("/other")),
                 QStringLiteral("/first/folder"));
        QSettings reread(kv::gui::kOrganisation, kv::gui::kApplication);
        QCOMPARE(reread.value(QStringLiteral("Settings/KeyDirectory")).toString(),
                 QStringLiteral("/first/folder"));
    }

    void progressWindowFollowsTheTimingRule() {
        QWidget frame;
        frame.resize(600, 400);
        frame.show();
        kv::guitest::ManualClock clock;
        kv::gui::QtProgressWindow window(&frame);
        kv::app::ProgressDisplay display(clock, window);
        const char* label = "Reading Terrain Polygons:";

        // Fast job: nothing is ever created.
        display.show(kv::app::ProgressMode::Start, true, label, 0.0);
        clock.now = 0.2;
        QVERIFY(display.show(kv::app::ProgressMode::Update, true, label, 0.5));
        QVERIFY(display.show(kv::app::ProgressMode::Finish, true, label, 1.0));
        QVERIFY(window.dialog() == nullptr);
        QVERIFY(frame.findChildren<QDialog*>().isEmpty());

        // Slow job: the "Status" window with the bar, label and ESC line.
        display.show(kv::app::ProgressMode::Start, true, label, 0.0);
        clock.now = 0.2;
        QVERIFY(display.show(kv::app::ProgressMode::Update, true, label, 0.1));
        QDialog* dialog = window.dialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Status"));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("progressLabel"))->text(),
                 QString::fromLatin1(label));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("progressEscapeLine"))->text(),
                 QStringLiteral("Press ESC to Abort"));
        QCOMPARE(dialog->findChild<QProgressBar*>()->value(), 10);
        clock.now = 0.4;
        QVERIFY(display.show(kv::app::ProgressMode::Update, true, label, 0.3));
        QCOMPARE(dialog->findChild<QProgressBar*>()->value(), 30);
        QVERIFY(display.show(kv::app::ProgressMode::Finish, true, label, 1.0));
        QVERIFY(window.dialog() == nullptr);
    }

    void escapeAbortsAndOtherInputIsHeldBack() {
        QWidget frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        kv::guitest::ManualClock clock;
        kv::gui::QtProgressWindow window(&frame);
        kv::app::ProgressDisplay display(clock, window);
        const char* label = "Reading Scenery Polygons:";
        display.show(kv::app::ProgressMode::Start, true, label, 0.0);
        clock.now = 1.0;
        QVERIFY(display.show(kv::app::ProgressMode::Update, true, label, 0.2));
        QVERIFY(window.dialog() != nullptr);

        // A click on a button elsewhere does nothing while the job runs.
        QPushButton other(QStringLiteral("other"));
        int clicks = 0;
        connect(&other, &QPushButton::clicked, [&] { ++clicks; });
        other.show();
        QTest::mouseClick(&other, Qt::LeftButton);
        QVERIFY(display.show(kv::app::ProgressMode::Update, true, label, 0.3));
        QCOMPARE(clicks, 0);

        QTest::keyClick(window.dialog(), Qt::Key_Escape);
        QVERIFY(!display.show(kv::app::ProgressMode::Update, true, label, 0.4));
        QVERIFY(window.dialog() == nullptr);
        // Input flows again once the window is gone.
        QTest::mouseClick(&other, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }

    void escapeIsIgnoredForJobsThatCannotStop() {
        kv::guitest::ManualClock clock;
        kv::gui::QtProgressWindow window;
        kv::app::ProgressDisplay display(clock, window);
        display.show(kv::app::ProgressMode::Start, false, "Building Terrain:", 0.0);
        clock.now = 1.0;
        QVERIFY(display.show(kv::app::ProgressMode::Update, false, "Building Terrain:", 0.2));
        QCOMPARE(window.dialog()->findChild<QLabel*>(QStringLiteral("progressEscapeLine"))->text(),
                 QString());
        QTest::keyClick(window.dialog(), Qt::Key_Escape);
        QVERIFY(display.show(kv::app::ProgressMode::Update, false, "Building Terrain:", 0.4));
        QVERIFY(window.dialog() != nullptr);
        display.show(kv::app::ProgressMode::Finish, false, "Building Terrain:", 1.0);
        QVERIFY(window.dialog() == nullptr);
    }

    void progressPortDrivesTheDialog() {
        kv::gui::QtProgress progress;
        progress.start("Reading Scenery Polygons:");
        QVERIFY(progress.update(0.99)); // far too early to show anything
        progress.finish();
        QVERIFY(progress.window().dialog() == nullptr);
    }
};

QTEST_MAIN(PortsTest)
#include "test_ports.moc"
