#include "common/le_io.h"
#include "model/object_model.h"
#include "model/record_codec.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace kv::model {
namespace {

ObjectRecord zeroRecord() {
    ObjectImage zero{};
    ObjectRecord r;
    decodeObject(zero, r);
    return r;
}

ObjectImage randomImage(unsigned seed) {
    std::mt19937 rng(seed);
    ObjectImage img;
    for (auto& b : img)
        b = static_cast<std::uint8_t>(rng());
    return img;
}

TEST(RecordCodec, AnyImageReadAndWrittenBackIsByteIdentical) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const ObjectImage in = randomImage(seed);
        ObjectRecord r;
        decodeObject(in, r);
        EXPECT_EQ(encodeObject(r), in) << "seed " << seed;
    }
}

TEST(RecordCodec, UnusedEffectorSlotsSurviveARoundTrip) {
    ObjectRecord r;
    resetObject(r);
    r.effectorCount = 2;
    setRecordName(r.effectors[0].name, "Body");
    // Leftovers of deleted effectors beyond the count are stored as they are.
    r.effectors[5].kind = kEffectorTire;
    r.effectors[5].radius = 1.25f;
    setRecordName(r.effectors[29].name, "Stale");
    r.effectors[29].children = {1, 2, 3, 4, 5, 6};
    const ObjectImage img = encodeObject(r);
    ObjectRecord back;
    decodeObject(img, back);
    EXPECT_EQ(encodeObject(back), img);
    EXPECT_EQ(back.effectors[5].radius, 1.25f);
    EXPECT_EQ(recordName(back.effectors[29].name), "Stale");
    EXPECT_EQ(back.effectors[29].children[5], 6);
}

TEST(RecordCodec, FieldsSitAtTheirTableOffsets) {
    struct Case {
        std::size_t offset;
        std::function<void(ObjectRecord&)> set;
    };
    // Every setter stores the marker bits 0x4A3B2C1D (as an int, or as the float
    // with those bits); only the four bytes at the table offset may change.
    constexpr std::int32_t kMark = 0x4A3B2C1D;
    const float f = std::bit_cast<float>(kMark);
    const Case cases[] = {
        {0, [](ObjectRecord& r) { r.reserved0 = kMark; }},
        {4, [](ObjectRecord& r) { r.vehicleType = kMark; }},
        {8, [](ObjectRecord& r) { r.role = kMark; }},
        {12, [](ObjectRecord& r) { r.recordChannel = kMark; }},
        {272, [f](ObjectRecord& r) { r.initial.position[0] = f; }},
        {284, [f](ObjectRecord& r) { r.initial.attitude[0] = f; }},
        {296, [f](ObjectRecord& r) { r.initial.rates[0] = f; }},
        {316, [f](ObjectRecord& r) { r.initial.velocity[2] = f; }},
        {320, [f](ObjectRecord& r) { r.mass.mass = f; }},
        {324, [f](ObjectRecord& r) { r.mass.inertia[0] = f; }},
        {356, [f](ObjectRecord& r) { r.mass.inertia[8] = f; }},
        {360, [f](ObjectRecord& r) { r.mass.massScale[0] = f; }},
        {376, [f](ObjectRecord& r) { r.mass.rollPitchCoupling = f; }},
        {380, [f](ObjectRecord& r) { r.mass.rollYawCoupling = f; }},
        {384, [f](ObjectRecord& r) { r.mass.pitchYawCoupling = f; }},
        {388, [](ObjectRecord& r) { r.tires.tireCount = kMark; }},
        {392, [](ObjectRecord& r) { r.tires.skid = kMark; }},
        {396, [](ObjectRecord& r) { r.tires.tireType = kMark; }},
        {400, [](ObjectRecord& r) { r.tires.surface = kMark; }},
        {404, [](ObjectRecord& r) { r.tires.drive[0] = kMark; }},
        {444, [](ObjectRecord& r) { r.tires.brake[0] = kMark; }},
        {484, [f](ObjectRecord& r) { r.tires.braking = f; }},
        {488, [f](ObjectRecord& r) { r.tires.spring[0] = f; }},
        {528, [f](ObjectRecord& r) { r.tires.damping[0] = f; }},
        {564, [f](ObjectRecord& r) { r.tires.damping[9] = f; }},
        {568, [](ObjectRecord& r) { r.engineType = kMark; }},
        {572, [f](ObjectRecord& r) { r.nozzleLimit = f; }},
        {576, [f](ObjectRecord& r) { r.enginePower = f; }},
        {580, [f](ObjectRecord& r) { r.engineScale = f; }},
        {584, [](ObjectRecord& r) { r.aero.aeroModel = kMark; }},
        {588, [f](ObjectRecord& r) { r.aero.span = f; }},
        {592, [f](ObjectRecord& r) { r.aero.area = f; }},
        {596, [f](ObjectRecord& r) { r.aero.aspectRatio = f; }},
        {600, [f](ObjectRecord& r) { r.aero.initialAoa = f; }},
        {604, [f](ObjectRecord& r) { r.aero.aileronLimit = f; }},
        {608, [f](ObjectRecord& r) { r.aero.elevatorLimit = f; }},
        {612, [f](ObjectRecord& r) { r.aero.rudderLimit = f; }},
        {616, [f](ObjectRecord& r) { r.aero.coefficients[0] = f; }},
        {708, [f](ObjectRecord& r) { r.aero.coefficients[23] = f; }},
        {712, [f](ObjectRecord& r) { r.collisionFriction = f; }},
        {716, [f](ObjectRecord& r) { r.collisionSpring = f; }},
        {720, [f](ObjectRecord& r) { r.collisionDamping = f; }},
        {724, [](ObjectRecord& r) { r.geometryTransform.rightHanded = kMark; }},
        {728, [f](ObjectRecord& r) { r.geometryTransform.fileUnit = f; }},
        {732, [f](ObjectRecord& r) { r.geometryTransform.rotate[0] = f; }},
        {744, [f](ObjectRecord& r) { r.geometryTransform.translate[0] = f; }},
        {756, [f](ObjectRecord& r) { r.geometryTransform.scale[0] = f; }},
        {764, [f](ObjectRecord& r) { r.geometryTransform.scale[2] = f; }},
        {768, [](ObjectRecord& r) { r.color = kMark; }},
        {772, [](ObjectRecord& r) { r.transparency = kMark; }},
        {776, [](ObjectRecord& r) { r.effectorCount = kMark; }},
        {780, [](ObjectRecord& r) { r.effectors[0].kind = kMark; }},
        {784, [](ObjectRecord& r) { r.effectors[0].parent = kMark; }},
        {788, [](ObjectRecord& r) { r.effectors[0].childCount = kMark; }},
        {792, [](ObjectRecord& r) { r.effectors[0].children[0] = kMark; }},
        {816, [](ObjectRecord& r) { r.effectors[0].drivers[0] = kMark; }},
        {840, [f](ObjectRecord& r) { r.effectors[0].offsets[0] = f; }},
        {864, [f](ObjectRecord& r) { r.effectors[0].scales[0] = f; }},
        {888, [f](ObjectRecord& r) { r.effectors[0].radius = f; }},
        {892, [f](ObjectRecord& r) { r.effectors[0].width = f; }},
        {1152, [](ObjectRecord& r) { r.effectors[1].kind = kMark; }},
        {780 + 29 * 372 + 112, [f](ObjectRecord& r) { r.effectors[29].width = f; }},
    };
    for (const auto& c : cases) {
        ObjectRecord r = zeroRecord();
        c.set(r);
        const ObjectImage img = encodeObject(r);
        for (std::size_t i = 0; i < img.size(); i += 4) {
            const std::int32_t word = io::getI32(img.data() + i);
            EXPECT_EQ(word, i == c.offset ? kMark : 0) << "field at " << c.offset << ", byte " << i;
        }
    }
}

TEST(RecordCodec, NamesAreStoredAsTheirCharacterArrays) {
    ObjectRecord r = zeroRecord();
    setRecordName(r.name, "Car");
    setRecordName(r.effectors[29].name, "Tail");
    const ObjectImage img = encodeObject(r);
    EXPECT_EQ(img[16], 'C');
    EXPECT_EQ(img[18], 'r');
    EXPECT_EQ(img[19], 0);
    EXPECT_EQ(img[780 + 29 * 372 + 116], 'T');
    EXPECT_EQ(img.size(), 11940u);
}

TEST(RecordCodec, IntegersAreLittleEndian) {
    ObjectRecord r = zeroRecord();
    r.role = 0x01020304;
    r.recordChannel = -1;
    r.mass.mass = 1.0f; // 0x3F800000
    const ObjectImage img = encodeObject(r);
    EXPECT_EQ(img[8], 0x04);
    EXPECT_EQ(img[11], 0x01);
    for (int i = 12; i < 16; ++i)
        EXPECT_EQ(img[static_cast<std::size_t>(i)], 0xFF);
    EXPECT_EQ(img[320], 0x00);
    EXPECT_EQ(img[323], 0x3F);
    EXPECT_EQ(img[322], 0x80);
}

TEST(RecordCodec, EffectorAndTransformImagesMatchTheirPlaceInTheObject) {
    const ObjectImage objectImage = randomImage(7);
    ObjectRecord r;
    decodeObject(objectImage, r);

    EffectorImage e{};
    encodeEffector(r.effectors[3], e);
    EXPECT_TRUE(std::equal(e.begin(), e.end(), objectImage.begin() + 780 + 3 * 372));
    EffectorRecord back;
    decodeEffector(e, back);
    EffectorImage again{};
    encodeEffector(back, again);
    EXPECT_EQ(again, e);

    TransformImage t{};
    encodeTransform(r.geometryTransform, t);
    EXPECT_TRUE(std::equal(t.begin(), t.end(), objectImage.begin() + 724));
    GeometryTransform tb;
    decodeTransform(t, tb);
    TransformImage t2{};
    encodeTransform(tb, t2);
    EXPECT_EQ(t2, t);
}

} // namespace
} // namespace kv::model
