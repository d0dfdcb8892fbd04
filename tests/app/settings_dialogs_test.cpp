// The tool-setter settings in the profile, edited by the tool-setter dialog;
// the autostart entry. The dialogs are created hidden and driven by their
// messages; message boxes are answered by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/application_profile.h"
#include "app/data_exchange.h"
#include "app/message_box.h"
#include "app/process_state.h"
#include "app/resources/resource_ids.h"
#include "app/settings.h"
#include "app/tool_setter_dialog.h"

namespace {

std::vector<std::string> shownBoxes;

int recordBox(HWND, const char* text, const char*, UINT) {
    shownBoxes.push_back(text);
    return IDOK;
}

std::string controlText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class ToolSetterSettings : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(app::profilePath().c_str());
        shownBoxes.clear();
        app::installMessageBox(recordBox);
        app::state().toolSetterEnabled = 7;
        app::state().toolSetterHeight = -1;
    }

    void TearDown() override {
        app::installMessageBox(nullptr);
        DeleteFileA(app::profilePath().c_str());
    }

    static std::string profile(const char* key) { return app::getProfileString("Knife Section", key, "<none>"); }

    static void command(app::Dialog& dialog, int id) {
        SendMessageA(dialog.window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.window(), id)));
    }
};

TEST_F(ToolSetterSettings, AFreshProfileGivesTheDefaultsAndOkWritesWhatIsShown) {
    app::ToolSetterDialog dialog(nullptr);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(app::state().toolSetterEnabled, 0);
    EXPECT_DOUBLE_EQ(app::state().toolSetterHeight, 34.4);
    EXPECT_EQ(controlText(dialog.window(), IDC_TOOL_SETTER_HEIGHT), "34.4");
    EXPECT_EQ(IsDlgButtonChecked(dialog.window(), IDC_TOOL_SETTER_ENABLE), UINT{BST_UNCHECKED});

    command(dialog, IDOK);

    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(profile("KnifEnable"), "0");
    EXPECT_EQ(profile("Knifdb"), "34.400000");

    // Saved values are shown; an edited height is written on OK.
    app::writeProfileString("Knife Section", "KnifEnable", "1");
    app::ToolSetterDialog again(nullptr);
    ASSERT_TRUE(again.create());
    EXPECT_EQ(IsDlgButtonChecked(again.window(), IDC_TOOL_SETTER_ENABLE), UINT{BST_CHECKED});
    SetDlgItemTextA(again.window(), IDC_TOOL_SETTER_HEIGHT, " 40.5 ");
    command(again, IDOK);
    EXPECT_DOUBLE_EQ(app::state().toolSetterHeight, 40.5);
    EXPECT_EQ(profile("KnifEnable"), "1");
    EXPECT_EQ(profile("Knifdb"), "40.500000");
}

TEST_F(ToolSetterSettings, TheEnableBoxActsAtOnceButCancelWritesNothing) {
    app::ToolSetterDialog dialog(nullptr);
    ASSERT_TRUE(dialog.create());
    CheckDlgButton(dialog.window(), IDC_TOOL_SETTER_ENABLE, BST_CHECKED);
    command(dialog, IDC_TOOL_SETTER_ENABLE);
    EXPECT_EQ(app::state().toolSetterEnabled, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog.window(), IDC_TOOL_SETTER_HEIGHT)));
    SetDlgItemTextA(dialog.window(), IDC_TOOL_SETTER_HEIGHT, "50");

    command(dialog, IDCANCEL);

    EXPECT_EQ(dialog.result(), IDCANCEL);
    EXPECT_EQ(profile("KnifEnable"), "<none>");
    EXPECT_EQ(app::state().toolSetterEnabled, 1) << "changed in memory all the same";
    EXPECT_DOUBLE_EQ(app::state().toolSetterHeight, 34.4) << "the value read when it opened";

    app::ToolSetterDialog again(nullptr);
    ASSERT_TRUE(again.create());
    CheckDlgButton(again.window(), IDC_TOOL_SETTER_ENABLE, BST_UNCHECKED);
    command(again, IDC_TOOL_SETTER_ENABLE);
    EXPECT_EQ(app::state().toolSetterEnabled, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(again.window(), IDC_TOOL_SETTER_HEIGHT)));
}

TEST_F(ToolSetterSettings, AHeightThatIsNotANumberIsRefusedWithThePromptAndTheDialogStays) {
    app::ToolSetterDialog dialog(nullptr);
    ASSERT_TRUE(dialog.create());
    for (const char* text : {"", "abc", "12,5", "3.5mm"}) {
        SCOPED_TRACE(text);
        shownBoxes.clear();
        SetDlgItemTextA(dialog.window(), IDC_TOOL_SETTER_HEIGHT, text);
        command(dialog, IDOK);
        EXPECT_EQ(shownBoxes, std::vector<std::string>{"Please enter a number."});
        EXPECT_FALSE(dialog.ended());
        EXPECT_EQ(profile("Knifdb"), "<none>");
    }
}

// A height typed into the profile by hand: a decimal comma is read as meant;
// anything else is no height, and the tool setter stays off rather than set
// NcStudio's Z from a height nobody gave.
TEST_F(ToolSetterSettings, AHandWrittenHeightIsReadWholeOrTheToolSetterStaysOff) {
    struct Case {
        const char* text;
        bool readable;
        double height;
    };
    for (const Case& c : {Case{"34,4", true, 34.4}, Case{" 12.25 ", true, 12.25}, Case{"-3", true, -3},
                          Case{"abc", false, 34.4}, Case{"", false, 34.4}, Case{"34.4mm", false, 34.4},
                          Case{"3,4,5", false, 34.4}, Case{"1e400", false, 34.4}}) {
        SCOPED_TRACE(c.text);
        app::writeProfileString("Knife Section", "KnifEnable", "1");
        app::writeProfileString("Knife Section", "Knifdb", c.text);
        app::state().toolSetterHeight = 34.4;
        EXPECT_EQ(app::readToolSetterSettings(), c.readable);
        EXPECT_EQ(app::state().toolSetterEnabled, c.readable ? 1 : 0);
        EXPECT_DOUBLE_EQ(app::state().toolSetterHeight, c.height);
    }
}

TEST(AboutBox, ShowsTheAboutTextAndThePicture) {
    app::state().aboutText = "Qovar无线手轮MP40R驱动 维宏系统专用->Ncstudio V5";
    app::AboutDialog dialog(nullptr);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(controlText(dialog.window(), IDC_ABOUT_TITLE), app::state().aboutText);
    HWND picture = GetDlgItem(dialog.window(), IDC_ABOUT_PICTURE);
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & (SS_TYPEMASK | SS_CENTERIMAGE), SS_BITMAP | SS_CENTERIMAGE);
    const auto bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ(GetObjectType(bitmap), DWORD{OBJ_BITMAP});
    dialog.destroy();
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the picture goes with the about box";
    app::state().aboutText = "QVT MP40 Driver For Weihong CNC";
}

TEST(Autostart, TheRunKeyNamesThisExecutable) {
    HKEY run = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, app::kRunKey, 0, KEY_READ | KEY_WRITE, &run), ERROR_SUCCESS);
    RegDeleteValueA(run, app::kAutostartValue);
    app::registerAutostart(nullptr);

    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    const LONG read = RegQueryValueExA(run, app::kAutostartValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(run);
    ASSERT_EQ(read, ERROR_SUCCESS);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(value, self);
    EXPECT_EQ(size, std::strlen(self) + 1) << "stored with its terminating zero";
}

}  // namespace
