// The whole system with a receiver that repeats the pendant's report every
// 35 ms while a key is held or the wheel turns: a press does one thing, a
// continuous jog stays down, lead mode follows the wheel and stops with the
// link, and nothing is written into a coordinate from a value not read.
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
using system_testing::Running;

const WPARAM kLockHotkey = 1001;
const LPARAM kCtrlF11 = MAKELPARAM(MOD_CONTROL, VK_F11);

class RepeatingReceiver : public Running {
protected:
    void startRepeating() {
        ASSERT_NO_FATAL_FAILURE(startAll(8));
        pendant.send("repeat 35");
    }

    // Holds the keys for `ms` (the receiver repeats meanwhile), lets go and
    // gives NcStudio time to show what came of it.
    void hold(const std::string& keys, DWORD ms) {
        pendant.send("key " + keys);
        Sleep(ms);
        pendant.send("release");
        Sleep(600);
    }

    // NcStudio's coordinate panel: ids 59648, 59648, 59648 from its main
    // window.
    HWND panel() {
        HWND window = ncstudio->mainWindow(0);
        for (int i = 0; i < 3 && window; ++i) window = GetDlgItem(window, 59648);
        return window;
    }

    int feedSlider() {
        HWND slider = FindWindowExA(panel(), nullptr, TRACKBAR_CLASSA, nullptr);
        return slider ? static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)) : -1;
    }

    // Milliseconds until the feed slider stood at 0, -1 after `limitMs`.
    int msUntilFeedSliderAtZero(DWORD limitMs) {
        const int start = nowMs();
        while (nowMs() - start < static_cast<int>(limitMs)) {
            if (feedSlider() == 0) return nowMs() - start;
            Sleep(10);
        }
        return -1;
    }

    // The three statics after "M. Coor.": NcStudio's machine coordinates.
    std::vector<HWND> machineCoordinateStatics() {
        std::vector<HWND> statics;
        HWND label = FindWindowExA(panel(), nullptr, nullptr, "M. Coor.");
        for (HWND s = GetWindow(label, GW_HWNDNEXT); s && statics.size() < 3; s = GetWindow(s, GW_HWNDNEXT))
            statics.push_back(s);
        return statics;
    }
};

// Keys 4, 5, 10, 14+16, 11 and 1 held over many reports each act once; the
// chords the binding and the status polls post arrive with Ctrl down; a
// foreign window titled "Offset Setting" is left alone.
TEST_F(RepeatingReceiver, AHeldKeyActsOnce) {
    ASSERT_NO_FATAL_FAILURE(startRepeating());
    EXPECT_EQ(countOf(ncstudio->log(), "key down 2 to \"NcStudio"), 0) << "the binding's Ctrl+2 without Ctrl";
    EXPECT_GE(countOf(ncstudio->log(), "key down Ctrl+2 to \"NcStudio"), 1);

    hold("4", 400);
    EXPECT_EQ(countOf(ncstudio->log(), "key down F9"), 1);
    EXPECT_EQ(countOf(ncstudio->log(), "key down Pause"), 0);
    hold("5", 400);
    EXPECT_EQ(countOf(ncstudio->log(), "key down F11"), 1);
    EXPECT_EQ(countOf(ncstudio->log(), "key down F9"), 1) << "stopped, then started again";
    EXPECT_EQ(countOf(ncstudio->log(), "run state: RUNNING"), 1);
    // The first press after NcStudio showed "OFF" looks for a button "ON"
    // and finds none: two presses, and each toggles once at most.
    hold("10", 400);
    hold("10", 400);
    EXPECT_GE(countOf(ncstudio->log(), "ON/OFF:"), 1);
    EXPECT_LE(countOf(ncstudio->log(), "ON/OFF:"), 2);

    // Another program's window with NcStudio's dialog title, in front of
    // every other window.
    standin::HostThread otherProgram;
    standin::NcStudioBuilder other{otherProgram};
    HWND foreign = other.topLevel("#32770", "Offset Setting");
    other.label(foreign, "Public Offset");
    for (int i = 0; i < 6; ++i) other.edit(foreign, "0.000");
    otherProgram.invoke([&] { SetWindowPos(foreign, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); });
    otherProgram.clearReceived();
    hold("14 16", 400);
    EXPECT_TRUE(ncstudio->waitForLog("X: 6.255"));
    Sleep(1000);
    EXPECT_EQ(countOf(ncstudio->log(), "X: 3.12"), 0) << "halved twice";
    EXPECT_TRUE(otherProgram.received().empty()) << "the foreign window was acted on";

    hold("11", 1200);
    EXPECT_EQ(countOf(ncstudio->log(), "back-to-reference dialog opened"), 1);
    EXPECT_EQ(countOf(ncstudio->log(), "back to reference: X"), 0) << "an axis sent home unconfirmed";
    hold("1", 400);
    EXPECT_EQ(countOf(ncstudio->log(), "received: close \"bkref"), 1);

    EXPECT_EQ(countOf(ncstudio->log(), "key down 2 to \"NcStudio"), 0) << "a status poll's Ctrl+2 without Ctrl";
}

// Set Z while NcStudio shows no machine coordinates posts no value; once
// they show again, Z becomes the safe height.
TEST_F(RepeatingReceiver, SetZWithoutAMachineCoordinateSetsNothing) {
    ASSERT_NO_FATAL_FAILURE(startRepeating());
    std::vector<HWND> statics = machineCoordinateStatics();
    ASSERT_EQ(statics.size(), 3u);
    char shown[3][64] = {};
    for (int axis = 0; axis < 3; ++axis) GetWindowTextA(statics[axis], shown[axis], sizeof shown[axis]);
    ASSERT_NE(std::string(shown[2]).find('.'), std::string::npos) << shown[2];
    for (HWND s : statics) SetWindowTextA(s, "");
    Sleep(300);

    const int zLines = countOf(ncstudio->log(), "Z: ");
    hold("7", 400);
    Sleep(2500);
    EXPECT_EQ(countOf(ncstudio->log(), "Z: "), zLines) << "Z set from a coordinate not shown";
    EXPECT_EQ(testing_support::findProcessWindow(ncstudio->processId(), "Offset Setting"), nullptr);

    for (int axis = 0; axis < 3; ++axis) SetWindowTextA(statics[axis], shown[axis]);
    hold("7", 400);
    EXPECT_TRUE(ncstudio->waitForLog("Z: 25.000", 4000));
}

// Lead mode with the wheel turning: pulling the receiver out and locking
// the pendant each bring the feed slider to 0 at once.
TEST_F(RepeatingReceiver, LeadModeStopsWhenTheLinkGoes) {
    ASSERT_NO_FATAL_FAILURE(startRepeating());
    pendant.send("axis lead");
    pendant.send("turn 8");
    ASSERT_TRUE(pendant.waitForDisplay("Lead", 2000));
    Sleep(800);
    EXPECT_GT(feedSlider(), 50);
    pendant.unplug();
    const int afterUnplug = msUntilFeedSliderAtZero(1500);
    EXPECT_GE(afterUnplug, 0) << "the program runs on at " << feedSlider();
    EXPECT_LE(afterUnplug, 300);

    // The receiver back in, the wheel still turning.
    ASSERT_TRUE(pendant.waitForReceiver(5000));
    pendant.send("turn 8");
    Sleep(800);
    EXPECT_GT(feedSlider(), 50);
    wheelpad->post(WM_HOTKEY, kLockHotkey, kCtrlF11);
    const int afterLock = msUntilFeedSliderAtZero(1500);
    EXPECT_GE(afterLock, 0);
    EXPECT_LE(afterLock, 300);
    pendant.send("turn 0");
}

// Windows of ten reports whose counts sum to 40, 34, 27, 21 and 14 give
// targets 50, 42, 33, 26 and 17: the slider follows the wheel down to 17.
TEST_F(RepeatingReceiver, TheLeadSliderFollowsASlowingWheel) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    pendant.send("axis lead");
    ASSERT_TRUE(pendant.waitForDisplay("Lead", 2000));
    Sleep(300);
    for (int sum : {40, 34, 27, 21, 14}) {
        for (int i = 0; i < 10; ++i) pendant.send("wheel " + std::to_string(sum / 10 + (i < sum % 10 ? 1 : 0)));
        Sleep(900);
    }
    EXPECT_EQ(feedSlider(), 17);
    pendant.send("axis X");
}

// Key 8 held for 1.6 s keeps X- down in one piece, as key 12 keeps X+.
TEST_F(RepeatingReceiver, AHeldKey8JogsWithoutAGap) {
    ASSERT_NO_FATAL_FAILURE(startRepeating());
    for (const char* key : {"8", "12"}) {
        const std::string jog = std::string("jogging X") + (key[0] == '8' ? "-" : "+");
        const int started = countOf(ncstudio->log(), jog);
        const int ended = countOf(ncstudio->log(), "jog ended: X");
        hold(key, 1600);
        EXPECT_EQ(countOf(ncstudio->log(), jog), started + 1) << "key " << key;
        EXPECT_EQ(countOf(ncstudio->log(), "jog ended: X"), ended + 1) << "key " << key;
    }
}

// After key 9 (F7) the display still shows the 0.01 step.
TEST_F(RepeatingReceiver, TheStepShowsInCalibrationMode) {
    ASSERT_NO_FATAL_FAILURE(startRepeating());
    ASSERT_TRUE(pendant.waitForDisplay("    0.01", 2000));
    pendant.send("key 9");
    pendant.send("release");
    EXPECT_FALSE(pendant.waitForDisplay("    0.1 ", 1000)) << "0.01 shown as 0.1";
    EXPECT_TRUE(pendant.waitForDisplay("    0.01", 1000));
    EXPECT_EQ(countOf(ncstudio->log(), "key down F7"), 1);
}

}  // namespace
