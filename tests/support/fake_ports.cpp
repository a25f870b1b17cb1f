#include "support/fake_ports.h"

#include <algorithm>

namespace kv::test {

void ScriptedControls::readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                                    sim::ControlRecord& cameraControls) {
    if (script.empty()) {
        vehicle = sim::ControlRecord{};
    } else {
        const std::size_t i =
            std::min<std::size_t>(static_cast<std::size_t>(reads), script.size() - 1);
        vehicle = script[i];
    }
    cameraControls = sim::ControlRecord{};
    ++reads;
}

void ScriptedControls::playbackControls(int, float, sim::ControlRecord& out) {
    out = playback;
    ++playbacks;
}

sim::RunKey ScriptedScene::drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                                     const sim::ControlRecord&) {
    lateFlags.push_back(run.flags.late);
    pauseFlags.push_back(run.flags.pause);
    camera.position = cameraPosition;
    if (clock != nullptr)
        clock->advance(workSeconds);
    const int frame = draws++;
    if (frame >= escapeFrom)
        return sim::RunKey::Escape;
    const auto it = keys.find(frame);
    return it == keys.end() ? sim::RunKey::None : it->second;
}

void ScriptedScene::updateInstruments(const sim::RunState&) {
    ++instrumentUpdates;
}

} // namespace kv::test
