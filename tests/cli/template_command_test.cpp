#include "cli/cli_run.h"
#include "model/object_file.h"
#include "model/object_model.h"
#include "model/template_mesh.h"
#include "support/file_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

struct LoadedObject {
    bool ok = false;
    model::ObjectRecord record;
    int triangles = 0;
};

LoadedObject loadObject(const fs::path& file) {
    LoadedObject loaded;
    filetest::MessageLog log;
    model::GeometryIntake intake{[&] { loaded.triangles = 0; },
                                 [&](const std::array<double, 12>&) {
                                     ++loaded.triangles;
                                     return 1;
                                 }};
    loaded.ok =
        model::loadObjectFile(file, model::MotionTarget{0, &loaded.record, intake}, false, log);
    return loaded;
}

struct VehicleCase {
    const char* word;
    int type;
};

TEST(TemplateCommand, WritesEachBuiltInVehicleAsAnObjectFileThatOpens) {
    const VehicleCase cases[] = {{"car", model::kVehicleCar},
                                 {"motorcycle", model::kVehicleMotorcycle},
                                 {"aircraft", model::kVehicleAircraft},
                                 {"helicopter", model::kVehicleHelicopter}};
    filetest::ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        const fs::path out = dir / (std::string(c.word) + ".kvo");
        const CliResult r = runCli({"template", c.word, "-o", out.string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, out.string() + "\n");
        const LoadedObject loaded = loadObject(out);
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.record.vehicleType, c.type);
        EXPECT_GT(loaded.record.effectorCount, 0);
        EXPECT_LT(loaded.record.mass.mass, model::kResetMass);
        // Every face of the built-in mesh gives at least one triangle.
        EXPECT_GE(loaded.triangles,
                  model::kTemplateMeshFaceCounts[static_cast<std::size_t>(c.type)]);
    }
}

TEST(TemplateCommand, SameVehicleWritesIdenticalFiles) {
    filetest::ScratchDir dir;
    ASSERT_EQ(runCli({"template", "aircraft", "-o", (dir / "a.kvo").string()}).exitCode, 0);
    ASSERT_EQ(runCli({"template", "aircraft", "--output", (dir / "b.kvo").string()}).exitCode, 0);
    EXPECT_EQ(readAll(dir / "a.kvo"), readAll(dir / "b.kvo"));
}

TEST(TemplateCommand, HelpGoesToStdoutWithSuccess) {
    const CliResult r = runCli({"template", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("usage: kestrovane-cli template"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(TemplateCommand, BadUsageExitsWithTwoAndWritesNothing) {
    filetest::ScratchDir dir;
    const std::string out = (dir / "x.kvo").string();
    const std::vector<std::vector<std::string>> cases = {
        {"template"},
        {"template", "-o", out},
        {"template", "truck", "-o", out},
        {"template", "car"},
        {"template", "car", "-o"},
        {"template", "car", "--colour", "red", "-o", out},
        {"template", "car", "aircraft", "-o", out},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
    }
    EXPECT_TRUE(dir.entries().empty());
}

TEST(TemplateCommand, UnwritableTargetFailsWithMessage) {
    filetest::ScratchDir dir;
    const CliResult missing =
        runCli({"template", "car", "-o", (dir / "no-such-folder" / "car.kvo").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("could not be saved"), std::string::npos) << missing.err;
}

} // namespace
} // namespace kv::clitest
