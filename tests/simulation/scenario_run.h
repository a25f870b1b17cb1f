#pragma once
// A whole run of one vehicle through the run loop, headless: a scripted
// controller fills the raw control record of every frame and a watcher looks at
// the simulated object after every frame and decides when the run ends.

#include "common/simulated_clock.h"
#include "common/unit_constants.h"
#include "geometry/mesh_store.h"
#include "model/object_model.h"
#include "model/object_record.h"
#include "model/template.h"
#include "model/template_mesh.h"
#include "simulation/body/body_setup.h"
#include "simulation/contact/contact_geometry.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/run_simulation.h"
#include "support/fake_ports.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace kv::test {

/// The built-in vehicle of `vehicleType` as a fresh record.
inline model::ObjectRecord vehicleTemplate(int vehicleType) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = vehicleType;
    model::applyTemplate(r);
    return r;
}

/// Runs one object from its record at 120 Hz physics and 30 frames/s, as the
/// desktop does, with the template's mesh in its geometry slot.
class ScenarioRun {
  public:
    static constexpr float kFramePeriod = 1.0f / 30.0f;

    /// Raw controls of frame `frame` (0-based) for the object as it stands.
    using Controller = std::function<void(int frame, const sim::SimObject&, sim::ControlRecord&)>;
    /// Looks at the object after frame `frame`; false ends the run.
    using Watcher = std::function<bool(int frame, const sim::SimObject&)>;

    explicit ScenarioRun(const model::ObjectRecord& record, bool withMesh = true)
        : objects_{record}, meshes_(messages) {
        settings_ = sim::makeRunSettings(sim::Accuracy::Better, 30, 0);
        if (withMesh) {
            meshes_.allocate(1);
            meshes_.clearGeometry(0);
            model::loadTemplateMesh(record.vehicleType, [&](const std::array<double, 12>& c) {
                return meshes_.addFace(c);
            });
            meshes_.thinContactVertices(0);
            settings_.meshes = &meshes_;
        }
    }

    sim::RunSettings& settings() { return settings_; }
    /// The record the run starts from; change its initial conditions here.
    model::ObjectRecord& record() { return objects_[0]; }

    /// Puts the object level with its lowest wheel bottom or geometry point
    /// `clearance` ft above the level ground at 0.
    void placeOnGround(float clearance) {
        model::ObjectRecord& r = objects_[0];
        r.initial.position = {0.0f, 0.0f, 0.0f};
        r.initial.attitude = {0.0f, 0.0f, 0.0f};
        model::ObjectRecord probeRecord = r;
        model::deriveRunLimits(probeRecord);
        auto probe = std::make_unique<sim::SimObject>();
        sim::setUpBody(*probe, probeRecord);
        sim::SetUpContacts(probeRecord, *probe, settings_.dt, nullptr,
                           sim::contactVerticesOf(settings_.meshes, 0));
        sim::GroundContactState& g = probe->groundContact;
        sim::updateContactGeometry(g, probe->controls);
        float lowest = -1.0e30f;
        for (int i = 0; i < g.effectorCount; ++i) {
            const sim::ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
            lowest = std::max(lowest, c.attach[2] + (c.isTire ? c.radius : 0.0f));
        }
        for (const Vec3& p : g.points) {
            lowest = std::max(lowest, p[2]);
        }
        r.initial.position[2] = -(lowest + clearance);
    }

    /// Runs at most `seconds`; returns the frames run.
    int run(float seconds, Controller controller, Watcher watcher) {
        const int frames = static_cast<int>(seconds / kFramePeriod + 0.5f);
        settings_.recordCapacity = frames + 2;
        Controls controls(*this, std::move(controller));
        Scene scene(std::move(watcher), frames);
        state_ = std::make_unique<sim::RunState>();
        sim::CameraRecord camera;
        const sim::RunPorts ports{clock_, controls, scene, messages, nullptr};
        sim::RunSimulation(*state_, settings_, objects_, camera, ports);
        return state_->frameCounter;
    }

    const sim::SimObject& object() const { return state_->slots[0].sim; }
    const sim::RunState& state() const { return *state_; }

    /// The run ended on an instability message.
    bool unstable() const {
        for (const auto& m : messages.messages) {
            if (m.find("unstable") != std::string::npos)
                return true;
        }
        return false;
    }

    RecordingMessages messages;

  private:
    class Controls final : public sim::ControlsPort {
      public:
        Controls(ScenarioRun& owner, Controller controller)
            : owner_(owner), controller_(std::move(controller)) {}
        void readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                          sim::ControlRecord& cameraControls) override {
            vehicle = sim::ControlRecord{};
            cameraControls = sim::ControlRecord{};
            controller_(frame_++, owner_.state_->slots[0].sim, vehicle);
        }

      private:
        ScenarioRun& owner_;
        Controller controller_;
        int frame_ = 0;
    };

    class Scene final : public sim::ScenePort {
      public:
        Scene(Watcher watcher, int frames) : watcher_(std::move(watcher)), frames_(frames) {}
        sim::RunKey drawFrame(const sim::RunState& run, sim::CameraRecord&,
                              const sim::ControlRecord&) override {
            const int frame = frame_++;
            const bool goOn = watcher_(frame, run.slots[0].sim);
            return goOn && frame + 1 < frames_ ? sim::RunKey::None : sim::RunKey::Escape;
        }

      private:
        Watcher watcher_;
        int frames_;
        int frame_ = 0;
    };

    std::vector<model::ObjectRecord> objects_;
    geom::MeshStore meshes_;
    sim::RunSettings settings_;
    SimulatedClock clock_;
    std::unique_ptr<sim::RunState> state_;
};

/// Horizontal distance between two positions (ft).
inline float groundDistance(const Vec3& a, const Vec3& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1]);
}

/// Ground speed (ft/s).
inline float groundSpeed(const sim::SimObject& obj) {
    return std::hypot(obj.earthVelocity[0], obj.earthVelocity[1]);
}

} // namespace kv::test
