// A headless run asked to stop from outside ends at that frame as ESC would,
// with the frames up to there recorded.

#include "app/document/headless_run.h"
#include "support/document_ports.h"
#include "support/fake_ports.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(HeadlessInterrupt, EndsTheRunAtTheFrameItIsAskedAndKeepsTheTake) {
    test::DocumentRig rig;
    test::ScriptedControls controls;
    InputState input;
    HeadlessLimits limits;
    limits.frames = 500;
    int asked = 0;
    limits.interrupted = [&asked] { return ++asked >= 10; };
    const HeadlessResult result = runHeadless(*rig.doc, controls, input, limits, rig.messages);
    EXPECT_EQ(result.end, HeadlessEnd::Interrupted);
    EXPECT_EQ(asked, 10);
    EXPECT_EQ(rig.doc->run().channels.channels[0].count, 10);

    limits.interrupted = [] { return false; };
    EXPECT_EQ(runHeadless(*rig.doc, controls, input, limits, rig.messages).end,
              HeadlessEnd::FrameLimit);
}

} // namespace
} // namespace kv::app
