#pragma once
/// Shared set-up of the exporter tests: a scratch folder, a stored motion with
/// a camera slot to read into, motion files written from records and frames
/// built in the test, and helpers that cut the exported text into lines and
/// values.

#include "export/export_motion.h"
#include "export/export_options.h"
#include "model/motion_frame.h"
#include "model/motion_store.h"
#include "model/object_record.h"
#include "support/file_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace kv::exptest {

/// The recorded motion every export test plays: linear in time, so the value
/// at any sample time is known without interpolating by hand.
model::MotionFrame linearFrame(float t);

/// Frames of linearFrame every `step` seconds from 0 to `length` inclusive.
std::vector<model::MotionFrame> linearMotion(float length, float step = 0.1f);

/// An object of vehicle type none with no effectors.
model::ObjectRecord bareObject();

/// Appends an effector and returns its index.
int addEffector(model::ObjectRecord& r, int kind, std::string_view name, int parent = -1);

std::vector<std::string> splitLines(const std::string& text);
/// Tab- or space-separated fields of one line (empty fields dropped).
std::vector<std::string> splitFields(std::string_view line);
std::string readText(const std::filesystem::path& file);

class ExportTest : public ::testing::Test {
  protected:
    static constexpr int kCameraSlot = 1;

    void SetUp() override;

    /// Writes a motion file of `record` and `frames` named `name` in the scratch folder.
    std::filesystem::path writeMotion(const model::ObjectRecord& record,
                                      const std::vector<model::MotionFrame>& frames,
                                      std::string_view name = "Run.kvm");
    exp::ExportSlot slot();

    filetest::ScratchDir dir;
    filetest::MessageLog log;
    model::MotionStore store;
    model::ObjectRecord camera;
    int geometryClears = 0;
    exp::ExportOptions options;
};

} // namespace kv::exptest
