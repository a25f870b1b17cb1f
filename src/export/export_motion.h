#pragma once
/// The motion an export reads: a motion file read into the camera slot,
/// resampled at 30 frames per second, and the camera slot emptied again when
/// the export is done, whatever its outcome.

#include "common/ports/messages.h"
#include "model/motion_file.h"
#include "model/motion_store.h"

#include <filesystem>

namespace kv::exp {

/// Frames per second of every export.
inline constexpr int kExportFrameRate = 30;
/// Time between exported frames (s), as the sample times are computed.
inline constexpr float kExportFramePeriod = 0.033333335f;

/// Where an export reads the motion: the camera slot of the object table and
/// the stored motion that holds its frames.
struct ExportSlot {
    model::MotionTarget camera; ///< the camera slot (the last slot of the table)
    model::MotionStore* store = nullptr;
};

/// Frames exported for a motion of `length` seconds: length x 30, truncated.
/// A length that is negative or not a number gives 0; one too long to count
/// gives the largest count an int holds.
int exportFrameCount(float length);

/// Time (s) of exported frame `m`.
inline float exportSampleTime(int m) {
    return static_cast<float>(m) * kExportFramePeriod;
}

/// A motion file read into the camera slot for one export. The slot is reset
/// to an empty camera when the object goes.
class ExportMotion {
  public:
    /// Reads `file` with messages allowed; ok() tells whether it could be read.
    ExportMotion(const std::filesystem::path& file, const ExportSlot& slot, MessagePort& messages);
    ~ExportMotion();
    ExportMotion(const ExportMotion&) = delete;
    ExportMotion& operator=(const ExportMotion&) = delete;

    bool ok() const { return ok_; }
    /// The object record read with the motion.
    const model::ObjectRecord& record() const { return *slot_.camera.record; }
    /// Length of the motion (s): the time of its last frame.
    float length() const;
    /// Number of 30 frames per second samples to export.
    int frameCount() const { return exportFrameCount(length()); }
    /// The whole frame at exported frame `m` (m >= 1), interpolated.
    model::MotionFrame sample(int m);

  private:
    ExportSlot slot_;
    MessagePort& messages_;
    bool ok_ = false;
};

} // namespace kv::exp
