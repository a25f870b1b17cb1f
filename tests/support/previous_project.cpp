#include "support/previous_project.h"

#include "app/settings/preferences.h"
#include "common/le_io.h"
#include "model/motion_frame.h"
#include "model/motion_stream.h"
#include "model/object_file_convert.h"
#include "model/object_record.h"

#include <bit>
#include <cstring>

namespace kv::test {
namespace {

using namespace kv::app;

void i32(std::vector<std::uint8_t>& out, std::int32_t v) {
    std::uint8_t b[4];
    io::putI32(b, v);
    out.insert(out.end(), b, b + 4);
}
void f32(std::vector<std::uint8_t>& out, float v) {
    std::uint8_t b[4];
    io::putF32(b, v);
    out.insert(out.end(), b, b + 4);
}
void f64(std::vector<std::uint8_t>& out, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void setName(std::array<char, kPreviousObjectNameChars>& field, const char* text) {
    field.fill('\0');
    std::strncpy(field.data(), text, field.size() - 1);
}

} // namespace

using namespace kv::app;

std::vector<std::uint8_t> PreviousProjectWriter::bytes() const {
    std::vector<std::uint8_t> out;
    i32(out, static_cast<std::int32_t>(kPreviousProjectStateSize));
    const PreviousProjectStateImage image = encodePreviousProjectState(state);
    out.insert(out.end(), image.begin(), image.end());
    i32(out, static_cast<std::int32_t>(preferencesSize));
    if (preferencesSize == kPreferenceRecordSize) {
        Preferences p;
        factoryReset(p, true);
        p.gridSpacing = gridSpacing;
        const PreferenceImage prefs = encodePreferences(p);
        out.insert(out.end(), prefs.begin(), prefs.end());
    } else {
        out.insert(out.end(), preferencesSize, 0);
    }
    for (const PreviousObject& o : objects) {
        i32(out, model::kPreviousObjectRecordTag);
        model::PreviousObjectImage record{};
        io::putI32(record.data() + 4, o.vehicleType);
        io::putI32(record.data() + 904, o.color);
        out.insert(out.end(), record.begin(), record.end());
        i32(out, o.triangles);
        for (int t = 0; t < o.triangles; ++t) {
            const float x = static_cast<float>(t);
            for (float v : {x, 0.0f, 0.0f, x + 1.0f, 0.0f, 0.0f, x, 1.0f, 0.0f})
                f32(out, v);
        }
        if (o.withFrame) {
            std::vector<std::uint8_t> frame(model::kPreviousFrameSize, 0);
            io::putF32(frame.data(), 0.5f);
            out.insert(out.end(), frame.begin(), frame.end());
        }
        std::vector<std::uint8_t> marker(model::kPreviousFrameSize, 0);
        io::putF32(marker.data(), model::kFrameEndMarker);
        out.insert(out.end(), marker.begin(), marker.end());
    }
    for (int n : sceneryTriangles) {
        for (int t = 0; t < n; ++t) {
            for (int k = 0; k < 9; ++k)
                f32(out, static_cast<float>(10 * t + k));
        }
        f32(out, -999.0f);
    }
    for (int t = 0; t < terrainTriangles; ++t) {
        for (int k = 0; k < 9; ++k)
            f64(out, static_cast<double>(t + k));
    }
    if (terrainTriangles > 0)
        f64(out, -999.0);
    return out;
}

PreviousProjectWriter farm() {
    PreviousProjectWriter w;
    PreviousProjectState& s = w.state;
    s.objectCount = 2;
    s.collisionObjects = 2;
    s.sceneryCount = 1;
    s.sceneryTriangles[0] = 2;
    s.terrainPresent = 1;
    s.terrainTriangles = 3;
    s.sunAngle = 45.0f;
    s.gravity = 20.0f;
    setProjectName(s.projectName, "Farm");
    setProjectName(s.terrainName, "hills");
    setProjectName(s.sceneryNames[0], "fence");
    s.objectRoles = {};
    s.objectRoles[0] = model::kRoleInteractive;
    s.objectRoles[1] = model::kRoleStatic;
    setName(s.objectNames[0], "golf");
    setName(s.objectNames[1], "barn");
    w.objects = {PreviousObject{model::kVehicleCar, 5, 4, false},
                 PreviousObject{model::kVehicleNone, 2, 2, false}};
    w.sceneryTriangles = {2};
    w.terrainTriangles = 3;
    return w;
}

} // namespace kv::test
