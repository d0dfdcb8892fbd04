// Which built frames go out, and how they look on the wire: fake HID
// interfaces record every feature report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/polling_thread.h"
#include "tests/pendant/device_fixture.h"
#include "tests/support/recording_bridge.h"

namespace {

using pendant_testing::Report;

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
    void build(DWORD stateWord, DWORD stepWord, const char* location) {
        pendant::statusWords().stateWord = stateWord;
        pendant::statusWords().stepWord = stepWord;
        std::string text = location;
        pendant::buildAndSendFrame(text);
    }

    size_t sentReports() const { return hid.featureReports().size(); }
};

Report report(std::initializer_list<BYTE> bytes) {
    Report result{};
    std::copy(bytes.begin(), bytes.end(), result.begin());
    return result;
}

TEST_F(FrameSending, FullFrameGoesOutAsNineReportsOfSevenBytes) {
    build(0x0000, 0x00010500, "X:-12.345:2000:24000:");

    const BYTE day = pendant::currentDayByte();
    const std::string frame = std::string("\xFE\xFD") + static_cast<char>(day) + "    1.5    " +
                              "X:-12.345       " + "F:2000  S:24000 " + std::string(16, ' ');
    const std::vector<Report> reports = hid.featureReports();
    ASSERT_EQ(reports.size(), 9u);
    EXPECT_EQ(reports[0], report({6, 0xFE, 0xFD, day, ' ', ' ', ' ', ' '}));
    EXPECT_EQ(reports[8], report({6, ' ', ' ', ' ', ' ', ' ', ' ', 0}));
    std::string payload;
    for (const Report& sent : reports) {
        EXPECT_EQ(sent[0], 6);
        payload.append(reinterpret_cast<const char*>(sent.data()) + 1, 7);
    }
    EXPECT_EQ(payload, frame + std::string(1, '\0'));
}

TEST_F(FrameSending, UnchangedFrameIsHeldBackFiveTimesAndSentTheSixth) {
    build(0x0000, 0, "Y:1.000:100:0:");
    ASSERT_EQ(sentReports(), 9u);
    for (int build = 1; build <= 5; ++build) {
        this->build(0x0000, 0, "Y:1.000:100:0:");
        EXPECT_EQ(sentReports(), 9u) << "held-back build " << build;
    }
    build(0x0000, 0, "Y:1.000:100:0:");
    EXPECT_EQ(sentReports(), 18u);
    build(0x0000, 0, "Y:1.000:100:0:");
    EXPECT_EQ(sentReports(), 18u);
}

TEST_F(FrameSending, ChangedFrameGoesOutAtOnceAndRestartsTheCount) {
    build(0x0000, 0, "Y:1.000:100:0:");
    build(0x0000, 0, "Y:1.000:100:0:");
    build(0x0000, 0, "Y:1.001:100:0:");
    EXPECT_EQ(sentReports(), 18u);
    for (int build = 1; build <= 5; ++build) this->build(0x0000, 0, "Y:1.001:100:0:");
    EXPECT_EQ(sentReports(), 18u);
}

TEST_F(FrameSending, KeyActivitySendsEveryBuildAndIsCleared) {
    build(0x0000, 0, "Z:0.000:0:0:");
    for (int build = 1; build <= 3; ++build) {
        app::state().keyActivity = 1;
        this->build(0x0000, 0, "Z:0.000:0:0:");
        EXPECT_EQ(sentReports(), 9u * (build + 1));
        EXPECT_EQ(app::state().keyActivity, 0);
    }
    build(0x0000, 0, "Z:0.000:0:0:");
    EXPECT_EQ(sentReports(), 36u);
}

TEST_F(FrameSending, ForceFrameSendsTheSameFrameOnceAndIsCleared) {
    build(0x1000, 0, "");
    build(0x1000, 0, "");
    app::state().forceFrame = 1;
    build(0x1000, 0, "");
    EXPECT_EQ(sentReports(), 18u);
    EXPECT_EQ(app::state().forceFrame, 0);
    build(0x1000, 0, "");
    EXPECT_EQ(sentReports(), 18u);
}

TEST_F(FrameSending, StepChangeOnTheJogAdjustScreenSendsTheUnchangedTextOnce) {
    build(0x0600, 0x00001E65, "X:1.000:0:0:");
    build(0x0600, 0x00001E65, "X:1.000:0:0:");
    ASSERT_EQ(sentReports(), 9u);
    build(0x0600, 0x00002865, "X:1.000:0:0:");
    EXPECT_EQ(sentReports(), 18u);
    build(0x0600, 0x00002865, "X:1.000:0:0:");
    EXPECT_EQ(sentReports(), 18u);
}

TEST_F(FrameSending, FailedSendClearsLinkUpAndCountsAsSent) {
    hid.failFeatureWritesFrom(1);
    build(0x0000, 0, "X:5.000:0:0:");
    EXPECT_EQ(app::state().linkUp, 0);

    hid.failFeatureWritesFrom(0);
    app::state().linkUp = 1;
    build(0x0000, 0, "X:5.000:0:0:");
    EXPECT_EQ(sentReports(), 0u);
    EXPECT_EQ(app::state().linkUp, 1);
}

TEST_F(FrameSending, ShortFrameFillsItsLastReportWithZeros) {
    build(0x0000, 0, "");
    const std::vector<Report> reports = hid.featureReports();
    ASSERT_EQ(reports.size(), 5u);  // 30 bytes
    EXPECT_EQ(reports[4], report({6, ' ', ' ', 0, 0, 0, 0, 0}));
}

// NcStudio bound to this thread, and a recording ncbridge that the reader has
// handed a continuous jog: the wheel turned with no key down.
class FrameSendingDuringAJog : public FrameSending {
protected:
    void SetUp() override {
        FrameSending::SetUp();
        app::state().hostThreadId = GetCurrentThreadId();
        hid.deliver({4, 0, 0, 0, 0x1C, 0x11, 5, 0});
        for (int i = 0; i < 200 && keyEvents().empty(); ++i) Sleep(10);
        ASSERT_EQ(keyEvents(), std::vector<std::string>{"KeyBoardProc 5 111C0000"});
        bridge.clearCalls();
    }

    void TearDown() override {
        FrameSending::TearDown();
        app::ProcessState& state = app::state();
        state.hostThreadId = 0;
        state.attachedThreadId = 0;
        state.lastWheelDelta = 0;
        state.lastKeyWord = 0;
        app::freeBridge();
    }

    std::vector<std::string> keyEvents() const {
        std::vector<std::string> events;
        for (const std::string& call : bridge.calls()) {
            if (call.rfind("KeyBoardProc", 0) == 0) events.push_back(call);
        }
        return events;
    }

    testing_support::RecordingBridge bridge;
};

TEST_F(FrameSendingDuringAJog, FailedSendReleasesTheJog) {
    hid.failFeatureWritesFrom(1);
    build(0x0000, 0, "X:5.000:0:0:");
    EXPECT_EQ(app::state().linkUp, 0);
    EXPECT_EQ(keyEvents(), std::vector<std::string>{"KeyBoardProc 0 111C0000"});
}

TEST_F(FrameSendingDuringAJog, SuccessfulSendLeavesTheJogHeld) {
    build(0x0000, 0, "X:5.000:0:0:");
    EXPECT_EQ(sentReports(), 9u);
    EXPECT_TRUE(keyEvents().empty());
}

}  // namespace
