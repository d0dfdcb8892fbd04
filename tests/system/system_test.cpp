// The whole system as a user runs it, in separate processes: NcStudio
// (the stand-in program, generation 1 or 2 by its version resource),
// wheelpad.exe with ncbridge.dll, and the stand-in pendant on the virtual
// receiver. What is checked is what NcStudio logs and what the pendant's
// display receives; wheelpad's hotkey, menu commands and closing arrive as
// the messages they are to its main dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/resources/resource_ids.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/process_windows.h"
#include "tests/system/system_fixture.h"

namespace {

using system_testing::countOf;
using system_testing::loggedAt;
using system_testing::nowMs;
using system_testing::Running;
using system_testing::kReleaseBoundMs;
using system_testing::SystemTest;
using system_testing::WheelpadProcess;
using testing_support::NcStudioProcess;

const WPARAM kLockHotkey = 1001;
const LPARAM kCtrlF11 = MAKELPARAM(MOD_CONTROL, VK_F11);

// The X coordinate NcStudio logged when its last jog on X ended.
std::string lastJogEnd(const std::string& log) {
    const std::string marker = "jog ended: X ";
    const size_t at = log.rfind(marker);
    if (at == std::string::npos) return "";
    return log.substr(at + marker.size(), log.find('\n', at) - at - marker.size());
}

class EachGeneration : public Running, public ::testing::WithParamInterface<int> {};

// Mapping on: the wheel steps X, the display shows where X is, key 4
// starts the program.
TEST_P(EachGeneration, IsBoundWhenInFrontJogsShowsTheCoordinateAndStarts) {
    ASSERT_NO_FATAL_FAILURE(startAll(GetParam()));
    EXPECT_TRUE(ncstudio->waitForLog("received: click on \"X+\""));
    EXPECT_TRUE(ncstudio->waitForLog("X: 12.510"));
    EXPECT_TRUE(pendant.waitForDisplay("X:12.510", 2000));

    pendant.send("key 4");
    pendant.send("release");
    EXPECT_TRUE(ncstudio->waitForLog("run state: RUNNING"));
}

INSTANTIATE_TEST_SUITE_P(Generations, EachGeneration, ::testing::Values(5, 8));

// A continuous jog ends when the key is let go, and also when the pendant is
// locked by Ctrl+F11 or from the menu, or wheelpad ends by its Exit; locked,
// the pendant's keys are refused.
TEST_F(Running, AContinuousJogIsLetGoOnReleaseLockAndExit) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    EXPECT_GE(jogReleaseDelay(*ncstudio, [&] { pendant.send("release"); }), 0);
    const std::string x = lastJogEnd(ncstudio->log());
    ASSERT_FALSE(x.empty());
    EXPECT_TRUE(pendant.waitForDisplay("X:" + x, 2000)) << "X at " << x;

    EXPECT_TRUE(jogLetGoWithin(*ncstudio, [&] { wheelpad->post(WM_HOTKEY, kLockHotkey, kCtrlF11); },
                               kReleaseBoundMs));
    pendant.send("release");
    // Locked by the hotkey, through a device change (a USB stick pulled)
    // and the reconnect that follows: neither key 12 nor the wheel moves X.
    wheelpad->post(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    Sleep(1000);  // two refresh steps: the receiver is reopened
    const int jogs = countOf(ncstudio->log(), "jogging X+");
    const int clicks = countOf(ncstudio->log(), "received: click on \"X+\"");
    pendant.send("key 12");
    Sleep(400);
    pendant.send("release");
    pendant.send("wheel 1");
    Sleep(400);
    EXPECT_EQ(countOf(ncstudio->log(), "jogging X+"), jogs) << "a jog started while locked";
    EXPECT_EQ(countOf(ncstudio->log(), "received: click on \"X+\""), clicks) << "X stepped while locked";
    wheelpad->post(WM_HOTKEY, kLockHotkey, kCtrlF11);
    Sleep(300);

    EXPECT_TRUE(jogLetGoWithin(*ncstudio, [&] { wheelpad->post(WM_COMMAND, ID_LOCK); }, kReleaseBoundMs));
    pendant.send("release");
    wheelpad->post(WM_COMMAND, ID_LOCK);
    Sleep(300);

    EXPECT_TRUE(jogLetGoWithin(*ncstudio, [&] { wheelpad->post(WM_COMMAND, ID_EXIT); }, kReleaseBoundMs));
    EXPECT_EQ(wheelpad->waitForExit(5000), 0u);
}

// NcStudio stops answering for 3 s while key 12 holds X+, and the operator
// lets go 0.7 s into the pause: the jog ends within about a second of
// NcStudio answering again, and the keys work on.
TEST_F(Running, AJogHeldThroughAHungNcStudioEndsSoonAfterItAnswersAgain) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    const int held = countOf(ncstudio->log(), "jogging X+");
    pendant.send("key 12");
    ASSERT_TRUE(waitForCount(*ncstudio, "jogging X+", held + 1));
    Sleep(300);
    const int paused = nowMs();
    ncstudio->command("pause 3000");
    Sleep(700);
    pendant.send("release");
    ASSERT_TRUE(waitForCount(*ncstudio, "jog ended: X", held + 1, 6000)) << "X+ still held";
    const int answered = loggedAt(ncstudio->log(), "command: pause", paused) + 3000;
    EXPECT_LE(loggedAt(ncstudio->log(), "jog ended: X", paused) - answered, 1000);

    EXPECT_GE(jogReleaseDelay(*ncstudio, [&] { pendant.send("release"); }), 0) << "keys work on";
}

TEST_F(Running, ASecondStartEndsSilentlyAndClosingTheFirstLetsGoOfAJog) {
    ASSERT_NO_FATAL_FAILURE(startAll(8));
    WheelpadProcess second(pipeName);
    EXPECT_EQ(second.waitForExit(5000), 0u);
    EXPECT_NE(wheelpad->mainWindow(0), nullptr) << "the first goes on";

    EXPECT_TRUE(jogLetGoWithin(*ncstudio, [&] { wheelpad->post(WM_CLOSE); }, kReleaseBoundMs));
    EXPECT_EQ(wheelpad->waitForExit(5000), 0u);
}

// A support log that cannot be written (its file name taken by a folder)
// costs nothing but the log: wheelpad binds, jogs and ends as before.
TEST_F(Running, RunsAsBeforeWhenItsLogCannotBeWritten) {
    const std::string log = testing_support::programFolder() + "wheelpad.log";
    DeleteFileA(log.c_str());
    ASSERT_TRUE(CreateDirectoryA(log.c_str(), nullptr));
    startAll(8);
    const bool jogged = !HasFatalFailure() && ncstudio->waitForLog("received: click on \"X+\"");
    if (wheelpad) wheelpad->post(WM_COMMAND, ID_EXIT);
    const DWORD exitCode = wheelpad ? wheelpad->waitForExit(5000) : 1;
    RemoveDirectoryA(log.c_str());
    EXPECT_TRUE(jogged);
    EXPECT_EQ(exitCode, 0u);
}

// Without a pendant nothing binds; plugging it in unlocks and binds. A
// closed NcStudio is let go and a new one bound when it comes to the front.
// A window titled as one of NcStudio's dialogs in another program changes
// nothing: the wheel still jogs NcStudio.
TEST_F(SystemTest, PluggingInUnlocksAndNcStudioIsBoundAgainAfterARestart) {
    NcStudioProcess ncstudio(8, "--inactive");
    HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    WheelpadProcess wheelpad(pipeName);
    ASSERT_NE(wheelpad.mainWindow(), nullptr);
    ncstudio.command("front");
    EXPECT_FALSE(waitUntilBound(main, 1500)) << "no binding without a receiver";

    ASSERT_TRUE(pendant.start());
    ASSERT_TRUE(waitUntilBound(main, 5000));
    ncstudio.command("front");
    pendant.send("axis X");
    EXPECT_TRUE(pendant.waitForDisplay("X:12.500", 2000));

    standin::HostThread otherProgram;
    standin::NcStudioBuilder other{otherProgram};
    HWND foreign = other.jiggleWindow("jiggle");
    Sleep(1000);  // two refresh steps see it
    pendant.send("wheel 1");
    pendant.send("release");
    EXPECT_TRUE(ncstudio.waitForLog("received: click on \"X+\""));
    EXPECT_TRUE(otherProgram.received().empty());

    // NcStudio ends; the user works in another program.
    ncstudio.closeInput();
    ASSERT_EQ(ncstudio.waitForExit(5000), 0u);
    otherProgram.invoke([&] { SetForegroundWindow(foreign); });
    Sleep(1000);
    const int framesAfterClosing = pendant.frames();
    Sleep(1000);
    EXPECT_LE(pendant.frames(), framesAfterClosing + 1) << "unbound: the display is no longer updated";

    NcStudioProcess restarted(8, "--inactive");
    HWND again = restarted.mainWindow();
    ASSERT_NE(again, nullptr);
    restarted.command("front");
    EXPECT_TRUE(waitUntilBound(again, 5000));
}

}  // namespace
