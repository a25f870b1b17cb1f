// All-contacts collision queries with our OBB tree and with FCL's (an
// independent implementation), on the same meshes and poses in one process.
// BM_CollisionTimeRatio runs both and reports ours / FCL's time: the target is
// a ratio of at most 1. Times are thread CPU times.

#include "../tests/simulation/collision/collision_meshes.h"
#include "simulation/collision/obb_collide.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#ifdef KV_HAVE_FCL
#include "../tests/simulation/collision/collision_fcl_meshes.h"
#endif

namespace {

using namespace kv::sim::collision;
namespace tm = kv::sim::collision::testmesh;

/// One pair of meshes and the poses at which it is queried.
struct Workload {
    tm::Mesh meshA;
    tm::Mesh meshB;
    std::vector<tm::Pose> posesA;
    std::vector<tm::Pose> posesB;
};

const std::vector<Workload>& workloads() {
    static const std::vector<Workload> all = [] {
        std::vector<Workload> w;
        const tm::Mesh car = tm::carMesh();
        const tm::Mesh aircraft = tm::aircraftMesh();
        w.push_back({car, car, tm::randomPoses(200, 2.0f, 1), tm::randomPoses(200, 2.0f, 2)});
        w.push_back({car, aircraft, tm::randomPoses(200, 2.5f, 3), tm::randomPoses(200, 2.5f, 4)});
        w.push_back({tm::triangleSoup(1000, 3.0f, 0.3f, 5), tm::triangleSoup(1000, 3.0f, 0.3f, 6),
                     tm::randomPoses(50, 1.0f, 7), tm::randomPoses(50, 1.0f, 8)});
        return w;
    }();
    return all;
}

/// Our models of every workload, built once.
struct OurSide {
    std::vector<std::unique_ptr<Model>> a;
    std::vector<std::unique_ptr<Model>> b;
    Collider collider;

    OurSide() {
        for (const Workload& w : workloads()) {
            a.push_back(std::make_unique<Model>());
            b.push_back(std::make_unique<Model>());
            tm::buildModel(w.meshA, *a.back());
            tm::buildModel(w.meshB, *b.back());
        }
    }

    /// Runs every query; returns the number of contacts found.
    long run() {
        long contacts = 0;
        const auto& all = workloads();
        for (std::size_t k = 0; k < all.size(); ++k) {
            for (std::size_t i = 0; i < all[k].posesA.size(); ++i) {
                const tm::Pose& pa = all[k].posesA[i];
                const tm::Pose& pb = all[k].posesB[i];
                collider.collide(pa.r, pa.t, 1.0f, *a[k], pb.r, pb.t, 1.0f, *b[k], kAllContacts);
                contacts += collider.contactCount();
            }
        }
        return contacts;
    }
};

OurSide& ours() {
    static OurSide side;
    return side;
}

#ifdef KV_HAVE_FCL
using tm::FclModel;
using tm::fclModel;
using tm::fclPose;

struct FclSide {
    std::vector<std::shared_ptr<FclModel>> a;
    std::vector<std::shared_ptr<FclModel>> b;
    std::vector<std::vector<fcl::Transform3d>> posesA;
    std::vector<std::vector<fcl::Transform3d>> posesB;

    FclSide() {
        for (const Workload& w : workloads()) {
            a.push_back(fclModel(w.meshA));
            b.push_back(fclModel(w.meshB));
            posesA.emplace_back();
            posesB.emplace_back();
            for (const tm::Pose& p : w.posesA)
                posesA.back().push_back(fclPose(p));
            for (const tm::Pose& p : w.posesB)
                posesB.back().push_back(fclPose(p));
        }
    }

    long run() {
        long contacts = 0;
        const fcl::CollisionRequestd request(1000000, false);
        for (std::size_t k = 0; k < a.size(); ++k) {
            for (std::size_t i = 0; i < posesA[k].size(); ++i) {
                fcl::CollisionResultd result;
                fcl::collide(a[k].get(), posesA[k][i], b[k].get(), posesB[k][i], request, result);
                contacts += static_cast<long>(result.numContacts());
            }
        }
        return contacts;
    }
};

FclSide& fclSide() {
    static FclSide side;
    return side;
}
#endif

void BM_CollisionOurs(benchmark::State& state) {
    OurSide& side = ours();
    long contacts = 0;
    for (auto _ : state) {
        contacts = side.run();
        benchmark::DoNotOptimize(contacts);
    }
    state.counters["contacts"] = static_cast<double>(contacts);
}
BENCHMARK(BM_CollisionOurs)->Unit(benchmark::kMillisecond);

#ifdef KV_HAVE_FCL
void BM_CollisionFcl(benchmark::State& state) {
    FclSide& side = fclSide();
    long contacts = 0;
    for (auto _ : state) {
        contacts = side.run();
        benchmark::DoNotOptimize(contacts);
    }
    state.counters["contacts"] = static_cast<double>(contacts);
}
BENCHMARK(BM_CollisionFcl)->Unit(benchmark::kMillisecond);

/// CPU time of this thread (s): steadier than wall time on a shared machine.
double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

/// Both in each iteration, timed separately; the ratio is ours over FCL's.
void BM_CollisionTimeRatio(benchmark::State& state) {
    OurSide& mine = ours();
    FclSide& theirs = fclSide();
    double ourTime = 0.0;
    double fclTime = 0.0;
    long ourContacts = 0;
    long fclContacts = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        ourContacts = mine.run();
        const double t1 = threadSeconds();
        fclContacts = theirs.run();
        const double t2 = threadSeconds();
        ourTime += t1 - t0;
        fclTime += t2 - t1;
        benchmark::DoNotOptimize(ourContacts);
        benchmark::DoNotOptimize(fclContacts);
    }
    const double ratio = ourTime / fclTime;
    state.counters["ours_over_fcl"] = ratio;
    state.counters["our_contacts"] = static_cast<double>(ourContacts);
    state.counters["fcl_contacts"] = static_cast<double>(fclContacts);
    char label[64];
    std::snprintf(label, sizeof label, "time ours/FCL = %.3f", ratio);
    state.SetLabel(label);
}
BENCHMARK(BM_CollisionTimeRatio)->Unit(benchmark::kMillisecond);
#endif

} // namespace
