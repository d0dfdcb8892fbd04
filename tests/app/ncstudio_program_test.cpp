// The stand-in NcStudio program as the driver meets it: a process of its own,
// stamped with the product version the driver tells the generations by,
// whose main window is found by its title and whose controls are read and
// clicked across the process boundary, and which ends when asked.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "standin/ncstudio/machine.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/ncstudio_process.h"

namespace {

using testing_support::NcStudioProcess;

int productMajorVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return 0;
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, &block[0]) ||
        !VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length))
        return 0;
    return HIWORD(fixed->dwProductVersionMS);
}

std::string textOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND chain(HWND window, std::initializer_list<int> ids) {
    for (int id : ids) window = GetDlgItem(window, id);
    return window;
}

// Polls `text` of a window in the other process until it equals `expected`.
bool waitForText(HWND window, const std::string& expected, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (textOf(window) != expected) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

// The window titled `title`, once the stand-in logged `opened` (it is built
// then, with all its controls).
HWND openedWindow(const NcStudioProcess& ncstudio, const char* opened, const char* title) {
    return ncstudio.waitForLog(opened) ? FindWindowA(nullptr, title) : nullptr;
}

// The windows of a running stand-in NcStudio that the driver uses.
struct Seen {
    explicit Seen(HWND main)
        : panel(chain(main, {standin::kMainFrameId, standin::kMainFrameId, standin::kMainFrameId})),
          page(chain(main, {standin::kMainFrameId, standin::kMainFrameId, standin::kManualTabsId,
                            standin::kManualPageId})),
          status(runStateText(main)) {}

    // The status dialog's second static, after its caption.
    static HWND runStateText(HWND main) {
        HWND dialog = FindWindowExA(GetDlgItem(main, standin::kStatusBarId), nullptr, "#32770", nullptr);
        return FindWindowExA(dialog, FindWindowExA(dialog, nullptr, "Static", nullptr), "Static", nullptr);
    }

    HWND coordinate(int axis) const {
        HWND button = nullptr;
        for (int i = 0; i <= axis; ++i) button = FindWindowExA(panel, button, "Button", nullptr);
        return button;
    }
    HWND onPage(const char* caption) const { return FindWindowExA(page, nullptr, nullptr, caption); }

    HWND panel, page, status;
};

TEST(NcStudioProgram, EachBuildCarriesTheProductVersionOfItsGeneration) {
    EXPECT_EQ(productMajorVersion(testing_support::ncstudioPath(5)), 5);
    EXPECT_EQ(productMajorVersion(testing_support::ncstudioPath(8)), 8);
}

// Generation 2: the X coordinate is read from the coordinate panel, a click
// on "X+" moves it by the checked step (0.01 mm), both show in the log, and
// the program ends with code 0 when its input closes.
TEST(NcStudioProgram, ReadAndClickedFromAnotherProcessEndsWhenItsInputCloses) {
    NcStudioProcess ncstudio(8);
    ASSERT_TRUE(ncstudio.started());
    HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    using namespace standin;
    HWND panel = chain(main, {kMainFrameId, kMainFrameId, kMainFrameId});
    HWND xButton = FindWindowExA(panel, nullptr, "Button", nullptr);
    EXPECT_EQ(textOf(xButton), "12.500");

    HWND page = chain(main, {kMainFrameId, kMainFrameId, kManualTabsId, kManualPageId});
    PostMessageA(FindWindowExA(page, nullptr, nullptr, "X+"), BM_CLICK, 0, 0);
    EXPECT_TRUE(ncstudio.waitForLog("X: 12.510 (machine 112.510)")) << ncstudio.log();
    EXPECT_EQ(textOf(xButton), "12.510");
    EXPECT_NE(ncstudio.log().find("click on \"X+\""), std::string::npos);

    ncstudio.closeInput();
    EXPECT_EQ(ncstudio.waitForExit(5000), 0u);
    EXPECT_NE(ncstudio.log().find("NcStudio ended"), std::string::npos);
}

TEST(NcStudioProgram, EndsWhenItsMainWindowIsClosed) {
    NcStudioProcess ncstudio(5);
    HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(ncstudio.waitForLog("NcStudio 5 (generation 1) started")) << ncstudio.log();
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(ncstudio.waitForExit(5000), 0u);
}


// Generation 2 as the executor drives it: a step radio, a jog button held in
// continuous mode (shown as RUNNING while it moves), and F9, Pause and F11 with
// the step radios disabled while a program runs or pauses.
TEST(NcStudioProgram, JogsAndRunStatesFollowTheDriversActions) {
    NcStudioProcess ncstudio(8);
    HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    const Seen seen(main);
    ASSERT_EQ(textOf(seen.status), "IDLE");

    PostMessageA(seen.onPage("&Jog"), BM_CLICK, 0, 0);
    EXPECT_TRUE(ncstudio.waitForLog("step: &Jog"));
    EXPECT_EQ(SendMessageA(seen.onPage("&Jog"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(seen.onPage("0.01mm"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PostMessageA(seen.onPage("Z-"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(waitForText(seen.status, "RUNNING"));
    Sleep(300);
    PostMessageA(seen.onPage("Z+"), WM_LBUTTONUP, MK_LBUTTON, 0);  // not the held one: no effect
    PostMessageA(seen.onPage("Z-"), WM_LBUTTONUP, MK_LBUTTON, 0);
    EXPECT_TRUE(waitForText(seen.status, "IDLE"));
    const double z = std::atof(textOf(seen.coordinate(2)).c_str());
    EXPECT_LT(z, -0.3 * standin::kJogMicronsPerSecond / 1000.0);
    EXPECT_GT(z, -3.0 * standin::kJogMicronsPerSecond / 1000.0);
    Sleep(200);
    EXPECT_EQ(std::atof(textOf(seen.coordinate(2)).c_str()), z) << "the axis stops when the button is let go";

    const std::pair<WPARAM, const char*> keys[] = {{VK_F9, "RUNNING"}, {VK_PAUSE, "PAUSING"}, {VK_F9, "RUNNING"},
                                                   {VK_F2, "PAUSING"}, {VK_F11, "IDLE"}};
    for (const auto& [key, state] : keys) {
        PostMessageA(main, WM_KEYDOWN, key, 0);
        PostMessageA(main, WM_KEYUP, key, 0);
        EXPECT_TRUE(waitForText(seen.status, state)) << state;
        EXPECT_EQ(IsWindowEnabled(seen.onPage("0.01mm")) != FALSE, std::string(state) == "IDLE") << state;
    }
}

// Generation 1: the toolbar's stop command, the menu's jog-adjust window and
// back-to-reference dialog, and a prompt, each closing with its answer.
TEST(NcStudioProgram, Generation1ToolbarDialogsAndPrompts) {
    NcStudioProcess ncstudio(5);
    HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    const Seen seen(main);
    HWND controlBar = FindWindowExA(main, nullptr, "AfxControlBar42", nullptr);
    ASSERT_NE(FindWindowExA(controlBar, nullptr, "ToolbarWindow32", nullptr), nullptr);
    EXPECT_EQ(textOf(seen.onPage("0.1 mm")), "0.1 mm") << "generation 1 captions its steps as the reader knows them";

    PostMessageA(main, WM_KEYDOWN, VK_F9, 0);
    EXPECT_TRUE(waitForText(seen.status, "RUNNING"));
    PostMessageA(controlBar, WM_COMMAND, 32829, 32829);
    EXPECT_TRUE(waitForText(seen.status, "IDLE"));

    PostMessageA(main, WM_SYSKEYDOWN, 'O', 0x20000000);
    PostMessageA(main, WM_KEYDOWN, 'J', 0);
    HWND jiggle = openedWindow(ncstudio, "\"Jiggle\" window opened", "Jiggle");
    ASSERT_NE(jiggle, nullptr);
    PostMessageA(FindWindowExA(jiggle, nullptr, nullptr, "Y+"), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitForText(seen.coordinate(1), "-3.150"));
    PostMessageA(jiggle, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(ncstudio.waitForLog("\"Jiggle\" closed"));
    EXPECT_FALSE(IsWindow(jiggle));

    PostMessageA(main, WM_SYSKEYDOWN, 'O', 0x20000000);
    PostMessageA(main, WM_KEYDOWN, 'N', 0);
    HWND homing = openedWindow(ncstudio, "back-to-reference dialog opened", "bkref: move to reference point");
    ASSERT_NE(homing, nullptr);
    PostMessageA(FindWindowExA(homing, nullptr, nullptr, "&X Axis"), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitForText(seen.coordinate(0), "-100.000")) << "machine X 0 is work X -100";
    EXPECT_EQ(textOf(seen.coordinate(1)), "-3.150") << "only X goes back";
    EXPECT_TRUE(ncstudio.waitForLog("\"bkref: move to reference point\" closed"));

    ncstudio.command("prompt Spindle is off. Start anyway?");
    HWND prompt = openedWindow(ncstudio, "prompt shown", "NcStudio");
    ASSERT_NE(prompt, nullptr);
    char className[16] = {};
    GetClassNameA(prompt, className, sizeof className);
    EXPECT_STREQ(className, "#32770");
    PostMessageA(prompt, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(ncstudio.waitForLog("prompt answered: No"));
    EXPECT_TRUE(ncstudio.waitForLog("\"NcStudio\" closed"));
    EXPECT_FALSE(IsWindow(prompt));
}

}  // namespace
