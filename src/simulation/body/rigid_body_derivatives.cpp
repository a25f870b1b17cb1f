#include "simulation/body/rigid_body_derivatives.h"

#include <cmath>

namespace kv::sim {

StateDerivative RigidBodyDerivatives(float mass, const Mat3& inertia, float alpha, Quat& quat,
                                     const Vec3& rates, const Vec3& velocity, const ForceSets& sets,
                                     const ForceSet& external, float altitude, double latitude,
                                     float gravity) {
    StateDerivative d;

    Mat3 bodyToEarth;
    Mat3 earthToBody;
    QuatToMatrix(quat, bodyToEarth, earthToBody);
    const Vec3 weightEarth{0.0f, 0.0f, mass * gravity};
    Vec3 weight;
    MatVec3(earthToBody, weightEarth, weight);

    const float ca = std::cos(alpha);
    const float sa = std::sin(alpha);
    const ForceSet& aero = sets.aero;
    Vec3 force{ca * aero.force[0] - sa * aero.force[2], aero.force[1],
               sa * aero.force[0] + ca * aero.force[2]};
    Vec3 moment{ca * aero.moment[0] - sa * aero.moment[2], aero.moment[1],
                sa * aero.moment[0] + ca * aero.moment[2]};
    for (const ForceSet* set : {&sets.propulsion, &sets.ground, &sets.collision, &external}) {
        VecAdd(force, set->force, force);
        VecAdd(moment, set->moment, moment);
    }
    VecAdd(force, weight, force);

    // Translational: body-axis acceleration less the transport term.
    Vec3 omegaCrossV;
    VecCross(rates, velocity, omegaCrossV);
    for (std::size_t i = 0; i < 3; ++i) {
        d.acceleration[i] = force[i] / mass - omegaCrossV[i];
    }

    // Rotational: Euler's equations with the full tensor.
    Mat3 inverse = inertia;
    InvertMatrix(inverse.data(), 3);
    Vec3 angularMomentum;
    MatVec3(inertia, rates, angularMomentum);
    Vec3 gyroscopic;
    VecCross(rates, angularMomentum, gyroscopic);
    Vec3 netMoment;
    VecSub(moment, gyroscopic, netMoment);
    MatVec3(inverse, netMoment, d.angularAcceleration);

    // Navigation over the sphere.
    Vec3 earthVelocity;
    MatVec3(bodyToEarth, velocity, earthVelocity);
    const double radius = kEarthRadiusFt + static_cast<double>(altitude);
    d.latitudeRate = kDegPerRadShortD * static_cast<double>(earthVelocity[0]) / radius;
    const double cosLat = std::cos(latitude * kPiD / 180.0);
    if (std::fabs(cosLat) < 1e-6) {
        d.longitudeRate = 0.0;
    } else {
        d.longitudeRate =
            -kDegPerRadShortD * static_cast<double>(earthVelocity[1]) / (radius * cosLat);
    }
    d.altitudeRate = -earthVelocity[2];

    const float q0 = quat[0], q1 = quat[1], q2 = quat[2], q3 = quat[3];
    const float p = rates[0], q = rates[1], r = rates[2];
    d.quatRate[0] = -0.5f * (q1 * p + q2 * q + q3 * r);
    d.quatRate[1] = 0.5f * (q0 * p + q2 * r - q3 * q);
    d.quatRate[2] = 0.5f * (q0 * q + q3 * p - q1 * r);
    d.quatRate[3] = 0.5f * (q0 * r + q1 * q - q2 * p);
    return d;
}

} // namespace kv::sim
