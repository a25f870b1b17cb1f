#include "simulation/step_object.h"

#include "common/message_wrap.h"
#include "simulation/body/derived_quantities.h"
#include "simulation/compute_derivatives.h"
#include "simulation/environment/wind.h"
#include "simulation/rotor/rotor_step.h"

#include <array>
#include <cmath>

namespace kv::sim {

namespace {

using Widened = std::array<double, kStateElementCount>;

Widened widen(const BodyState& s) {
    Widened x;
    for (int i = 0; i < kStateElementCount; ++i) {
        x[static_cast<std::size_t>(i)] = s.element(i);
    }
    return x;
}

void narrow(const Widened& x, BodyState& s) {
    for (int i = 0; i < kStateElementCount; ++i) {
        s.setElement(i, x[static_cast<std::size_t>(i)]);
    }
}

void reportUnstable(const StepContext& ctx) {
    showWrappedMessage(ctx.messages, kUnstableMessage);
    ctx.stop = true;
}

} // namespace

bool isUnstableDerivative(double value) {
    return !std::isfinite(value) || value > kUnstableDerivative;
}

void StepObject(SimObject& obj, const StepContext& ctx) {
    UpdateWind(obj, ctx.environment, ctx.dt);

    BodyState s0 = obj.state;
    const StateDerivative d1 = ComputeDerivatives(kPredictorStage, s0, obj, ctx.environment);
    reportRotorInstability(obj, ctx);

    const double dt = static_cast<double>(ctx.dt);
    Widened x = widen(s0);
    for (int i = 0; i < kStateElementCount; ++i) {
        const double d = d1.element(i);
        if (isUnstableDerivative(d)) {
            reportUnstable(ctx);
            break;
        }
        x[static_cast<std::size_t>(i)] += dt * d;
    }
    BodyState s1 = s0;
    narrow(x, s1);
    UpdateDerivedQuantities(s1, d1, obj);
    if (ctx.stop) {
        return;
    }

    const StateDerivative d2 = ComputeDerivatives(kCorrectorStage, s1, obj, ctx.environment);
    reportRotorInstability(obj, ctx);

    x = widen(s0);
    for (int i = 0; i < kStateElementCount; ++i) {
        const double a = d1.element(i);
        const double b = d2.element(i);
        if (isUnstableDerivative(a) || isUnstableDerivative(b)) {
            reportUnstable(ctx);
            break;
        }
        x[static_cast<std::size_t>(i)] += dt * (a + b) * 0.5;
    }
    narrow(x, obj.state);
    UpdateDerivedQuantities(obj.state, d1, obj);
}

} // namespace kv::sim
