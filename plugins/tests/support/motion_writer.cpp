#include "support/motion_writer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kv::plugtest {
namespace {

// Stored layout of the object record and its effectors (bytes).
constexpr std::size_t kObjectRecordSize = 11940;
constexpr std::size_t kEffectorCountOffset = 776;
constexpr std::size_t kEffectorsOffset = 780;
constexpr std::size_t kEffectorSize = 372;
constexpr std::size_t kTriangleSize = 36;

void putI32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (std::size_t k = 0; k < 4; ++k)
        b[at + k] = static_cast<std::uint8_t>(u >> (8 * k));
}

void putF32(std::vector<std::uint8_t>& b, std::size_t at, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    putI32(b, at, static_cast<std::int32_t>(u));
}

void appendI32(std::vector<std::uint8_t>& b, std::int32_t v) {
    b.resize(b.size() + 4);
    putI32(b, b.size() - 4, v);
}

void appendFrame(std::vector<std::uint8_t>& b, const FrameValues& f) {
    const std::size_t at = b.size();
    b.resize(at + 4 * f.size());
    for (std::size_t i = 0; i < f.size(); ++i)
        putF32(b, at + 4 * i, f[i]);
}

} // namespace

FrameValues frameAt(float time) {
    FrameValues f{};
    f[kFieldTime] = time;
    return f;
}

std::vector<FrameValues> steadyFrames(int count, float period) {
    std::vector<FrameValues> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(frameAt(static_cast<float>(i) * period));
    return frames;
}

std::vector<std::uint8_t> motionBytes(const MotionFixture& fixture) {
    std::vector<std::uint8_t> b;
    appendI32(b, fixture.sizeTag);

    std::vector<std::uint8_t> record(kObjectRecordSize, 0);
    putI32(record, kEffectorCountOffset,
           fixture.effectorCount.value_or(static_cast<std::int32_t>(fixture.effectors.size())));
    for (std::size_t i = 0; i < fixture.effectors.size() && i < 30; ++i) {
        const EffectorSpec& e = fixture.effectors[i];
        const std::size_t base = kEffectorsOffset + i * kEffectorSize;
        putI32(record, base + 0, e.kind);
        putI32(record, base + 4, e.parent);
        putI32(record, base + 8, static_cast<std::int32_t>(e.children.size()));
        for (std::size_t c = 0; c < e.children.size() && c < 6; ++c) {
            putI32(record, base + 12 + 4 * c, e.children[c]);
        }
        for (std::size_t k = 0; k < 6; ++k) {
            putI32(record, base + 36 + 4 * k, e.drivers[k]);
            putF32(record, base + 60 + 4 * k, e.offsets[k]);
            putF32(record, base + 84 + 4 * k, e.scales[k]);
        }
        std::memcpy(record.data() + base + 116, e.name.data(),
                    std::min<std::size_t>(e.name.size(), 255));
    }
    b.insert(b.end(), record.begin(), record.end());

    appendI32(b, fixture.triangleCount.value_or(fixture.triangles));
    b.resize(b.size() + static_cast<std::size_t>(fixture.triangles) * kTriangleSize, 0);
    for (const auto& f : fixture.frames)
        appendFrame(b, f);
    if (fixture.endMarker)
        appendFrame(b, frameAt(-999.0f));
    if (fixture.truncateTo < b.size())
        b.resize(fixture.truncateTo);
    return b;
}

void writeMotion(const std::filesystem::path& file, const MotionFixture& fixture) {
    const auto bytes = motionBytes(fixture);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TempDir::TempDir() {
    static std::atomic<int> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kv-plugins-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readText(const std::filesystem::path& file) {
    // Text mode: the plug-ins write text files with the platform's line ends
    // (CR LF on Windows), and the tests compare lines.
    std::ifstream in(file);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace kv::plugtest
