// Which built frames go out, and how they look on the wire: fake HID
// interfaces record every feature report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/polling_thread.h"
#include "tests/pendant/device_fixture.h"

namespace {

using pendant_testing::payloadOf;

class FrameSending : public pendant_testing::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        pendant::resetDisplay();
        pendant::resetPolling();
        app::state().forceFrame = 0;
        app::state().keyActivity = 0;
        openReceiver();
        app::state().linkUp = 1;
        hid.clearFeatureReports();
    }

    // One build of the polling thread with these status values.
    void build(DWORD stateWord, DWORD stepWord, const char* location = "X:1.000:100:0:") {
        pendant::statusWords().stateWord = stateWord;
        pendant::statusWords().stepWord = stepWord;
        std::string text = location;
        pendant::buildAndSendFrame(text);
    }

    size_t sent() const { return hid.featureReports().size(); }
};

TEST_F(FrameSending, FullFrameGoesOutAsNineReportsOfSevenBytes) {
    build(0x0000, 0x00010500, "X:-12.345:2000:24000:");

    const BYTE day = pendant::currentDayByte();
    const std::string frame = std::string("\xFE\xFD") + static_cast<char>(day) + "    1.5    " +
                              "X:-12.345       " + "F:2000  S:24000 " + std::string(16, ' ');
    EXPECT_EQ(sent(), 9u);
    EXPECT_EQ(payloadOf(hid.featureReports()), frame + std::string(1, '\0'));
}

TEST_F(FrameSending, UnchangedFrameIsHeldBackFiveTimesAndSentTheSixth) {
    build(0, 0);
    build(0, 0);
    build(0, 0, "X:1.001:100:0:");  // a change goes out at once and restarts the count
    ASSERT_EQ(sent(), 18u);
    for (int heldBack = 1; heldBack <= 5; ++heldBack) build(0, 0, "X:1.001:100:0:");
    EXPECT_EQ(sent(), 18u);
    build(0, 0, "X:1.001:100:0:");
    EXPECT_EQ(sent(), 27u);
}

TEST_F(FrameSending, KeyActivityAndForceFrameSendTheSameFrameAndAreCleared) {
    build(0, 0);
    for (int key = 0; key < 3; ++key) {  // a key down between every two builds
        app::state().keyActivity = 1;
        build(0, 0);
        EXPECT_EQ(app::state().keyActivity, 0);
    }
    app::state().forceFrame = 1;
    build(0, 0);
    EXPECT_EQ(app::state().forceFrame, 0);
    build(0, 0);
    EXPECT_EQ(sent(), 45u);
}

TEST_F(FrameSending, StepChangeOnTheJogAdjustScreenSendsTheUnchangedTextOnce) {
    build(0x0600, 0x00001E65);
    build(0x0600, 0x00002865);
    build(0x0600, 0x00002865);
    EXPECT_EQ(sent(), 18u);
}

TEST_F(FrameSending, FailedSendClearsLinkUpAndCountsAsSent) {
    hid.failFeatureWritesFrom(1);
    build(0, 0);
    EXPECT_EQ(app::state().linkUp, 0);

    hid.failFeatureWritesFrom(0);
    app::state().linkUp = 1;
    build(0, 0);
    EXPECT_EQ(sent(), 0u);
}

}  // namespace
