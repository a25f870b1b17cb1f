#pragma once
/// The "Memory and Accuracy" dialog: object slots, record duration and
/// terrain resolution on sliders with their texts and the memory estimate,
/// and the physics accuracy. OK refuses settings that need more memory than
/// the machine has.

#include "app/dialogs/memory_form.h"
#include "common/ports/messages.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QSlider;

namespace kv::dialogs {

class MemoryDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `framePeriod` (s) turns frames into minutes; `totalPhysical` is the
    /// machine's memory (bytes), nothing when it cannot be told.
    MemoryDialog(const app::MemoryForm& start, float framePeriod,
                 std::optional<std::int64_t> totalPhysical, MessagePort& messages,
                 QWidget* parent = nullptr);

    /// The settings chosen (valid after OK).
    const app::MemoryForm& form() const { return form_; }

    void accept() override;

    QSlider* objectsSlider() const { return objects_; }
    QSlider* durationSlider() const { return duration_; }
    QSlider* terrainSlider() const { return terrain_; }
    QLabel* objectsText() const { return objectsText_; }
    QLabel* durationText() const { return durationText_; }
    QLabel* terrainText() const { return terrainText_; }
    QLabel* assignedText() const { return assignedText_; }
    QLabel* availableText() const { return availableText_; }
    /// Ids are indices into kAccuracyChoices.
    QButtonGroup* accuracyButtons() const { return accuracy_; }

  public slots:
    /// "Reset": the factory settings and "Better (120 Hz)".
    void resetToFactory();

  private:
    void showForm();
    void refreshTexts();

    app::MemoryForm form_;
    float framePeriod_;
    std::optional<std::int64_t> totalPhysical_;
    MessagePort& messages_;
    QSlider* objects_ = nullptr;
    QSlider* duration_ = nullptr;
    QSlider* terrain_ = nullptr;
    QLabel* objectsText_ = nullptr;
    QLabel* durationText_ = nullptr;
    QLabel* terrainText_ = nullptr;
    QLabel* assignedText_ = nullptr;
    QLabel* availableText_ = nullptr;
    QButtonGroup* accuracy_ = nullptr;
    bool showing_ = false;
};

} // namespace kv::dialogs
