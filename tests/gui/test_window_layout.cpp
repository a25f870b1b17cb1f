// The three child windows: sizes, the default layout, Window > Reset, showing
// and hiding, and the keyboard focus that always returns to the camera view.
#include "app/commands/commands.h"
#include "app/windows/status_window_layout.h"
#include "gui/main_window.h"
#include "gui_test_support.h"
#include "views/camera_view.h"
#include "views/child_window.h"

#include <QAction>
#include <QMdiArea>
#include <QTest>

using kv::app::CommandId;
using kv::gui::MainWindow;

class WindowLayoutTest : public QObject {
    Q_OBJECT

    kv::guitest::RecordingMessages messages_;

    static void showAt(MainWindow& w, int width, int height) {
        w.resize(width, height);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::setActiveWindow(&w);
        QTest::qWait(20);
    }

  private slots:
    void childWindowsHaveTheirTitlesAndStyles() {
        MainWindow w(messages_);
        QCOMPARE(w.cameraWindow()->windowTitle(), QStringLiteral("Camera View"));
        QCOMPARE(w.panelWindow()->windowTitle(), QStringLiteral("Instrument Panel"));
        QCOMPARE(w.projectWindow()->windowTitle(), QStringLiteral("Project"));
        QCOMPARE(w.mdiArea()->subWindowList().size(), 3);
        QCOMPARE(w.panelWindow()->style(), kv::views::KvChildWindow::Style::Fixed);
        QCOMPARE(w.cameraWindow()->style(), kv::views::KvChildWindow::Style::Resizable);
        QCOMPARE(w.projectWindow()->style(), kv::views::KvChildWindow::Style::Resizable);
        QVERIFY(!(w.cameraWindow()->windowFlags() & Qt::WindowCloseButtonHint));
    }

    void resetLaysOutTheWindows() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        const kv::app::ScreenMetrics sm = w.screenMetrics();
        const int m = kv::app::layoutMargin(sm.width);
        QVERIFY(sm.width > 1000);

        // Client sizes: camera 400 wide at the 4:3 aspect, panel 400 x 300, project 200 x 300.
        QCOMPARE(w.cameraView()->size(), QSize(400, 300));
        QCOMPARE(w.panelWindow()->widget()->size(), QSize(400, 300));
        QCOMPARE(w.projectWindow()->widget()->size(), QSize(200, 300));

        const QRect camera = w.cameraWindow()->geometry();
        QCOMPARE(camera.top(), m);
        QCOMPARE(camera.left(), (sm.width - camera.width()) / 2);
        const QRect panel = w.panelWindow()->geometry();
        QCOMPARE(panel.top(), sm.height / 2 - m);
        QCOMPARE(panel.left(), sm.width / 2 - panel.width() / 2);
        QCOMPARE(w.projectWindow()->geometry().topLeft(), QPoint(m, m));
    }

    void panelCannotBeResized() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        const QSize before = w.panelWindow()->size();
        w.panelWindow()->resize(before + QSize(50, 50));
        QCOMPARE(w.panelWindow()->size(), before);
    }

    void windowResetShowsAndRestores() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        const QRect camera = w.cameraWindow()->geometry();
        const QRect panel = w.panelWindow()->geometry();
        QAction* panelItem = w.commandAction(int(CommandId::WindowInstrumentPanel));
        QAction* projectItem = w.commandAction(int(CommandId::WindowProject));
        QVERIFY(panelItem->isChecked());
        panelItem->trigger();
        projectItem->trigger();
        QVERIFY(w.panelWindow()->isHidden());
        QVERIFY(w.projectWindow()->isHidden());
        QVERIFY(!panelItem->isChecked());
        QVERIFY(!projectItem->isChecked());
        w.cameraWindow()->move(5, 300);
        w.cameraWindow()->resize(200, 100);

        w.commandAction(int(CommandId::WindowReset))->trigger();
        QVERIFY(!w.panelWindow()->isHidden());
        QVERIFY(!w.projectWindow()->isHidden());
        QVERIFY(panelItem->isChecked());
        QVERIFY(projectItem->isChecked());
        QCOMPARE(w.cameraWindow()->geometry(), camera);
        QCOMPARE(w.panelWindow()->geometry(), panel);
    }

    void closingASideWindowHidesIt() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        w.projectWindow()->close();
        QVERIFY(w.projectWindow()->isHidden());
        QVERIFY(!w.commandAction(int(CommandId::WindowProject))->isChecked());
        QCOMPARE(w.mdiArea()->subWindowList().size(), 3);
        w.cameraWindow()->close();
        QVERIFY(!w.cameraWindow()->isHidden());
    }

    void focusReturnsToTheCameraView() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        QTRY_VERIFY(w.cameraView()->hasFocus());
        w.mdiArea()->setActiveSubWindow(w.projectWindow());
        QTRY_VERIFY(w.cameraView()->hasFocus());
        w.mdiArea()->setActiveSubWindow(w.panelWindow());
        QTRY_VERIFY(w.cameraView()->hasFocus());
        w.commandAction(int(CommandId::WindowProject))->trigger();
        QTRY_VERIFY(w.cameraView()->hasFocus());
    }

    void smallFrameCutsTheCameraHeight() {
        MainWindow w(messages_);
        showAt(w, 1024, 560);
        w.resetWindows();
        const kv::app::ScreenMetrics sm = w.screenMetrics();
        const int m = kv::app::layoutMargin(sm.width);
        QVERIFY(w.cameraWindow()->height() <= sm.height - 5 * m);
        QCOMPARE(w.cameraWindow()->geometry().top(), m);
    }

    void cameraNeverCoversThePanelOnAShortFrame() {
        MainWindow w(messages_);
        showAt(w, 1024, 768);
        w.resetWindows();
        const QRect camera = w.cameraWindow()->geometry();
        const QRect panel = w.panelWindow()->geometry();
        QCOMPARE(w.cameraView()->size(), QSize(400, 300));
        QVERIFY(!camera.intersects(panel));
        QCOMPARE(panel.top(), camera.bottom() + 1);
    }

    void aResizedCameraViewGetsItsAspectBack() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        QCOMPARE(w.cameraView()->size(), QSize(400, 300));
        // Widened by the user: the height follows, the width stays.
        w.cameraWindow()->resize(w.cameraWindow()->size() + QSize(100, 0));
        QTRY_COMPARE(w.cameraView()->size(), QSize(500, 375));
        // With the window's own aspect the shape the user gives is kept.
        w.setCameraAspect(1.3333f, true);
        w.cameraWindow()->resize(w.cameraWindow()->size() + QSize(0, 50));
        QTest::qWait(50);
        QCOMPARE(w.cameraView()->size(), QSize(500, 425));
    }

    void aspectChangeResizesTheCamera() {
        MainWindow w(messages_);
        showAt(w, 1280, 1024);
        w.resetWindows();
        w.setCameraAspect(2.0f, false);
        QCOMPARE(w.cameraView()->size(), QSize(400, 200));
        w.setCameraAspect(1.0f, true);
        QCOMPARE(w.cameraView()->size(), QSize(400, 200));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
