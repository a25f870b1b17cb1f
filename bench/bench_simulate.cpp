// Headless simulation speed: how many times faster than real time a run goes
// under the simulated clock, as `kestrovane-cli simulate` runs it.
//
// Car: the Car template driven in circles (throttle and a little steering)
// over rolling terrain sorted into the factory 400 × 400 grid, at 120 Hz and
// the factory 12 frames a second, recording every frame.
// Aircraft: the Aircraft template in free flight 10,000 ft up at 400 ft/s,
// same rates, no terrain.
// Targets on one core: at least 1000 times real time for the car, 3000 for
// the aircraft. The ratio is simulated seconds over this thread's CPU seconds,
// so other work sharing the machine does not skew it.

#include "app/document/document.h"
#include "app/document/headless_run.h"
#include "app/input/controls_csv.h"
#include "app/input/headless_controls.h"
#include "common/ports/files.h"
#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "common/ports/question.h"
#include "geometry/working_files.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace kv;

/// Simulated seconds of each measured run.
constexpr double kRunSeconds = 120.0;

/// Rolling hills (m, down positive): level at the origin, a few metres high.
double hill(double north, double east) {
    return -1.5 * std::sin(north * 0.02) * std::sin(east * 0.015);
}

/// A DXF file of 200 × 200 squares over 1 km of rolling hills.
std::filesystem::path writeHills(const std::filesystem::path& folder) {
    constexpr int kSquares = 200;
    constexpr double kSide = 1000.0;
    const std::filesystem::path file = folder / "hills.dxf";
    std::FILE* out = std::fopen(file.c_str(), "w");
    std::fputs("  0\nSECTION\n  2\nENTITIES\n", out);
    const double step = kSide / kSquares;
    for (int i = 0; i < kSquares; ++i) {
        for (int j = 0; j < kSquares; ++j) {
            const double n0 = -kSide / 2 + i * step, e0 = -kSide / 2 + j * step;
            const double c[4][2] = {
                {n0, e0}, {n0 + step, e0}, {n0 + step, e0 + step}, {n0, e0 + step}};
            std::fputs("  0\n3DFACE\n  8\nGround\n", out);
            for (int k = 0; k < 4; ++k) {
                std::fprintf(out, " 1%d\n%.6f\n 2%d\n%.6f\n 3%d\n%.6f\n", k, c[k][0], k, c[k][1], k,
                             hill(c[k][0], c[k][1]));
            }
        }
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", out);
    std::fclose(out);
    return file;
}

class QuietMessages final : public MessagePort {
  public:
    void showMessage(std::string_view) override { ++count; }
    int count = 0;
};

class NoFiles final : public FilePort, public QuestionPort {
  public:
    std::optional<std::string> choose(const FileRequest&) override { return std::nullopt; }
    SaveAnswer askSaveFirst(std::string_view) override { return SaveAnswer::kDontSave; }
};

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

/// A document set up for one kind of run.
struct Rig {
    QuietMessages messages;
    NullProgress progress;
    NoFiles files;
    std::unique_ptr<geom::PrivateWorkingFolder> folder = geom::PrivateWorkingFolder::create();
    std::unique_ptr<app::Document> doc;

    explicit Rig(std::int32_t vehicleType) {
        doc = std::make_unique<app::Document>(
            app::DocumentPorts{messages, progress, files, files, *folder});
        // The factory record memory holds the 1440 frames of a run.
        doc->allocate(app::kFactoryMemory, true, std::nullopt);
        doc->newVehicle(vehicleType);
    }

    /// Runs `seconds` of simulated time; returns the CPU seconds it took.
    double run(const app::ControlScript& script, double seconds) {
        app::InputState input;
        const float period = doc->preferences().framePeriod;
        app::ScriptControls controls(script, app::controllerSettingsFrom(doc->preferences()), input,
                                     &doc->motions(), period, messages);
        app::HeadlessLimits limits;
        limits.frames = app::framesForDuration(seconds, period);
        const double start = threadCpuSeconds();
        const app::HeadlessResult result =
            app::runHeadless(*doc, controls, input, limits, messages);
        const double spent = threadCpuSeconds() - start;
        benchmark::DoNotOptimize(result);
        return spent;
    }
};

void report(benchmark::State& state, double simulated, double cpu, const Rig& rig) {
    state.counters["simulated_s"] = simulated;
    state.counters["cpu_s"] = cpu;
    state.counters["times_real_time"] = cpu > 0.0 ? simulated / cpu : 0.0;
    state.counters["messages"] = rig.messages.count;
}

void BM_SimulateCarOn400GridTerrainAt120Hz(benchmark::State& state) {
    Rig rig(model::kVehicleCar);
    rig.doc->addTerrain(app::DxfImport{writeHills(rig.folder->folder())});
    rig.doc->object(0).initial.position = {0.0f, 0.0f, -2.5f};
    app::ControlScript script;
    script.rows.push_back(app::ControlRow{0.0, 0.15f, -0.5f, 0, 0, 0, false});
    double cpu = 0.0, simulated = 0.0;
    for (auto _ : state) {
        cpu += rig.run(script, kRunSeconds);
        simulated += kRunSeconds;
    }
    report(state, simulated, cpu, rig);
}
BENCHMARK(BM_SimulateCarOn400GridTerrainAt120Hz)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_SimulateAircraftInFreeFlightAt120Hz(benchmark::State& state) {
    Rig rig(model::kVehicleAircraft);
    model::InitialConditions& ic = rig.doc->object(0).initial;
    ic.position = {0.0f, 0.0f, -10000.0f};
    ic.velocity = {400.0f, 0.0f, 0.0f};
    app::ControlScript script;
    double cpu = 0.0, simulated = 0.0;
    for (auto _ : state) {
        cpu += rig.run(script, kRunSeconds);
        simulated += kRunSeconds;
    }
    report(state, simulated, cpu, rig);
}
BENCHMARK(BM_SimulateAircraftInFreeFlightAt120Hz)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
