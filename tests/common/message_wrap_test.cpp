#include "common/message_wrap.h"
#include "support/fake_ports.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using Lines = std::vector<std::string>;

TEST(MessageWrap, BreaksAtTheLastSpaceWithinFortyThreeCharacters) {
    EXPECT_EQ(wrapMessage("The simulation became unstable."),
              Lines{"The simulation became unstable."});
    EXPECT_EQ(
        wrapMessage("The animation was not recorded because no record memory has been "
                    "allocated."),
        (Lines{"The animation was not recorded because no", "record memory has been allocated."}));
    // A line of exactly 43 characters stays whole.
    const std::string exact(43, 'x');
    EXPECT_EQ(wrapMessage(exact), Lines{exact});
    // A space right after 43 characters is a break at the limit.
    EXPECT_EQ(wrapMessage(exact + " tail"), (Lines{exact, "tail"}));
    // The 44th character is part of a word: break at the earlier space.
    EXPECT_EQ(wrapMessage("ab " + std::string(41, 'y') + "z"),
              (Lines{"ab", std::string(41, 'y') + "z"}));
}

TEST(MessageWrap, CutsOverlongWordsAndKeepsFourLines) {
    EXPECT_EQ(wrapMessage(std::string(50, 'w')),
              (Lines{std::string(43, 'w'), std::string(7, 'w')}));
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "word" + std::to_string(i) + " ";
    const Lines lines = wrapMessage(many);
    ASSERT_EQ(lines.size(), 4u);
    for (const auto& l : lines)
        EXPECT_LE(l.size(), 43u);
    EXPECT_EQ(lines[0].substr(0, 6), "word0 ");
    EXPECT_EQ(wrapMessage(""), Lines{});
    EXPECT_EQ(wrapMessage("one\ntwo"), (Lines{"one", "two"}));
}

TEST(MessageWrap, ReadsNoMoreThan1024Characters) {
    // The character at 1024 would fit on the first line if it were read.
    std::string text(1024, 'a');
    text += "b";
    const Lines lines = wrapMessage(text);
    for (const auto& l : lines)
        EXPECT_EQ(l.find('b'), std::string::npos);
    EXPECT_EQ(wrapMessageText("aaa bbb"), "aaa bbb");
    EXPECT_EQ(wrapMessageText(std::string(44, 'c')), std::string(43, 'c') + "\nc");
}

TEST(MessageWrap, ShowsTheWrappedText) {
    test::RecordingMessages messages;
    showWrappedMessage(messages, std::string(45, 'm'));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], std::string(43, 'm') + "\nmm");
}

} // namespace
} // namespace kv
