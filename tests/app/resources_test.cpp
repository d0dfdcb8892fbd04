// wheelpad's resources as the program reads them through the ANSI calls in
// code page 936: dialog titles, fonts and controls with their ids and
// visibility, the control menu, the about item and the images.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/dialog.h"
#include "app/resources/resource_ids.h"

namespace {

struct Control {
    int id;
    std::string className;
    std::string text;
    bool visible;
};

struct Template {
    int id;
    std::string title;
    std::string font;
    std::vector<Control> controls;  // all of them; -1: found by its text
};

std::string text(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string className(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::string fontName(HWND dialog) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description.lfFaceName;
}

HWND controlWithText(HWND dialog, const std::string& wanted) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (text(child) == wanted) return child;
    return nullptr;
}

TEST(Resources, DialogTemplatesHaveTheirTitlesFontsAndControls) {
    const Template templates[] = {
        {IDD_ABOUT, "MP40R Driver-V3.90 For WeihongCNC", "宋体",
         {{IDC_ABOUT_PICTURE, "Static", "", true}, {IDC_ABOUT_TITLE, "Static", "", true},
          {-1, "Static", "Wireless CNC handwheel driver for NcStudio.", true},
          {-1, "Static", "Ctrl+F11 locks and unlocks the pendant.", true},
          {-1, "Static", "The tray menu holds the tool-setter settings.", true}, {IDOK, "Button", "确定", true}}},
        {IDD_MAIN, "RZWN-1.4", "宋体",
         {{IDOK, "Button", "确定", true}, {IDCANCEL, "Button", "取消", true},
          {-1, "Static", "鼠标自动按键", true}, {IDC_MAIN_F3, "Button", "F3", true},
          {IDC_MAIN_STATIC, "Static", "", true}, {IDC_MAIN_ENABLE_MAP, "Button", "使能映射", true}}},
        {IDD_TOOL_SETTER, "QVT 无线对刀器设置", "System",
         {{IDOK, "Button", "确定", true}, {IDCANCEL, "Button", "取消", true},
          {IDC_TOOL_SETTER_HEIGHT, "Edit", "", false},
          {IDC_TOOL_SETTER_ENABLE, "Button", "使能无线对刀器", false}, {-1, "Static", "对刀器高度:", false}}},
        {IDD_DEVICE_STATUS, "设备状态", "System",
         {{-1, "Static", "状态:", true}, {IDC_STATUS_TEXT, "Static", "", true},
          {IDC_REPAIR_TOOL_SETTER, "Button", "对刀器重新配对", true},
          {IDC_REPAIR_HANDWHEEL, "Button", "手轮重新配对", true}}},
    };
    for (const Template& expected : templates) {
        SCOPED_TRACE(expected.id);
        app::Dialog dialog(expected.id, nullptr);
        ASSERT_TRUE(dialog.create());
        HWND window = dialog.window();
        EXPECT_EQ(text(window), expected.title);
        EXPECT_EQ(fontName(window), expected.font);
        EXPECT_FALSE(IsWindowVisible(window)) << "shown only when run";
        int controls = 0;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++controls;
        EXPECT_EQ(controls, static_cast<int>(expected.controls.size()));
        for (const Control& control : expected.controls) {
            SCOPED_TRACE(control.text);
            HWND child = control.id == -1 ? controlWithText(window, control.text) : GetDlgItem(window, control.id);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(className(child), control.className);
            EXPECT_EQ(text(child), control.text);
            EXPECT_EQ((GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0, control.visible);
        }
        dialog.destroy();
    }
}

TEST(Resources, ControlMenuAboutItemIconsAndPicture) {
    HINSTANCE module = app::resourceModule();
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_CONTROL_MENU));
    ASSERT_NE(menu, nullptr);
    char buffer[64] = {};
    GetMenuStringA(menu, 0, buffer, sizeof buffer, MF_BYPOSITION);
    EXPECT_STREQ(buffer, "控制菜单");
    HMENU popup = GetSubMenu(menu, 0);
    const std::pair<UINT, const char*> items[] = {
        {ID_LOCK, "Lock  &Ctrl+F11"}, {ID_PROBE_SET, "ProbeSet"}, {ID_MATE, "Mate"}, {ID_EXIT, "Exit"},
        {ID_ABOUT, "About"}};
    ASSERT_EQ(GetMenuItemCount(popup), 5);
    for (int position = 0; position < 5; ++position) {
        EXPECT_EQ(GetMenuItemID(popup, position), items[position].first);
        GetMenuStringA(popup, position, buffer, sizeof buffer, MF_BYPOSITION);
        EXPECT_STREQ(buffer, items[position].second);
    }
    DestroyMenu(menu);

    EXPECT_GT(LoadStringA(module, IDS_ABOUT_ITEM, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "关于 velkor(&A)...");

    for (int icon : {IDI_TRAY_ACTIVE, IDI_TRAY_IDLE, IDI_TRAY_NO_LINK, IDI_TRAY_LOCKED}) {
        HANDLE small = LoadImageA(module, MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, 0);
        EXPECT_NE(small, nullptr) << icon;
        DestroyIcon(static_cast<HICON>(small));
    }
    HANDLE picture = LoadImageA(module, MAKEINTRESOURCEA(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0, 0);
    EXPECT_NE(picture, nullptr);
    DeleteObject(picture);
}

}  // namespace
