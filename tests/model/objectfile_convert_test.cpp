// Previous-version object files: the record mapping, the effector corrections and
// the in-place upgrade with its backup name.

#include "common/vecmath.h"
#include "model/driver_codes.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"
#include "model/object_model.h"
#include "model/record_codec.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"
#include "support/write_faults.h"

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace kv::model {
namespace {

using filetest::MeshRecorder;
using filetest::MessageLog;
using filetest::ScratchDir;

/// A previous-version record image built field by field at its own offsets.
struct PreviousRecord {
    PreviousObjectImage image{};

    void i32(std::size_t at, std::int32_t v) { io::putI32(image.data() + at, v); }
    void f32(std::size_t at, float v) { io::putF32(image.data() + at, v); }
    void strut(int k, float v) { f32(624 + 4 * static_cast<std::size_t>(k), v); }
    void pivotA(int k, kv::Vec3 p) { point(344, k, p); }
    void pivotB(int k, kv::Vec3 p) { point(504, k, p); }
    void effector(int i, const EffectorRecord& e) {
        encodeEffector(e, std::span<std::uint8_t, kEffectorRecordSize>(
                              image.data() + 916 + 372 * static_cast<std::size_t>(i), 372));
    }

  private:
    void point(std::size_t base, int k, kv::Vec3 p) {
        for (std::size_t i = 0; i < 3; ++i)
            f32(base + 12 * static_cast<std::size_t>(k) + 4 * i, p[i]);
    }
};

PreviousRecord sampleAircraft() {
    PreviousRecord r;
    r.i32(0, 5); // reserved0
    r.i32(4, kVehicleAircraft);
    r.f32(8, 100.0f);       // initial north
    r.f32(52, 240.0f);      // initial last velocity component
    r.f32(56, 1200.0f);     // mass
    r.i32(124, 1);          // skid
    r.i32(128, 3);          // tireCount
    r.i32(136, 2);          // tireType
    r.i32(140, 200);        // surface
    r.i32(144 + 4, 1);      // drive[1]
    r.i32(184 + 8, 1);      // brake[2]
    r.f32(664, 0.8f);       // spring[0]
    r.f32(704 + 36, 0.6f);  // damping[9]
    r.f32(744, 1.5f);       // braking
    r.i32(748, kEngineJet); // engine type
    r.f32(752, 20.0f);      // nozzle limit
    r.f32(756, 23000.0f);   // power
    r.f32(760, 1.1f);       // engine scale
    r.i32(764, kAeroLinear);
    r.f32(764 + 8, 608.0f); // aero area
    r.f32(892, 0.3f);       // collision friction
    r.f32(900, 0.9f);       // collision damping
    r.i32(904, 12);         // color
    r.i32(908, kClear);
    r.i32(912, 2); // effectorCount
    return r;
}

std::vector<std::uint8_t> previousFile(const PreviousRecord& r, std::size_t triangles,
                                       bool withFrame = false) {
    const auto tris = filetest::sampleTriangles(triangles);
    const std::size_t frames = withFrame ? 2 : 1;
    std::vector<std::uint8_t> out(4 + r.image.size() + 4 + 36 * triangles + 304 * frames, 0);
    std::uint8_t* p = out.data();
    io::putI32(p, 12076);
    std::memcpy(p + 4, r.image.data(), r.image.size());
    p += 4 + r.image.size();
    io::putI32(p, static_cast<std::int32_t>(triangles));
    p += 4;
    for (const auto& t : tris) {
        for (float v : t) {
            io::putF32(p, v);
            p += 4;
        }
    }
    if (withFrame) {
        io::putF32(p, 0.0f);
        p += 304;
    }
    io::putF32(p, -999.0f);
    return out;
}

TEST(ConvertPreviousRecord, MapsEveryFieldToItsCurrentPlace) {
    PreviousRecord old = sampleAircraft();
    EffectorRecord e;
    e.kind = kEffectorBasic;
    e.parent = -1;
    e.drivers = {0, 0, 0, 1, 0, 0};
    e.offsets = {1.0f, 2.0f, 3.0f, 0, 0, 0};
    e.scales = {0.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f};
    setRecordName(e.name, "Aileron");
    old.effector(1, e);

    const auto r = convertPreviousRecord(old.image, "Untitled", -1);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->reserved0, 5);
    EXPECT_EQ(r->vehicleType, kVehicleAircraft);
    EXPECT_EQ(r->role, -1);
    EXPECT_EQ(r->recordChannel, -1);
    EXPECT_EQ(recordName(r->name), "Untitled");
    EXPECT_EQ(r->initial.position[0], 100.0f);
    EXPECT_EQ(r->initial.velocity[2], 240.0f);
    EXPECT_EQ(r->mass.mass, 1200.0f);
    EXPECT_EQ(r->tires.tireCount, 3);
    EXPECT_EQ(r->tires.skid, 1);
    EXPECT_EQ(r->tires.tireType, 2);
    EXPECT_EQ(r->tires.surface, 200);
    EXPECT_EQ(r->tires.drive[1], 1);
    EXPECT_EQ(r->tires.brake[2], 1);
    EXPECT_EQ(r->tires.braking, 1.5f);
    EXPECT_EQ(r->tires.spring[0], 0.8f);
    EXPECT_EQ(r->tires.damping[9], 0.6f);
    EXPECT_EQ(r->engineType, kEngineJet);
    EXPECT_EQ(r->nozzleLimit, 20.0f);
    EXPECT_EQ(r->enginePower, 23000.0f);
    EXPECT_EQ(r->engineScale, 1.1f);
    EXPECT_EQ(r->aero.aeroModel, kAeroLinear);
    EXPECT_EQ(r->aero.area, 608.0f);
    EXPECT_EQ(r->collisionFriction, 0.3f);
    EXPECT_EQ(r->collisionDamping, 0.9f);
    EXPECT_EQ(r->color, 12);
    EXPECT_EQ(r->transparency, kClear);
    EXPECT_EQ(encodeObject(*r), [&] {
        ObjectRecord expected = *r;
        expected.geometryTransform = GeometryTransform{};
        return encodeObject(expected);
    }());
    EXPECT_EQ(r->effectorCount, 2);
    EXPECT_EQ(recordName(r->effectors[1].name), "Aileron");
    EXPECT_EQ(r->effectors[1].offsets[2], 3.0f);
    EXPECT_EQ(r->effectors[1].scales[3], 2.0f);
}

TEST(ConvertPreviousRecord, EffectorCorrections) {
    PreviousRecord old = sampleAircraft();
    old.strut(2, 0.75f);
    old.strut(4, 0.5f);
    old.pivotA(4, {2.0f, 0.0f, 0.0f});
    old.pivotB(4, {-1.0f, 0.0f, 4.0f}); // |B - A| = 5, B ahead of A: negated
    old.strut(5, 0.5f);
    old.pivotA(5, {1.0f, 1.0f, 1.0f});
    old.pivotB(5, {1.0f, 1.0f, 1.0f}); // no arm: scale kept

    EffectorRecord e0;
    e0.drivers = {kDriverNone, kDriverAileron,   kDriverStrutCompression + 2,
                  kDriverNone, kDriverPivot + 4, kDriverNone};
    e0.scales = {1.0f, 1.0f, 9.0f, 0.5f, 9.0f, 1.0f};
    old.effector(0, e0);
    EffectorRecord e1;
    e1.drivers = {0, 0, 0, 0, kDriverPivot + 5, 0};
    e1.scales = {0, 0, 0, 0, 3.0f, 0};
    old.effector(1, e1);

    const auto r = convertPreviousRecord(old.image, "x", 0);
    ASSERT_TRUE(r.has_value());
    const auto& s0 = r->effectors[0].scales;
    EXPECT_EQ(s0[kDofForward], 0.0f); // 1.0 on None
    EXPECT_EQ(s0[kDofRight], 1.0f);   // 1.0 on a driven axis stays
    EXPECT_EQ(s0[kDofDown], -0.75f);  // minus the strut value of tire 2
    EXPECT_EQ(s0[kDofRoll], 0.5f);    // not 1.0: stays
    EXPECT_FLOAT_EQ(s0[kDofPitch], -(0.5f / 5.0f * 57.29578f));
    EXPECT_EQ(s0[kDofYaw], 0.0f);
    EXPECT_EQ(r->effectors[1].scales[kDofPitch], 3.0f);
}

TEST(ConvertPreviousRecord, OutOfRangeCountsAreRefused) {
    PreviousRecord old = sampleAircraft();
    old.i32(912, 31);
    EXPECT_FALSE(convertPreviousRecord(old.image, "x", 0).has_value());
}

class UpgradeTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    MessageLog log;
};

TEST_F(UpgradeTest, CarFirstIsUpgradedBesideCarOld) {
    const auto path = dir / "car.first.kvo";
    const auto original = previousFile(sampleAircraft(), 3);
    filetest::writeBytes(path, original);

    ASSERT_TRUE(upgradeObjectFile(path, log));
    EXPECT_TRUE(log.shown.empty());
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"car.first.kvo", "car.old"}));
    EXPECT_EQ(filetest::readBytes(dir / "car.old"), original);
    EXPECT_EQ(checkFileVersion(path, log), kVersionCurrent);

    ObjectRecord slot;
    MeshRecorder mesh;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(readObjectFile(in, {0, &slot, mesh.intake()}, false, log));
    std::fclose(in);
    EXPECT_EQ(recordName(slot.name), "Untitled");
    EXPECT_EQ(slot.role, -1);
    EXPECT_EQ(slot.enginePower, 23000.0f);
    EXPECT_EQ(mesh.faces.size(), 3u);
    EXPECT_EQ(std::filesystem::file_size(path), 4 + 11940 + 4 + 3 * 36 + 264u);
}

TEST_F(UpgradeTest, OpeningAPreviousVersionObjectLoadsTheConvertedOne) {
    filetest::writeBytes(dir / "car.kvo", previousFile(sampleAircraft(), 2));
    ObjectRecord slot;
    MeshRecorder mesh;
    ASSERT_TRUE(loadObjectFile(dir / "car.kvo", {0, &slot, mesh.intake()}, true, log));
    EXPECT_EQ(recordName(slot.name), "car");
    EXPECT_EQ(slot.role, kRoleInteractive);
    EXPECT_EQ(slot.vehicleType, kVehicleAircraft);
    EXPECT_TRUE(std::filesystem::exists(dir / "car.old"));
}

TEST_F(UpgradeTest, BackupNeverOverwritesAndNeverIsTheFileItself) {
    struct Case {
        std::vector<std::string> existing;
        std::string file;
        std::string backup;
    };
    const Case cases[] = {
        {{}, "car.first.kvo", "car.old"},
        {{"car.old"}, "car.kvo", "car.1.old"},
        {{"car.old", "car.1.old"}, "car.kvo", "car.2.old"},
        {{}, "car", "car.old"},
        {{}, "car.old", "car.1.old"},
    };
    for (const Case& c : cases) {
        ScratchDir d;
        for (const auto& name : c.existing)
            filetest::writeBytes(d / name, {1, 2, 3});
        const auto backup = backupPathFor(d / c.file);
        ASSERT_TRUE(backup.has_value()) << c.file;
        EXPECT_EQ(backup->filename().string(), c.backup) << c.file;
    }
}

TEST_F(UpgradeTest, ExistingBackupIsKeptWhenUpgrading) {
    filetest::writeBytes(dir / "car.old", {42});
    const auto original = previousFile(sampleAircraft(), 1);
    filetest::writeBytes(dir / "car.kvo", original);
    ASSERT_TRUE(upgradeObjectFile(dir / "car.kvo", log));
    EXPECT_EQ(filetest::readBytes(dir / "car.old"), std::vector<std::uint8_t>{42});
    EXPECT_EQ(filetest::readBytes(dir / "car.1.old"), original);
}

TEST_F(UpgradeTest, PreviousMotionWithFramesIsRefusedAndLeftAlone) {
    const auto original = previousFile(sampleAircraft(), 1, true);
    filetest::writeBytes(dir / "run.kvm", original);
    EXPECT_FALSE(upgradeObjectFile(dir / "run.kvm", log));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], "The file is more than one version old and cannot be converted to the "
                            "current version.");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"run.kvm"});
    EXPECT_EQ(filetest::readBytes(dir / "run.kvm"), original);
}

TEST_F(UpgradeTest, DamagedPreviousFileIsRefusedAndLeftAlone) {
    auto original = previousFile(sampleAircraft(), 4);
    original.resize(original.size() - 400);
    filetest::writeBytes(dir / "car.kvo", original);
    EXPECT_FALSE(upgradeObjectFile(dir / "car.kvo", log));
    EXPECT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"car.kvo"});
}

TEST_F(UpgradeTest, FailedWriteOfTheConvertedFilePutsTheOriginalBack) {
    const auto original = previousFile(sampleAircraft(), 2);
    filetest::writeBytes(dir / "car.kvo", original);
    // A file-size limit below the converted file's size makes its write fail
    // part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool upgraded = upgradeObjectFile(dir / "car.kvo", log);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(upgraded);
    EXPECT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"car.kvo"});
    EXPECT_EQ(filetest::readBytes(dir / "car.kvo"), original);
}

TEST_F(UpgradeTest, ConvertObjectFileWritesTheNamedFile) {
    filetest::writeBytes(dir / "old.kvo", previousFile(sampleAircraft(), 2));
    ASSERT_TRUE(convertObjectFile(dir / "old.kvo", dir / "new.kvo", "Jet", 1, log));
    ObjectRecord slot;
    std::FILE* in = std::fopen((dir / "new.kvo").c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(readObjectFile(in, {0, &slot, {}}, false, log));
    std::fclose(in);
    EXPECT_EQ(recordName(slot.name), "Jet");
    EXPECT_EQ(slot.role, 1);
}

} // namespace
} // namespace kv::model

namespace kv::model {
namespace {

TEST_F(UpgradeTest, UpgradeCutAtEveryByteLeavesTheOldFileAlone) {
    const auto path = dir / "car.kvo";
    filetest::writeBytes(path, previousFile(sampleAircraft(), 2));
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(), [&] { return upgradeObjectFile(path, log); }, &log));
}

struct SimulatedCrash {};

TEST_F(UpgradeTest, UpgradeStoppedAtEveryStepLeavesTheOldFileOrTheNewOne) {
    const auto original = previousFile(sampleAircraft(), 2);
    std::vector<std::uint8_t> upgraded;
    int steps = 0;
    {
        ScratchDir reference;
        filetest::writeBytes(reference / "car.kvo", original);
        filetest::ScopedWriteFaults counting;
        counting.faults.beforeStep = [&](AtomicWriteStep) { ++steps; };
        ASSERT_TRUE(upgradeObjectFile(reference / "car.kvo", log));
        upgraded = filetest::readBytes(reference / "car.kvo");
    }
    // Two replacements (the backup, then the file): four steps each.
    ASSERT_EQ(steps, 8);
    for (int stop = 0; stop < steps; ++stop) {
        ScratchDir crashed;
        const auto path = crashed / "car.kvo";
        filetest::writeBytes(path, original);
        {
            filetest::ScopedWriteFaults failing;
            int step = 0;
            failing.faults.beforeStep = [&](AtomicWriteStep) {
                if (step++ == stop)
                    throw SimulatedCrash{};
            };
            EXPECT_THROW(upgradeObjectFile(path, log), SimulatedCrash) << "step " << stop;
        }
        ASSERT_TRUE(std::filesystem::exists(path)) << "stopped before step " << stop;
        const auto now = filetest::readBytes(path);
        EXPECT_TRUE(now == original || now == upgraded) << "stopped before step " << stop;
        // What is left can be opened again, and upgrades when it is still old.
        MessageLog again;
        EXPECT_TRUE(upgradeObjectFile(path, again)) << "stopped before step " << stop;
        EXPECT_EQ(filetest::readBytes(path), upgraded) << "stopped before step " << stop;
    }
}

} // namespace
} // namespace kv::model
