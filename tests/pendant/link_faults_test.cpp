// The pendant link under faults, end to end (see link_rig.h): the receiver
// gone for good, a chord after a reconnect, NcStudio not answering. Unplug
// and replug cycles run in the soak program (tests/bench/link_soak.cpp).
#include <gtest/gtest.h>
#include <windows.h>

#include "app/process_state.h"
#include "pendant/pendant_device.h"
#include "tests/pendant/link_rig.h"

namespace pendant_testing {
namespace {

class LinkFaults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(rig.start(), ""); }
    void TearDown() override { rig.stop(); }

    void send(const Report& report) { ASSERT_TRUE(rig.send(report)); }

    // Key 12 held: "X+" pressed in NcStudio.
    void holdKey12() {
        send(keyReport(12));
        ASSERT_TRUE(rig.waitFor(rig.toButton(kXPlus, WM_LBUTTONDOWN), 1, 2000)) << "X+ was never pressed";
        Sleep(300);  // a few polls: the step reads back as NcStudio shows it (0.05 mm)
    }

    LinkRig rig;
};

TEST_F(LinkFaults, AHeldJogIsLetGoWithin300MsOfTheReceiverGoingAwayForGood) {
    holdKey12();

    const DWORD lost = GetTickCount();
    rig.pendant.dropReceiver();

    Received letGo{};
    ASSERT_TRUE(rig.waitFor(rig.toButton(kXPlus, WM_LBUTTONUP), 1, 2000, &letGo))
        << "X+ still held 2 s after the receiver went";
    EXPECT_LE(letGo.time - lost, 300u);
    EXPECT_EQ(app::state().linkUp, 0) << "the receiver stays away";
}

TEST_F(LinkFaults, ChordsKeepTheirModifierAfterAReconnect) {
    HWND main = rig.ncstudio.main;
    const auto ctrlHome = [main](const Received& r) {
        return r.window == main && r.message == WM_KEYDOWN && r.wParam == VK_HOME;
    };
    Received before{}, after{};
    send(keyReport(11));
    send(keyReport(0));
    ASSERT_TRUE(rig.waitFor(ctrlHome, 1, 2000, &before));

    DWORD longestStep = 0;
    ASSERT_EQ(rig.unplugAndReplug(longestStep), "");
    send(keyReport(11));
    send(keyReport(0));
    ASSERT_TRUE(rig.waitFor(ctrlHome, 2, 2000, &after));

    EXPECT_TRUE(before.controlDown) << "Ctrl+Home before the reconnect";
    EXPECT_TRUE(after.controlDown) << "Ctrl+Home after the reconnect";
}

// NcStudio's UI thread stops answering while key 12 holds "X+"; the
// operator lets go 0.7 s into the pause.
class HungNcStudio : public LinkFaults, public testing::WithParamInterface<DWORD> {};

TEST_P(HungNcStudio, TheJogIsLetGoSoonAfterItAnswersAgainAndKeysWorkOnAgain) {
    const DWORD pauseMs = GetParam();
    holdKey12();

    rig.host.pause(pauseMs);
    const DWORD answersAgain = GetTickCount() + pauseMs;
    Sleep(700);
    send(keyReport(0));

    Received letGo{};
    ASSERT_TRUE(rig.waitFor(rig.toButton(kXPlus, WM_LBUTTONUP), 1, pauseMs + 3000, &letGo)) << "X+ still held";
    EXPECT_LE(static_cast<int>(letGo.time - answersAgain), 1000);

    send(keyReport(12));
    EXPECT_TRUE(rig.waitFor(rig.toButton(kXPlus, WM_LBUTTONDOWN), 2, 2000)) << "a key after the pause presses X+";
    send(keyReport(0));
    EXPECT_TRUE(rig.waitFor(rig.toButton(kXPlus, WM_LBUTTONUP), 2, 2000)) << "and lets it go";
}

INSTANTIATE_TEST_SUITE_P(Pauses, HungNcStudio, testing::Values(3000u, 8000u),
                         [](const testing::TestParamInfo<DWORD>& info) {
                             return std::to_string(info.param / 1000) + "s";
                         });

}  // namespace
}  // namespace pendant_testing
