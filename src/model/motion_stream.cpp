#include "model/motion_stream.h"

#include "common/atomic_file.h"
#include "common/vecmath.h"
#include "model/record_codec.h"

namespace kv::model {

bool StreamReader::bytes(std::uint8_t* out, std::size_t n) {
    return std::fread(out, 1, n, in_) == n;
}

bool StreamReader::i32(std::int32_t& v) {
    std::array<std::uint8_t, 4> b{};
    if (!bytes(b.data(), b.size())) {
        return false;
    }
    v = io::getI32(b.data());
    return true;
}

bool StreamReader::frame(MotionFrame& f) {
    FrameImage image{};
    if (!bytes(image.data(), image.size())) {
        return false;
    }
    decodeFrame(image, f);
    return true;
}

bool StreamReader::skip(std::size_t n) {
    std::array<std::uint8_t, 512> scratch{};
    while (n > 0) {
        const std::size_t part = n < scratch.size() ? n : scratch.size();
        if (!bytes(scratch.data(), part)) {
            return false;
        }
        n -= part;
    }
    return true;
}

void StreamWriter::bytes(const std::uint8_t* p, std::size_t n) {
    if (ok_ && std::fwrite(p, 1, n, out_) != n) {
        ok_ = false;
    }
}

void StreamWriter::i32(std::int32_t v) {
    std::array<std::uint8_t, 4> b{};
    io::putI32(b.data(), v);
    bytes(b.data(), b.size());
}

void StreamWriter::frame(const MotionFrame& f) {
    FrameImage image{};
    encodeFrame(f, image);
    bytes(image.data(), image.size());
}

bool StreamWriter::finish() {
    ok_ = ok_ && streamWritten(out_);
    return ok_;
}

bool decodeCheckedObject(std::span<const std::uint8_t, kObjectRecordSize> image, ObjectRecord& r) {
    ObjectRecord read;
    decodeObject(image, read);
    if (read.effectorCount < 0 || read.effectorCount > kMaxEffectors) {
        return false;
    }
    for (int i = 0; i < read.effectorCount; ++i) {
        const EffectorRecord& e = read.effectors[static_cast<std::size_t>(i)];
        if (e.childCount < 0 || e.childCount > kMaxChildren) {
            return false;
        }
    }
    read.name.back() = '\0';
    for (EffectorRecord& e : read.effectors) {
        e.name.back() = '\0';
    }
    r = read;
    return true;
}

bool readObjectRecord(StreamReader& in, ObjectRecord& r) {
    ObjectImage image{};
    return in.bytes(image.data(), image.size()) && decodeCheckedObject(image, r);
}

bool readGeometry(StreamReader& in, const GeometryIntake& geometry) {
    std::int32_t count = 0;
    if (!in.i32(count) || count < 0 || count > kMaxObjectTriangles) {
        return false;
    }
    if (geometry.clear) {
        geometry.clear();
    }
    bool goOn = static_cast<bool>(geometry.addFace);
    std::array<std::uint8_t, 36> image{};
    std::array<double, 12> face{};
    for (std::int32_t t = 0; t < count; ++t) {
        if (!in.bytes(image.data(), image.size())) {
            return false;
        }
        if (!goOn) {
            continue;
        }
        for (std::size_t i = 0; i < 9; ++i) {
            face[i] = static_cast<double>(io::getF32(image.data() + 4 * i));
        }
        face[9] = face[6];
        face[10] = face[7];
        face[11] = face[8];
        goOn = geometry.addFace(face) != 0;
    }
    return true;
}

bool writeMotionBody(StreamWriter& out, const ObjectRecord& record, const TriangleSource& geometry,
                     std::span<const MotionFrame> frames) {
    if (geometry.count > static_cast<std::size_t>(kMaxObjectTriangles) ||
        (geometry.count > 0 && !geometry.triangle)) {
        return false;
    }
    out.i32(kObjectRecordTag);
    const ObjectImage image = encodeObject(record);
    out.bytes(image.data(), image.size());
    out.i32(static_cast<std::int32_t>(geometry.count));
    std::array<std::uint8_t, 36> tri{};
    for (std::size_t t = 0; t < geometry.count && out.ok(); ++t) {
        const std::array<float, 9> corners = geometry.triangle(t);
        for (std::size_t i = 0; i < 9; ++i) {
            io::putF32(tri.data() + 4 * i, corners[i]);
        }
        out.bytes(tri.data(), tri.size());
    }
    for (const MotionFrame& f : frames) {
        out.frame(f);
    }
    out.frame(endMarkerFrame());
    return out.ok();
}

bool isEndMarkerTime(float time) {
    return CompareTol(time, kFrameEndMarker) == 0;
}

} // namespace kv::model
