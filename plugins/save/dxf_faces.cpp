#include "dxf_faces.h"

#include <charconv>
#include <string_view>

namespace kv::lwsave {
namespace {

/// "%g\n" in the C locale, whatever locale the host has set.
void appendValue(std::string& out, double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    out.append(buf, r.ptr);
    out.push_back('\n');
}

} // namespace

std::string dxfHeader() {
    return "999\nDXF file created by Kestrovane\n"
           "999\nRight Hand Coordinate System in meters\n"
           "   0\nSECTION\n"
           "   2\nENTITIES\n";
}

std::string dxfTrailer() {
    return "   0\nENDSEC\n  0\nEOF\n";
}

std::string dxfFace(const Face& face) {
    static constexpr std::array<std::string_view, 4> kX = {" 10\n", " 11\n", " 12\n", " 13\n"};
    static constexpr std::array<std::string_view, 4> kY = {" 20\n", " 21\n", " 22\n", " 23\n"};
    static constexpr std::array<std::string_view, 4> kZ = {" 30\n", " 31\n", " 32\n", " 33\n"};
    std::string out = "  0\n3DFACE\n   8\nKestrovane\n";
    for (std::size_t k = 0; k < 4; ++k) {
        const Point& p = face[k];
        // LightWave forward z is the simulator's forward x, right x its right y,
        // up y its down z.
        out.append(kX[k]);
        appendValue(out, p[2]);
        out.append(kY[k]);
        appendValue(out, p[0]);
        out.append(kZ[k]);
        appendValue(out, -p[1]);
    }
    return out;
}

void PolygonFan::addPoint(const Point& p) {
    if (next_ == 4)
        next_ = 0;
    if (points_ > 0 && next_ == 0) {
        sink_(slots_);
        slots_[1] = slots_[3];
        next_ = 2;
    }
    slots_[static_cast<std::size_t>(next_)] = p;
    ++next_;
    ++points_;
}

void PolygonFan::finish() {
    if (next_ == 3)
        slots_[3] = slots_[2];
    sink_(slots_);
}

} // namespace kv::lwsave
