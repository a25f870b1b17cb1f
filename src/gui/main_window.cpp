#include "gui/main_window.h"

#include "app/windows/view_aspect_check.h"
#include "gui/about_box.h"
#include "gui/user_guide_window.h"
#include "views/camera_view.h"
#include "views/child_window.h"
#include "views/instrument_view.h"
#include "views/project_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QUrl>

namespace kv::gui {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MainWindow::MainWindow(MessagePort& messages, QWidget* parent)
    : QMainWindow(parent), messages_(messages) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Kestrovane"));
    setAcceptDrops(true);
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setBackground(QColor(128, 128, 128));
    setCentralWidget(mdi_);
    buildMenus();
    buildStatusBar();
    createChildWindows();
    installWindowCommands();
    refreshCommandStates();
}

MainWindow::~MainWindow() {
    // The child windows hide while the frame is torn down; no state refresh then.
    for (views::KvChildWindow* w : {cameraWindow_, panelWindow_, projectWindow_}) {
        w->disconnect(this);
    }
    mdi_->disconnect(this);
    cameraView_->removeEventFilter(this);
}

// ---- Commands -------------------------------------------------------------------------------

QMenu* MainWindow::menuFor(const std::vector<std::string_view>& levels) {
    std::string key;
    QMenu* menu = nullptr;
    for (std::size_t i = 0; i + 1 < levels.size(); ++i) {
        if (!key.empty())
            key += '>';
        key += levels[i];
        auto found = menus_.find(key);
        if (found != menus_.end()) {
            menu = found->second;
            continue;
        }
        QMenu* created = menu == nullptr ? menuBar()->addMenu(fromView(levels[i]))
                                         : menu->addMenu(fromView(levels[i]));
        created->setObjectName(QString::fromStdString("menu:" + key));
        connect(created, &QMenu::aboutToShow, this, &MainWindow::refreshCommandStates);
        menus_[key] = created;
        menu = created;
    }
    return menu;
}

void MainWindow::buildMenus() {
    // Top-level menus exist in their bar order even before their first item.
    for (std::string_view top : app::topLevelMenus())
        menuFor({top, ""});
    for (const app::CommandInfo& row : app::commandTable()) {
        const auto levels = app::menuPathLevels(row.menuPath);
        QMenu* menu = menuFor(levels);
        if (row.separatorBefore)
            menu->addSeparator();
        QAction* action = menu->addAction(fromView(levels.back()));
        const int id = static_cast<int>(row.id);
        action->setData(id);
        action->setObjectName(QStringLiteral("command%1").arg(id));
        if (!row.shortcut.empty())
            action->setShortcut(QKeySequence(fromView(row.shortcut)));
        action->setStatusTip(fromView(row.prompt));
        action->setCheckable(row.check != app::CheckRule::None);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[id] = action;
    }
    objectMenu_ = menus_.at("Object");
}

void MainWindow::setCommandHandler(app::CommandId id, Handler handler) {
    handlers_[static_cast<int>(id)] = std::move(handler);
    refreshCommandStates();
}

bool MainWindow::hasCommandHandler(int id) const {
    if (id >= app::kObjectLibraryFirstId &&
        id < app::kObjectLibraryFirstId + static_cast<int>(library_.size())) {
        return true;
    }
    return handlers_.count(id) != 0;
}

QAction* MainWindow::commandAction(int id) const {
    auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::runCommand(int id) {
    if (runActive_)
        return;
    refreshCommandStates();
    QAction* action = commandAction(id);
    if (action == nullptr || !action->isEnabled())
        return;
    const int libraryIndex = id - app::kObjectLibraryFirstId;
    if (libraryIndex >= 0 && libraryIndex < static_cast<int>(library_.size())) {
        if (libraryOpener_)
            libraryOpener_(library_[static_cast<std::size_t>(libraryIndex)].path);
    } else if (auto found = handlers_.find(id); found != handlers_.end()) {
        // A copy: the handler may replace itself.
        Handler handler = found->second;
        handler();
    }
    if (commandDone_)
        commandDone_(id);
    viewsChanged();
}

void MainWindow::viewsChanged() {
    refreshCommandStates();
    instrumentView_->update();
    projectView_->update();
    if (afterCommand_)
        afterCommand_();
}

void MainWindow::setRunActive(bool active) {
    runActive_ = active;
    menuBar()->setEnabled(!active);
    projectView_->setEnabled(!active);
    refreshCommandStates();
}

app::CommandState MainWindow::commandState() const {
    app::CommandState s = stateSource_ ? stateSource_() : documentState_;
    s.instrumentPanelVisible = panelWindow_ != nullptr && !panelWindow_->isHidden();
    s.projectWindowVisible = projectWindow_ != nullptr && !projectWindow_->isHidden();
    s.statusBarVisible = !statusBar()->isHidden();
    return s;
}

void MainWindow::setDocumentState(const app::CommandState& state) {
    documentState_ = state;
    refreshCommandStates();
}

void MainWindow::refreshCommandStates() {
    const app::CommandState state = commandState();
    for (const app::CommandInfo& row : app::commandTable()) {
        QAction* action = actions_.at(static_cast<int>(row.id));
        action->setEnabled(!runActive_ && hasCommandHandler(static_cast<int>(row.id)) &&
                           app::isCommandEnabled(row.enable, state));
        if (const auto checked = app::commandChecked(row.check, state)) {
            action->setChecked(*checked);
        }
    }
}

// ---- Object library and opening files --------------------------------------------------------

void MainWindow::setObjectLibrary(std::vector<app::ObjectLibraryEntry> entries) {
    for (QAction* a : libraryActions_) {
        actions_.erase(a->data().toInt());
        objectMenu_->removeAction(a);
        delete a;
    }
    libraryActions_.clear();
    if (entries.size() > static_cast<std::size_t>(app::kObjectLibraryMaxEntries)) {
        entries.resize(static_cast<std::size_t>(app::kObjectLibraryMaxEntries));
    }
    library_ = std::move(entries);
    for (std::size_t i = 0; i < library_.size(); ++i) {
        auto* action = new QAction(QString::fromStdString(library_[i].menuText), objectMenu_);
        if (i == 0) {
            auto* separator = new QAction(objectMenu_);
            separator->setSeparator(true);
            separator->setData(-1);
            objectMenu_->addAction(separator);
            libraryActions_.push_back(separator);
        }
        const int id = app::kObjectLibraryFirstId + static_cast<int>(i);
        action->setData(id);
        action->setObjectName(QStringLiteral("command%1").arg(id));
        action->setStatusTip(fromView(app::commandPrompt(id)));
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        objectMenu_->addAction(action);
        libraryActions_.push_back(action);
        actions_[id] = action;
    }
}

void MainWindow::openPaths(const QStringList& paths) {
    if (runActive_)
        return;
    for (const QString& path : paths) {
        if (fileOpener_)
            fileOpener_(std::filesystem::path(QFile::encodeName(path).toStdString()));
        if (commandDone_)
            commandDone_(-1);
        viewsChanged();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !runActive_)
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls() || runActive_)
        return;
    event->acceptProposedAction();
    openDroppedUrls(event->mimeData()->urls());
}

void MainWindow::openDroppedUrls(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    openPaths(paths);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---- Status bar ---------------------------------------------------------------------------------

void MainWindow::buildStatusBar() {
    statusMessage_ = new QLabel(fromView(app::kIdlePrompt), this);
    statusMessage_->setObjectName(QStringLiteral("statusMessage"));
    statusBar()->addWidget(statusMessage_, 1);
    for (const char* pane : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(QString::fromLatin1(pane), this);
        label->setObjectName(QStringLiteral("pane%1").arg(QString::fromLatin1(pane)));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        statusBar()->addPermanentWidget(label);
    }
}

void MainWindow::showRunPrompt(bool running, std::string_view prompt) {
    runPromptShown_ = running;
    runPrompt_ = fromView(prompt);
    if (running)
        notice_.clear();
    if (!running && !notice_.isEmpty()) {
        statusMessage_->setText(notice_);
        return;
    }
    statusMessage_->setText(running ? runPrompt_ : fromView(app::kIdlePrompt));
}

void MainWindow::showNotice(std::string_view text) {
    notice_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    statusMessage_->setText(runPromptShown_ ? notice_ + QStringLiteral("  ") + runPrompt_
                                            : notice_);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // During a run the pointer may cross the menu bar: the run's prompt stays.
        if (runPromptShown_)
            return true;
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        // The pointer leaving a menu sends an empty tip: a notice stays until
        // a real tip replaces it.
        if (!tip.isEmpty())
            notice_.clear();
        statusMessage_->setText(
            tip.isEmpty() ? (notice_.isEmpty() ? fromView(app::kIdlePrompt) : notice_) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

// ---- Child windows ------------------------------------------------------------------------------

void MainWindow::createChildWindows() {
    using views::KvChildWindow;
    cameraView_ = new views::CameraView;
    instrumentView_ = new views::InstrumentView;
    projectView_ = new views::ProjectView;
    cameraWindow_ = new KvChildWindow(QStringLiteral("Camera View"), cameraView_,
                                      KvChildWindow::Style::Resizable, false);
    panelWindow_ = new KvChildWindow(QStringLiteral("Instrument Panel"), instrumentView_,
                                     KvChildWindow::Style::Fixed, true);
    projectWindow_ = new KvChildWindow(QStringLiteral("Project"), projectView_,
                                       KvChildWindow::Style::Resizable, true);
    cameraWindow_->setObjectName(QStringLiteral("cameraWindow"));
    panelWindow_->setObjectName(QStringLiteral("panelWindow"));
    projectWindow_->setObjectName(QStringLiteral("projectWindow"));
    for (KvChildWindow* w : {projectWindow_, panelWindow_, cameraWindow_}) {
        mdi_->addSubWindow(w, w->windowFlags());
        connect(w, &KvChildWindow::visibilityChanged, this, &MainWindow::refreshCommandStates);
    }
    // Initial sizes: the client sizes plus each frame's allowance.
    const QSize resizable = cameraWindow_->frameAllowance();
    const QSize fixed = panelWindow_->frameAllowance();
    cameraWindow_->resize(QSize(400, 300) + resizable);
    panelWindow_->setFixedSize(QSize(app::kPanelClientWidth, app::kPanelClientHeight) + fixed);
    projectWindow_->resize(QSize(app::kProjectClientWidth, app::kProjectClientHeight) + resizable);

    cameraView_->installEventFilter(this);

    // Whichever window is activated, the keys go to the camera view.
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        if (w != nullptr && !layingOut_)
            focusCameraView();
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cameraView_ && event->type() == QEvent::Resize && !aspectCheckPending_) {
        // Checked once the resize has settled, before the next frame is drawn.
        aspectCheckPending_ = true;
        QTimer::singleShot(0, this, [this] {
            aspectCheckPending_ = false;
            checkViewAspect();
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::checkViewAspect() {
    if (useWindowAspect_ || layingOut_ || cameraWindow_->isMaximized() ||
        cameraWindow_->isMinimized() || cameraWindow_->isHidden())
        return;
    const QSize client = cameraView_->size();
    if (const auto height = app::aspectSnapHeight(client.width(), client.height(), cameraAspect_))
        cameraWindow_->resize(cameraWindow_->width(),
                              cameraWindow_->height() + (*height - client.height()));
}

void MainWindow::focusCameraView() {
    if (cameraView_ != nullptr && !cameraView_->hasFocus()) {
        cameraView_->setFocus(Qt::OtherFocusReason);
    }
}

app::ScreenMetrics MainWindow::screenMetrics() const {
    app::ScreenMetrics m;
    const QSize area = mdi_->viewport()->size();
    m.width = area.width();
    m.height = area.height();
    const QSize resizable = cameraWindow_->frameAllowance();
    const QSize fixed = panelWindow_->frameAllowance();
    m.resizable = {resizable.width(), resizable.height()};
    m.fixed = {fixed.width(), fixed.height()};
    return m;
}

namespace {
QRect toQRect(const app::WindowRect& r) {
    return {r.x, r.y, r.width, r.height};
}
} // namespace

void MainWindow::resetWindows() {
    layingOut_ = true;
    panelWindow_->show();
    projectWindow_->show();
    cameraWindow_->showNormal();
    projectWindow_->showNormal();
    const QRect current = cameraWindow_->geometry();
    const app::WindowLayout layout =
        app::resetWindowLayout(screenMetrics(), cameraAspect_, useWindowAspect_,
                               {current.x(), current.y(), current.width(), current.height()});
    cameraWindow_->placeAt(toQRect(layout.camera));
    panelWindow_->placeAt(toQRect(layout.panel));
    projectWindow_->placeAt(toQRect(layout.project));
    layingOut_ = false;
    mdi_->setActiveSubWindow(cameraWindow_);
    focusCameraView();
    refreshCommandStates();
}

void MainWindow::showAllWindows() {
    cameraWindow_->show();
    panelWindow_->show();
    projectWindow_->show();
    mdi_->setActiveSubWindow(cameraWindow_);
    focusCameraView();
    refreshCommandStates();
}

void MainWindow::setCameraAspect(float aspect, bool useWindowAspect) {
    const bool changed = aspect != cameraAspect_ || useWindowAspect != useWindowAspect_;
    cameraAspect_ = aspect;
    useWindowAspect_ = useWindowAspect;
    if (!changed)
        return;
    const QRect current = cameraWindow_->geometry();
    const app::WindowRect r =
        app::cameraAfterAspectChange(screenMetrics(), cameraAspect_, useWindowAspect_,
                                     {current.x(), current.y(), current.width(), current.height()});
    cameraWindow_->placeAt(toQRect(r));
}

void MainWindow::installWindowCommands() {
    using app::CommandId;
    setCommandHandler(CommandId::Exit, [this] { close(); });
    setCommandHandler(CommandId::WindowReset, [this] { resetWindows(); });
    setCommandHandler(CommandId::WindowInstrumentPanel, [this] {
        panelWindow_->setVisible(panelWindow_->isHidden());
        focusCameraView();
    });
    setCommandHandler(CommandId::WindowProject, [this] {
        projectWindow_->setVisible(projectWindow_->isHidden());
        focusCameraView();
    });
    setCommandHandler(CommandId::WindowStatusBar,
                      [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    setCommandHandler(CommandId::HelpUserGuide, [this] { showUserGuide(this); });
    setCommandHandler(CommandId::HelpAbout, [this] { showAboutBox(true); });
}

void MainWindow::showAboutBox(bool blocking) {
    auto* box = new AboutBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (blocking) {
        box->exec();
    } else {
        box->open();
    }
}

} // namespace kv::gui
