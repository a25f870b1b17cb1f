#pragma once
/// Little-endian byte images of the stored records. Each block lists its fields
/// once, in stored order, in a `visit` function that both the encoder and the
/// decoder walk, so the two can never disagree about the layout.

#include "common/le_io.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <span>

namespace kv::model {

using ObjectImage = std::array<std::uint8_t, kObjectRecordSize>;
using EffectorImage = std::array<std::uint8_t, kEffectorRecordSize>;
using TransformImage = std::array<std::uint8_t, kGeometryTransformSize>;

void encodeObject(const ObjectRecord& r, std::span<std::uint8_t, kObjectRecordSize> out);
void decodeObject(std::span<const std::uint8_t, kObjectRecordSize> in, ObjectRecord& r);
ObjectImage encodeObject(const ObjectRecord& r);

void encodeEffector(const EffectorRecord& e, std::span<std::uint8_t, kEffectorRecordSize> out);
void decodeEffector(std::span<const std::uint8_t, kEffectorRecordSize> in, EffectorRecord& e);

void encodeTransform(const GeometryTransform& t,
                     std::span<std::uint8_t, kGeometryTransformSize> out);
void decodeTransform(std::span<const std::uint8_t, kGeometryTransformSize> in,
                     GeometryTransform& t);

} // namespace kv::model
