// The stand-in NcStudio program as the driver meets it: a process of its own,
// stamped with the product version the driver tells the generations by,
// whose main window is found by its title and whose controls are read and
// clicked across the process boundary, and which ends when asked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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

}  // namespace
