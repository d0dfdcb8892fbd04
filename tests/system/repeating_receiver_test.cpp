// The whole system with a receiver that repeats the pendant's report every
// 35 ms while a key is held or the wheel turns.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/process_windows.h"
#include "tests/system/system_fixture.h"

namespace {

using system_testing::countOf;
using system_testing::nowMs;

class RepeatingReceiver : public system_testing::Running {
protected:
    // Holds the keys for `ms` while the receiver repeats, lets go, and gives
    // NcStudio time to show what came of it.
    void hold(const std::string& keys, DWORD ms) {
        pendant.send("key " + keys);
        Sleep(ms);
        pendant.send("release");
        Sleep(600);
    }
    int count(const std::string& text) const { return countOf(ncstudio->log(), text); }

    // NcStudio's coordinate panel (ids 59648, 59648, 59648) and its children.
    HWND panelChild(const char* className, const char* text) const {
        HWND panel = ncstudio->mainWindow(0);
        for (int i = 0; i < 3; ++i) panel = GetDlgItem(panel, 59648);
        return FindWindowExA(panel, nullptr, className, text);
    }
    int feedSlider() const {
        return static_cast<int>(SendMessageA(panelChild(TRACKBAR_CLASSA, nullptr), TBM_GETPOS, 0, 0));
    }
    // Milliseconds until the feed slider stood at 0; -1 after 1.5 s.
    int msUntilFeedSliderAtZero() const {
        for (const int start = nowMs(); nowMs() - start < 1500; Sleep(10))
            if (feedSlider() == 0) return nowMs() - start;
        return -1;
    }
};

// Each press does one thing, however many reports it lasts; the chords of
// the binding and the status polls arrive with Ctrl down; a foreign window
// titled "Offset Setting" is left alone; the step shows after key 9.
TEST_F(RepeatingReceiver, AHeldKeyActsOnce) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    pendant.send("repeat 35");
    pendant.send("key 9");
    EXPECT_FALSE(pendant.waitForDisplay("    0.1 ", 1000)) << "0.01 shown as 0.1 after F7";
    EXPECT_TRUE(pendant.waitForDisplay("    0.01", 1000));
    pendant.send("release");
    Sleep(1500);

    hold("4", 400);
    EXPECT_EQ(count("key down Pause"), 0);
    hold("5", 400);
    EXPECT_EQ(count("key down F11"), 1);
    EXPECT_EQ(count("key down F9"), 1) << "started, or stopped and started again";
    // The first press after NcStudio showed "OFF" looks for a button "ON" and
    // finds none: two presses, each toggling once at most.
    hold("10", 400);
    hold("10", 400);
    EXPECT_GE(count("ON/OFF:"), 1);
    EXPECT_LE(count("ON/OFF:"), 2);

    standin::HostThread otherProgram;
    standin::NcStudioBuilder other{otherProgram};
    HWND foreign = other.topLevel("#32770", "Offset Setting");
    other.label(foreign, "Public Offset");
    for (int i = 0; i < 6; ++i) other.edit(foreign, "0.000");
    otherProgram.invoke(
        [&] { SetWindowPos(foreign, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); });
    otherProgram.clearReceived();
    hold("14 16", 400);
    EXPECT_TRUE(ncstudio->waitForLog("X: 6.255"));
    Sleep(1000);
    EXPECT_EQ(count("X: 3.12"), 0) << "halved twice";
    EXPECT_TRUE(otherProgram.received().empty()) << "the foreign window was filled";

    hold("11", 1200);
    EXPECT_EQ(count("back to reference: X"), 0) << "an axis sent home unconfirmed";
    hold("1", 400);
    EXPECT_EQ(count("received: close \"bkref"), 1);
    ASSERT_TRUE(ncstudio->waitForLog("\" closed"));

    for (const char* jog : {"8", "12"}) {
        const int started = count("jogging X");
        pendant.send(std::string("key ") + jog);
        Sleep(1600);
        const int letGo = nowMs();
        pendant.send("release");
        EXPECT_TRUE(waitForCount(*ncstudio, "jog ended: X", started + 1)) << "key " << jog << " let go";
        // The repeated reports must not queue up in front of the release.
        EXPECT_LT(nowMs() - letGo, system_testing::kReleaseBoundMs) << "key " << jog << " let go late";
        EXPECT_EQ(count("jogging X"), started + 1) << "key " << jog << " held in one piece";
    }
    EXPECT_EQ(count("key down 2 to \"NcStudio"), 0) << "Ctrl+2 without Ctrl";
    EXPECT_GE(count("key down Ctrl+2 to \"NcStudio"), 1);
}

// Set Z while NcStudio shows no machine coordinates posts nothing; once they
// show again, Z becomes the safe height.
TEST_F(RepeatingReceiver, SetZWithoutAMachineCoordinateSetsNothing) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    pendant.send("repeat 35");
    std::vector<HWND> statics;
    for (HWND s = GetWindow(panelChild(nullptr, "M. Coor."), GW_HWNDNEXT); s && statics.size() < 3;
         s = GetWindow(s, GW_HWNDNEXT))
        statics.push_back(s);
    ASSERT_EQ(statics.size(), 3u);
    char shown[3][64] = {};
    for (int axis = 0; axis < 3; ++axis) GetWindowTextA(statics[axis], shown[axis], sizeof shown[axis]);
    for (HWND s : statics) SetWindowTextA(s, "");

    hold("7", 400);
    Sleep(2500);
    EXPECT_EQ(count("Z: "), 0) << "Z set from a coordinate not shown";
    EXPECT_EQ(testing_support::findProcessWindow(ncstudio->processId(), "Offset Setting"), nullptr);

    for (int axis = 0; axis < 3; ++axis) SetWindowTextA(statics[axis], shown[axis]);
    hold("7", 400);
    EXPECT_TRUE(ncstudio->waitForLog("Z: 25.000", 4000));
}

// Windows of ten reports summing to 40, 34, 27, 21 and 14 aim the feed slider
// at 50, 42, 33, 26 and 17: it follows the wheel down. Then the wheel turns
// on with the receiver repeating; pulling the receiver out, and locking the
// pendant, each bring the slider to 0 at once.
TEST_F(RepeatingReceiver, LeadModeFollowsTheWheelAndStopsWithTheLink) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    pendant.send("axis lead");
    ASSERT_TRUE(pendant.waitForDisplay("Lead", 2000));
    for (int sum : {40, 34, 27, 21, 14}) {
        for (int i = 0; i < 10; ++i) pendant.send("wheel " + std::to_string(sum / 10 + (i < sum % 10 ? 1 : 0)));
        Sleep(900);
    }
    EXPECT_EQ(feedSlider(), 17);

    pendant.send("repeat 35");
    for (int pass = 0; pass < 2; ++pass) {
        pendant.send("turn 8");
        Sleep(800);
        EXPECT_GT(feedSlider(), 50);
        if (pass == 0) pendant.unplug();
        else wheelpad->post(WM_HOTKEY, 1001, MAKELPARAM(MOD_CONTROL, VK_F11));
        const int ms = msUntilFeedSliderAtZero();
        EXPECT_TRUE(ms >= 0 && ms <= 300) << (pass == 0 ? "unplugged: " : "locked: ") << ms << " ms";
        ASSERT_TRUE(pendant.waitForReceiver(5000));
    }
}

}  // namespace
