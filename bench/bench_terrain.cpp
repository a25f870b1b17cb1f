// Terrain grid sort and ground query speed.
//
// Sort: a generated terrain of 1,002,528 triangles (rolling hills over 2 km,
// 708 × 708 squares) sorted into a 5000 × 5000 grid. Reports wall seconds
// and the process's peak resident memory against the grid arrays' own size.
// Targets on a 2-core machine: under 5 s, and peak memory no more than the grid
// arrays plus 32 MB (the triangles are streamed from the working file).
//
// Queries: four tires a few feet apart driving a weaving path across the
// terrain, each with its own cursor, one height query per tire per 1/120 s
// step at 60 ft/s; and the same with the height-and-normal query.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "geometry/terrain_query.h"
#include "geometry/terrain_sort.h"
#include "geometry/working_files.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace kv;
using namespace kv::geom;

constexpr int kSquares = 708;    // per side: 2 × 708² ≥ 1,000,000 triangles
constexpr double kSide = 2000.0; // terrain extent (m)
constexpr int kResolution = 5000;

double hill(double x, double y) {
    return -20.0 * std::sin(x * 0.004) * std::cos(y * 0.003) - 3.0 * std::sin(x * 0.05 + y * 0.02);
}

/// Peak resident set of this process (bytes), from /proc/self/status.
double peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb * 1024.0;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0.0;
}

/// CPU time of this thread (s): unlike wall time, not stretched when other
/// work shares the machine's cores.
double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

struct SortedTerrain {
    std::unique_ptr<PrivateWorkingFolder> folder;
    std::int64_t triangles = 0;
    TerrainGrid grid;
    double seconds = 0.0;
    double cpuSeconds = 0.0;
    double peakBefore = 0.0;
    double peakAfter = 0.0;
};

/// Writes the generated terrain to a working file, one triangle at a time.
std::int64_t writeTerrain(const std::filesystem::path& file) {
    TerrainStreamWriter writer(file);
    const double step = kSide / kSquares;
    for (int a = 0; a < kSquares; ++a) {
        for (int b = 0; b < kSquares; ++b) {
            const double x0 = a * step, x1 = (a + 1) * step;
            const double y0 = b * step, y1 = (b + 1) * step;
            const Corner<double> p00{x0, y0, hill(x0, y0)}, p10{x1, y0, hill(x1, y0)};
            const Corner<double> p11{x1, y1, hill(x1, y1)}, p01{x0, y1, hill(x0, y1)};
            writer.write({p00, p10, p11});
            writer.write({p00, p11, p01});
        }
    }
    writer.writeEnd();
    writer.close();
    return writer.triangleCount();
}

SortedTerrain& sortedTerrain() {
    static SortedTerrain t = [] {
        SortedTerrain s;
        s.folder = PrivateWorkingFolder::create();
        const auto file = s.folder->folder() / kTerrainFileName;
        s.triangles = writeTerrain(file);
        s.peakBefore = peakResidentBytes();
        NullProgress progress;
        NullMessages messages;
        const double cpuStart = threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        allocateTerrainGrid(s.grid, kResolution);
        sortTerrain(s.grid, file, s.triangles, progress, messages);
        s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        s.cpuSeconds = threadCpuSeconds() - cpuStart;
        s.peakAfter = peakResidentBytes();
        return s;
    }();
    return t;
}

void BM_TerrainSort1MTrianglesInto5000Grid(benchmark::State& state) {
    SortedTerrain* t = nullptr;
    for (auto _ : state) {
        t = &sortedTerrain();
        benchmark::DoNotOptimize(t->grid.heights.data());
    }
    const double mb = 1.0 / (1024.0 * 1024.0);
    const double gridBytes = static_cast<double>(terrainGridBytes(kResolution));
    state.counters["triangles"] = static_cast<double>(t->triangles);
    state.counters["sort_s"] = t->seconds;
    state.counters["sort_cpu_s"] = t->cpuSeconds;
    state.counters["peak_MB"] = t->peakAfter * mb;
    state.counters["grid_MB"] = gridBytes * mb;
    state.counters["peak_over_grid_MB"] = (t->peakAfter - gridBytes) * mb;
    std::printf("terrain sort: %lld triangles into %d x %d in %.3f s (%.3f s CPU); peak resident "
                "%.1f MB (grid arrays %.1f MB, %.1f MB over; before the sort %.1f MB)\n",
                static_cast<long long>(t->triangles), kResolution, kResolution, t->seconds,
                t->cpuSeconds, t->peakAfter * mb, gridBytes * mb, (t->peakAfter - gridBytes) * mb,
                t->peakBefore * mb);
}
BENCHMARK(BM_TerrainSort1MTrianglesInto5000Grid)->Iterations(1)->Unit(benchmark::kSecond);

/// Four tire contact points around a car's centre (ft).
constexpr double kTireOffsets[4][2] = {{4.5, -2.8}, {4.5, 2.8}, {-4.5, -2.8}, {-4.5, 2.8}};

template <typename Query> void tirePattern(benchmark::State& state, Query query) {
    const TerrainGrid& grid = sortedTerrain().grid;
    TerrainCursor cursors[4];
    const double step = 60.0 / 120.0; // ft per physics step
    const double sideFt = kSide * kFeetPerMetreD;
    double sum = 0.0;
    long steps = 0;
    for (auto _ : state) {
        const double s = static_cast<double>(steps % 10000) * step;
        const double cx = 100.0 + s;
        const double cy = 0.5 * sideFt + 200.0 * std::sin(s * 0.002);
        const bool reset = steps % 10000 == 0;
        for (int k = 0; k < 4; ++k) {
            sum += query(grid, cursors[k], reset, cx + kTireOffsets[k][0], cy + kTireOffsets[k][1]);
        }
        ++steps;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(steps * 4);
    state.counters["ns_per_query"] = benchmark::Counter(
        static_cast<double>(steps * 4), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TerrainHeightTirePattern(benchmark::State& state) {
    tirePattern(state, [](const TerrainGrid& g, TerrainCursor& c, bool reset, double x, double y) {
        return terrainHeight(&g, c, reset, x, y);
    });
}
BENCHMARK(BM_TerrainHeightTirePattern);

void BM_TerrainHeightAndNormalTirePattern(benchmark::State& state) {
    tirePattern(state, [](const TerrainGrid& g, TerrainCursor& c, bool reset, double x, double y) {
        const GroundSample s = terrainHeightAndNormal(&g, c, reset, x, y);
        return s.z + s.normal[2];
    });
}
BENCHMARK(BM_TerrainHeightAndNormalTirePattern);

} // namespace
