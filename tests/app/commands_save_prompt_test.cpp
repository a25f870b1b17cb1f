#include "app/commands_save_prompt.h"

#include <gtest/gtest.h>
#include <string>

namespace kv::app {
namespace {

struct PromptRun {
    bool proceed;
    int asked;
    int saved;
    std::string message;
};

PromptRun run(bool modified, SavePromptChoice choice, bool saveSucceeds) {
    PromptRun r{false, 0, 0, {}};
    SavePromptHooks hooks;
    hooks.ask = [&](std::string_view m) {
        ++r.asked;
        r.message = std::string(m);
        return choice;
    };
    hooks.save = [&] {
        ++r.saved;
        return saveSucceeds;
    };
    r.proceed = confirmSaveFirst(modified, "Would you like to save changes to \"P\" first?", hooks);
    return r;
}

TEST(SavePrompt, UnmodifiedProjectAsksNothing) {
    const PromptRun r = run(false, SavePromptChoice::Cancel, false);
    EXPECT_TRUE(r.proceed);
    EXPECT_EQ(r.asked, 0);
    EXPECT_EQ(r.saved, 0);
}

TEST(SavePrompt, ChoicesOfAModifiedProject) {
    struct Case {
        SavePromptChoice choice;
        bool saveSucceeds;
        bool proceed;
        int saved;
    };
    const Case cases[] = {
        {SavePromptChoice::Save, true, true, 1},
        {SavePromptChoice::Save, false, false, 1}, // save cancelled or failed: stop
        {SavePromptChoice::DontSave, false, true, 0},
        {SavePromptChoice::Cancel, true, false, 0},
    };
    for (const Case& c : cases) {
        const PromptRun r = run(true, c.choice, c.saveSucceeds);
        EXPECT_EQ(r.proceed, c.proceed) << int(c.choice);
        EXPECT_EQ(r.asked, 1);
        EXPECT_EQ(r.saved, c.saved);
        EXPECT_EQ(r.message, "Would you like to save changes to \"P\" first?");
    }
}

} // namespace
} // namespace kv::app
