// Scene export to glTF: a 1,002,528-triangle terrain (708 × 708 squares of
// rolling hills over 2 km, streamed from its working file as the document
// does) and the car template's 10-minute take at 12 frames a second, its
// wheels turning 30 m/s worth (so the quarter-turn keys are there too),
// written as one .glb. Reports the wall and CPU seconds of the export, the
// ratio to a plain copy of the same file's bytes (read, written and synced
// like the export's own file), and the export's peak resident memory over
// what the process held before, against the output's size.
// Targets: under 3 s on one core; peak memory under 3 × the output size.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "export/gltf_scene.h"
#include "geometry/working_files.h"
#include "model/motion_frame.h"
#include "model/object_model.h"
#include "model/template.h"
#include "model/template_mesh.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace kv;

constexpr int kSquares = 708;    // per side: 2 × 708² ≥ 1,000,000 triangles
constexpr double kSide = 2000.0; // terrain extent (m)
constexpr double kTakeSeconds = 600.0;
constexpr double kFrameRate = 12.0;
constexpr double kSpeed = 30.0;       // m/s
constexpr double kWheelRadius = 0.33; // m

double hill(double x, double y) {
    return -20.0 * std::sin(x * 0.004) * std::cos(y * 0.003) - 3.0 * std::sin(x * 0.05 + y * 0.02);
}

/// A field of /proc/self/status in bytes.
double statusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            double kb = 0;
            status >> kb;
            return kb * 1024.0;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0.0;
}

/// Starts the peak resident set afresh from the current one (Linux).
void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

std::int64_t writeTerrain(const std::filesystem::path& file) {
    geom::TerrainStreamWriter writer(file);
    const double step = kSide / kSquares;
    for (int a = 0; a < kSquares; ++a) {
        for (int b = 0; b < kSquares; ++b) {
            const double x0 = a * step - kSide / 2, x1 = x0 + step;
            const double y0 = b * step - kSide / 2, y1 = y0 + step;
            const geom::Corner<double> p00{x0, y0, hill(x0, y0)}, p10{x1, y0, hill(x1, y0)};
            const geom::Corner<double> p11{x1, y1, hill(x1, y1)}, p01{x0, y1, hill(x0, y1)};
            writer.write({p00, p10, p11});
            writer.write({p00, p11, p01});
        }
    }
    writer.writeEnd();
    writer.close();
    return writer.triangleCount();
}

/// The take: the car driving a wide circle over the hills.
std::vector<model::MotionFrame> carTake() {
    std::vector<model::MotionFrame> frames;
    const int count = static_cast<int>(kTakeSeconds * kFrameRate);
    constexpr double kRadius = 600.0;
    for (int k = 1; k <= count; ++k) {
        const double t = k / kFrameRate;
        const double a = kSpeed * t / kRadius;
        model::MotionFrame f{};
        f[model::kFrameTime] = static_cast<float>(t);
        const double north = kRadius * std::sin(a), east = kRadius * (1.0 - std::cos(a));
        f[model::kFrameNorth] = static_cast<float>(north);
        f[model::kFrameEast] = static_cast<float>(east);
        f[model::kFrameDown] = static_cast<float>(hill(north, east) - 0.6);
        f[model::kFrameYaw] = static_cast<float>(std::remainder(a * 180.0 / M_PI, 360.0));
        f[model::kFrameTireSteer] = 0.05f;
        for (int w = 0; w < 4; ++w)
            f[static_cast<std::size_t>(model::kFrameTireRoll + w)] =
                static_cast<float>(kSpeed * t / kWheelRadius * 180.0 / M_PI);
        frames.push_back(f);
    }
    return frames;
}

bool plainCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    bool ok = in != nullptr && out != nullptr;
    std::vector<char> chunk(1 << 20);
    while (ok) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
        if (n == 0)
            break;
        ok = std::fwrite(chunk.data(), 1, n, out) == n;
    }
    if (out != nullptr)
        ok = std::fflush(out) == 0 && ::fsync(fileno(out)) == 0 && ok;
    if (in != nullptr)
        std::fclose(in);
    if (out != nullptr)
        ok = std::fclose(out) == 0 && ok;
    return ok;
}

void BM_SceneGltf1MTrianglesAnd10MinuteTake(benchmark::State& state) {
    const auto folder = geom::PrivateWorkingFolder::create();
    const auto terrainFile = folder->folder() / geom::kTerrainFileName;
    const std::int64_t triangles = writeTerrain(terrainFile);

    model::ObjectRecord car;
    model::resetObject(car);
    car.vehicleType = model::kVehicleCar;
    model::applyTemplate(car);
    exp::GltfMesh mesh;
    model::loadTemplateMesh(model::kVehicleCar, [&mesh](const std::array<double, 12>& face) {
        mesh.addFace(face);
        return 1;
    });
    const std::vector<model::MotionFrame> take = carTake();
    const auto output = folder->folder() / "scene.glb";
    const auto copy = folder->folder() / "copy.glb";

    double seconds = 0.0, cpuSeconds = 0.0, copySeconds = 0.0, peakOver = 0.0;
    bool ok = false;
    for (auto _ : state) {
        geom::TerrainStreamReader reader(terrainFile);
        exp::GltfScene scene;
        scene.title = "bench";
        scene.hasTerrain = true;
        scene.terrain.name = exp::kTerrainNodeName;
        scene.terrain.triangleCount = triangles;
        scene.terrain.smoothAngleDeg = 30.0;
        scene.terrain.feed = [&reader](std::array<double, 9>& out) {
            geom::Triangle<double> t{};
            switch (reader.next(t)) {
            case geom::StreamRead::Triangle:
                for (std::size_t k = 0; k < 9; ++k)
                    out[k] = t[k / 3][k % 3];
                return exp::TriangleStep::kTriangle;
            case geom::StreamRead::End:
                return exp::TriangleStep::kEnd;
            case geom::StreamRead::Error:
                break;
            }
            return exp::TriangleStep::kError;
        };
        exp::GltfObject object;
        object.record = &car;
        object.frames = take;
        object.mesh = &mesh;
        object.name = "Car";
        scene.objects.push_back(object);
        scene.hasCamera = true;
        scene.camera.frames = take;
        scene.camera.yfovRad = 0.48;
        scene.camera.aspectRatio = 1.3333;

        NullProgress progress;
        NullMessages messages;
        const double before = statusBytes("VmRSS:");
        resetPeakResident();
        const double cpuStart = threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        ok = exp::exportGltfScene(scene, output, progress, messages);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuSeconds = threadCpuSeconds() - cpuStart;
        peakOver = statusBytes("VmHWM:") - before;

        const auto copyStart = std::chrono::steady_clock::now();
        ok = plainCopy(output, copy) && ok;
        copySeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - copyStart).count();
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(output));
    const double mb = 1.0 / (1024.0 * 1024.0);
    state.counters["triangles"] = static_cast<double>(triangles);
    state.counters["frames"] = static_cast<double>(take.size());
    state.counters["export_s"] = seconds;
    state.counters["export_cpu_s"] = cpuSeconds;
    state.counters["copy_s"] = copySeconds;
    state.counters["ratio_to_copy"] = seconds / copySeconds;
    state.counters["output_MB"] = bytes * mb;
    state.counters["peak_over_output"] = peakOver / bytes;
    std::printf("glTF scene: %lld triangles and %zu frames in %.3f s (%.3f s CPU), %.1f MB; "
                "a plain copy of the file %.3f s (export %.1f x the copy); peak memory %.1f MB "
                "over the start, %.2f x the output%s\n",
                static_cast<long long>(triangles), take.size(), seconds, cpuSeconds, bytes * mb,
                copySeconds, seconds / copySeconds, peakOver * mb, peakOver / bytes,
                ok ? "" : " (FAILED)");
}
BENCHMARK(BM_SceneGltf1MTrianglesAnd10MinuteTake)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
