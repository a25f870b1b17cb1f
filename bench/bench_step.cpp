// Cost of one physics step of a free rigid body (ns per step).
#include "common/ports/messages.h"
#include "model/object_model.h"
#include "simulation/body/body_setup.h"
#include "simulation/step_object.h"

#include <benchmark/benchmark.h>

namespace {

kv::model::ObjectRecord benchBody() {
    kv::model::ObjectRecord r;
    kv::model::resetObject(r);
    r.mass.mass = 100.0f;
    r.mass.inertia = {1000.0f, 0.0f, 50.0f, 0.0f, 3000.0f, 0.0f, 50.0f, 0.0f, 3500.0f};
    r.initial.position = {0.0f, 0.0f, -1000.0f};
    r.initial.attitude = {5.0f, 10.0f, 30.0f};
    r.initial.velocity = {150.0f, 0.0f, 5.0f};
    r.initial.rates = {2.0f, -1.0f, 10.0f};
    return r;
}

void BM_StepObject(benchmark::State& state) {
    kv::sim::SimObject obj;
    kv::sim::setUpBody(obj, benchBody());
    const kv::sim::SimObject start = obj;
    kv::sim::Environment environment;
    kv::NullMessages messages;
    bool stop = false;
    const kv::sim::StepContext ctx{1.0f / 120.0f, environment, messages, stop};
    int steps = 0;
    for (auto _ : state) {
        // A long free fall would eventually trip the instability test; start
        // over well before that (the copy is a small part of the cost).
        if (++steps == 4096) {
            obj = start;
            steps = 0;
        }
        kv::sim::StepObject(obj, ctx);
        benchmark::DoNotOptimize(obj.state);
    }
    if (stop)
        state.SkipWithError("the body became unstable");
    state.SetLabel("ns per step of a free body");
}
BENCHMARK(BM_StepObject);

} // namespace
