#pragma once
/// Explicit little-endian encoding of 32-bit integers and IEEE singles, and
/// sequential byte-image writers and readers built on it. Records that files
/// store byte for byte go through these, never through a raw struct copy, so
/// the stored layout does not depend on the host's byte order or padding.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace kv::io {

inline void putU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline std::uint32_t getU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void putI32(std::uint8_t* p, std::int32_t v) { putU32(p, static_cast<std::uint32_t>(v)); }
inline std::int32_t getI32(const std::uint8_t* p) { return static_cast<std::int32_t>(getU32(p)); }
inline void putF32(std::uint8_t* p, float v) { putU32(p, std::bit_cast<std::uint32_t>(v)); }
inline float getF32(const std::uint8_t* p) { return std::bit_cast<float>(getU32(p)); }

/// Writes fields one after another into a fixed byte image.
class ByteWriter {
  public:
    explicit ByteWriter(std::span<std::uint8_t> out) : out_(out) {}
    void i32(std::int32_t v) { putI32(take(4), v); }
    void f32(float v) { putF32(take(4), v); }
    template <std::size_t N> void i32(const std::array<std::int32_t, N>& a) {
        for (auto v : a) i32(v);
    }
    template <std::size_t N> void f32(const std::array<float, N>& a) {
        for (auto v : a) f32(v);
    }
    template <std::size_t N> void chars(const std::array<char, N>& a) {
        std::memcpy(take(N), a.data(), N);
    }
    std::size_t position() const { return pos_; }

  private:
    std::uint8_t* take(std::size_t n) {
        // Callers size the image from the record's own constant; overrunning it is a
        // programming error, caught here rather than by a silent memory write.
        if (pos_ + n > out_.size()) __builtin_trap();
        std::uint8_t* p = out_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::span<std::uint8_t> out_;
    std::size_t pos_ = 0;
};

/// Reads fields one after another from a fixed byte image.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> in) : in_(in) {}
    void i32(std::int32_t& v) { v = getI32(take(4)); }
    void f32(float& v) { v = getF32(take(4)); }
    template <std::size_t N> void i32(std::array<std::int32_t, N>& a) {
        for (auto& v : a) i32(v);
    }
    template <std::size_t N> void f32(std::array<float, N>& a) {
        for (auto& v : a) f32(v);
    }
    template <std::size_t N> void chars(std::array<char, N>& a) {
        std::memcpy(a.data(), take(N), N);
    }
    std::size_t position() const { return pos_; }

  private:
    const std::uint8_t* take(std::size_t n) {
        if (pos_ + n > in_.size()) __builtin_trap();
        const std::uint8_t* p = in_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
};

} // namespace kv::io
