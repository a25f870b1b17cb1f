#include "app/dialogs/memory_command.h"
#include "app/dialogs/memory_form.h"
#include "support/document_ports.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

constexpr std::int64_t kBigMachine = 8'000'000'000;

TEST(MemoryForm, TextsOfTheFactorySettings) {
    const MemoryForm form = memoryForm(kFactoryMemory, 1.0f / 120.0f);
    EXPECT_EQ(form.accuracy, 1);
    const MemoryTexts t = memoryTexts(form, 1.0f / 12.0f, kBigMachine);
    EXPECT_EQ(t.objects, "5 objects");
    EXPECT_EQ(t.duration, "2 minutes");
    EXPECT_EQ(t.terrain, "400 x 400");
    EXPECT_EQ(t.assigned, "7 Mbytes");
    EXPECT_EQ(t.available, "7998 Mbytes");
    EXPECT_EQ(memoryTexts(form, 1.0f / 30.0f, kBigMachine).duration, "1 minutes");
    EXPECT_EQ(memoryTexts(form, 1.0f / 12.0f, std::nullopt).available, "unknown");
    EXPECT_EQ(memoryTexts({{2, 2002, 400}, 1}, 0.1f, kBigMachine).objects, "0 objects");
}

TEST(MemoryForm, AccuracyAndSliderPositions) {
    EXPECT_EQ(memoryForm(kFactoryMemory, 1.0f / 60.0f).accuracy, 0);
    EXPECT_EQ(memoryForm(kFactoryMemory, 0.0041667f).accuracy, 2);
    EXPECT_EQ(memoryForm(kFactoryMemory, 0.5f).accuracy, -1);
    EXPECT_EQ(terrainGridPosition(400), 4);
    EXPECT_EQ(terrainGridPosition(1), 1);
    EXPECT_EQ(terrainGridPosition(9000), 50);
    const MemoryForm reset = memoryFormReset();
    EXPECT_EQ(reset.settings, kFactoryMemory);
    EXPECT_EQ(reset.accuracy, 1);
}

TEST(MemoryForm, OkRefusesAnEstimateThatDoesNotFit) {
    const MemoryForm big{{52, 18002, 5000}, 1};
    EXPECT_EQ(memoryFormRefusal(big, 100'000'000),
              "Please ensure that the amount of memory assigned is less than the available "
              "memory.");
    EXPECT_EQ(memoryFormRefusal(big, kBigMachine), "");
    EXPECT_EQ(memoryFormRefusal(big, std::nullopt), "");
}

TEST(MemoryCommand, OkAllocatesTheChosenSettingsInANewProject) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    doc.state().gravity = 10.0f;
    rig.questions.answer = SaveAnswer::kDontSave;
    MemoryForm shown;
    int shownSlots = -1;
    const auto result = runMemoryCommand(
        doc,
        [&](const MemoryForm& start) -> std::optional<MemoryForm> {
            shown = start;
            shownSlots = doc.slotCount(); // the buffers are at their smallest meanwhile
            MemoryForm chosen = start;
            chosen.settings = {12, 602, 200};
            chosen.accuracy = 2;
            return chosen;
        },
        kBigMachine);
    EXPECT_EQ(result, MemoryCommandResult::kDone);
    // The prompt is always shown, with the memory command's text.
    ASSERT_EQ(rig.questions.asked.size(), 1u);
    EXPECT_NE(rig.questions.asked[0].find("To adjust the memory settings"), std::string::npos);
    EXPECT_EQ(shown.settings, kFactoryMemory);
    EXPECT_EQ(shownSlots, kMinimalMemory.objectSlots);
    EXPECT_EQ(doc.memory(), (MemorySettings{12, 602, 200}));
    EXPECT_EQ(memorySettingsOf(doc.preferences()), (MemorySettings{12, 602, 200}));
    EXPECT_FLOAT_EQ(doc.preferences().simTimeStep, 1.0f / 240.0f);
    EXPECT_EQ(doc.cameraSlot(), 11);
    EXPECT_EQ(doc.runSettings().recordCapacity, 602);
    EXPECT_FLOAT_EQ(doc.state().gravity, kStandardGravity); // a new project
    EXPECT_EQ(doc.object(0).vehicleType, model::kVehicleCar);
    EXPECT_FALSE(doc.modified());
}

TEST(MemoryCommand, CancelInTheDialogKeepsTheSettingsButStillStartsANewProject) {
    test::DocumentRig rig({9, 1002, 300});
    Document& doc = *rig.doc;
    doc.state().gravity = 10.0f;
    doc.preferences().simTimeStep = 1.0f / 60.0f;
    rig.questions.answer = SaveAnswer::kDontSave;
    const auto result = runMemoryCommand(
        doc, [](const MemoryForm&) { return std::optional<MemoryForm>{}; }, kBigMachine);
    EXPECT_EQ(result, MemoryCommandResult::kDone);
    EXPECT_EQ(doc.memory(), (MemorySettings{9, 1002, 300}));
    EXPECT_FLOAT_EQ(doc.preferences().simTimeStep, 1.0f / 60.0f);
    EXPECT_FLOAT_EQ(doc.state().gravity, kStandardGravity);
}

TEST(MemoryCommand, CancelInThePromptChangesNothing) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    doc.state().gravity = 10.0f;
    rig.questions.answer = SaveAnswer::kCancel;
    bool shown = false;
    const auto result = runMemoryCommand(
        doc,
        [&](const MemoryForm&) {
            shown = true;
            return std::optional<MemoryForm>{};
        },
        kBigMachine);
    EXPECT_EQ(result, MemoryCommandResult::kCancelled);
    EXPECT_FALSE(shown);
    EXPECT_FLOAT_EQ(doc.state().gravity, 10.0f);
    EXPECT_EQ(doc.memory(), kFactoryMemory);
}

} // namespace
} // namespace kv::app
