// The run state's "slots" member must be read before Qt defines its macro.
// clang-format off
#include "app/document/document.h"
#include "gui/live_run.h"
// clang-format on

#include "gui/view_links.h"

#include "app/camera/camera_keys.h"
#include "app/commands/commands.h"
#include "app/commands/object_library.h"
#include "app/project_tree/project_actions.h"
#include "app/settings/units.h"
#include "common/unit_constants.h"
#include "dialogs/appearance_dialog.h"
#include "dialogs/transform_dialog.h"
#include "gui/main_window.h"
#include "views/camera_view.h"
#include "views/child_window.h"
#include "views/instrument_view.h"
#include "views/project_view.h"

#include <algorithm>

namespace kv::gui {

using app::CommandId;

ViewLinks::ViewLinks(MainWindow& window, app::Document& doc, LiveRun& run, MessagePort& messages)
    : window_(window), doc_(doc), live_(run), messages_(messages),
      panel_(doc, *window.instrumentView()) {
    views::ProjectView* view = window_.projectView();
    view->setKeyTarget(window_.cameraView());
    QObject::connect(view, &views::ProjectView::saveAsRequested, view,
                     [this](int row, bool alt) { saveAs(row, alt); });
    QObject::connect(view, &views::ProjectView::deleteRequested, view,
                     [this](int row) { remove(row); });
    QObject::connect(view, &views::ProjectView::transformRequested, view,
                     [this](int row) { transform(row); });
    QObject::connect(view, &views::ProjectView::colorRequested, view,
                     [this](int row) { color(row); });
    // Shown again: the whole panel as it stands now.
    QObject::connect(window_.panelWindow(), &views::KvChildWindow::visibilityChanged,
                     window_.instrumentView(), [this](bool visible) {
                         if (visible && !live_.running())
                             drawPanel(false);
                     });
    live_.setFrameDrawn([this](bool live) {
        drawPanel(live);
        // F11 during a run or outside it: the star moves to the followed object.
        if (followed() != shownFollowed_)
            refreshProjectTree();
    });
    window_.setCommandDone([this](int id) { afterCommand(id); });
    applyViewingDistance();
    refreshProjectTree();
    drawPanel(false);
}

ViewLinks::~ViewLinks() {
    window_.setCommandDone({});
    live_.setFrameDrawn({});
    window_.projectView()->disconnect();
    window_.projectView()->setKeyTarget(nullptr);
}

int ViewLinks::followed() const {
    return live_.content().scene().followed;
}

void ViewLinks::drawPanel(bool live) {
    panel_.draw(live);
}

void ViewLinks::refreshProjectTree() {
    views::SceneContent& content = live_.content();
    content.refreshSettings();
    // After a removal or with observing turned on, the followed object is the
    // one the next run will follow: never past the last object, never object 0
    // while it is only watched.
    app::SceneState& scene = content.scene();
    scene.followed = app::followedOnFirstFrame(scene.followed, scene.objectCount, scene.observing);
    shownFollowed_ = followed();
    items_ = app::projectItems(doc_, shownFollowed_);
    std::vector<views::ProjectView::Row> rows;
    rows.reserve(items_.size());
    for (const app::ProjectItem& item : items_)
        rows.push_back({static_cast<int>(item.kind), QString::fromStdString(item.label)});
    window_.projectView()->setRows(rows);
    window_.projectWindow()->setWindowTitle(QString::fromStdString(app::projectWindowTitle(doc_)));
}

void ViewLinks::applyViewingDistance() {
    const float feet = app::viewingDistance(doc_);
    if (feet > 0.0f)
        live_.content().scene().camera.orbitDistance = std::max(1.0f, feet * kMetresPerFoot);
}

void ViewLinks::afterCommand(int id) {
    const bool newObject = id < 0 || id == static_cast<int>(CommandId::OpenObject) ||
                           id == static_cast<int>(CommandId::AddDxfObjectGeometry) ||
                           id == static_cast<int>(CommandId::VehicleCar) ||
                           id == static_cast<int>(CommandId::VehicleMotorcycle) ||
                           id == static_cast<int>(CommandId::VehicleAircraft) ||
                           id == static_cast<int>(CommandId::VehicleHelicopter) ||
                           (id >= app::kObjectLibraryFirstId &&
                            id < app::kObjectLibraryFirstId + app::kObjectLibraryMaxEntries);
    if (newObject && !live_.running())
        applyViewingDistance();
    refreshProjectTree();
    drawPanel(false);
}

void ViewLinks::projectChanged() {
    live_.projectChanged();
    refreshProjectTree();
    window_.refreshCommandStates();
}

void ViewLinks::saveAs(int row, bool alt) {
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    app::projectSaveAs(doc_, items_[static_cast<std::size_t>(row)], alt);
    // Save Object As renames the simulated object.
    refreshProjectTree();
}

void ViewLinks::remove(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    const app::DeleteOutcome out = app::projectDelete(doc_, items_[static_cast<std::size_t>(row)]);
    refreshProjectTree();
    if (out.changed())
        projectChanged();
}

void ViewLinks::transform(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    const app::WorkingUnits units{doc_.preferences().lengthUnitFactor,
                                  doc_.preferences().englishForceUnits,
                                  doc_.preferences().rightHandedAxes};
    const app::AskTransform ask = [&](const model::GeometryTransform& start) {
        dialogs::TransformDialog dialog(start, units, messages_, &window_);
        std::optional<model::GeometryTransform> chosen;
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.transform();
        return chosen;
    };
    if (app::projectTransform(doc_, items_[static_cast<std::size_t>(row)], ask) !=
        app::TransformOutcome::Nothing)
        projectChanged();
}

void ViewLinks::color(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    const app::AskAppearance ask = [&](const app::ItemAppearance& start) {
        dialogs::AppearanceDialog dialog(start.color, start.transparency, &window_);
        std::optional<app::ItemAppearance> chosen;
        if (dialog.exec() == QDialog::Accepted)
            chosen = app::ItemAppearance{dialog.color(), dialog.transparency()};
        return chosen;
    };
    if (app::projectColor(doc_, items_[static_cast<std::size_t>(row)], ask))
        projectChanged();
}

} // namespace kv::gui
