// Exports over a disk that fills after every possible number of bytes: the
// previous files stay byte for byte and the failure is shown.

#include "export/asf_export.h"
#include "export/bvh_export.h"
#include "export/gltf_export.h"
#include "export_fixture.h"
#include "support/write_faults.h"

namespace kv::exptest {
namespace {

class ExportFaultTest : public ExportTest {
  protected:
    std::filesystem::path recorded() {
        model::ObjectRecord record = bareObject();
        addEffector(record, model::kEffectorBasic, "Arm");
        return writeMotion(record, linearMotion(0.3f));
    }
};

TEST_F(ExportFaultTest, Bvh) {
    const auto motion = recorded();
    filetest::writeBytes(dir / "Run.bvh", {'o', 'l', 'd'});
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(),
        [&] { return exp::exportBvh(motion, dir / "Run.bvh", "Run", options, slot(), log); },
        &log));
}

TEST_F(ExportFaultTest, AsfAndAmcStayAPair) {
    const auto motion = recorded();
    filetest::writeBytes(dir / "Run.asf", {'o', 'l', 'd', 'a'});
    filetest::writeBytes(dir / "Run.amc", {'o', 'l', 'd', 'm'});
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(),
        [&] {
            return exp::exportAsfAmc(motion, dir / "Run.asf", dir / "Run.amc", "Run", options,
                                     slot(), log);
        },
        &log));
}

TEST_F(ExportFaultTest, BinaryGltf) {
    const auto motion = recorded();
    filetest::writeBytes(dir / "Run.glb", {'o', 'l', 'd'});
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(),
        [&] { return exp::exportGltf(motion, dir / "Run.glb", "Run", {}, slot(), log); }, &log));
}

} // namespace
} // namespace kv::exptest
