// Writing an edit field of NcStudio, and finding the "Safe Height is" label.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge_tests::textOf;
using testing_support::BridgeFixture;

class WriteEdit : public BridgeFixture {};

TEST_F(WriteEdit, SelectsAllScrollsToTheCaretAndReplacesTheSelection) {
    HWND dialog = ncstudio.topLevel("#32770", "Set current work coordinate:");
    ncstudio.label(dialog, "X:");
    HWND edit = ncstudio.edit(dialog, "-123.456");
    host.clearReceived();
    DWORD start = clock.now();

    bridge::writeEdit(edit, "12.5000");
    settle();

    auto messages = host.received();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(EM_SETSEL));
    EXPECT_EQ(messages[0].wParam, 0u);
    EXPECT_EQ(messages[0].lParam, -1);
    EXPECT_EQ(messages[1].message, static_cast<UINT>(EM_SCROLLCARET));
    EXPECT_EQ(messages[1].wParam, 0u);
    EXPECT_EQ(messages[1].lParam, 0);
    EXPECT_EQ(messages[2].message, static_cast<UINT>(EM_REPLACESEL));
    EXPECT_EQ(messages[2].wParam, 0u);
    EXPECT_EQ(messages[2].text, "-123.456") << "the old text was still there";
    for (const auto& m : messages) {
        EXPECT_EQ(m.window, edit);
        EXPECT_EQ(m.time, start);
    }
    EXPECT_EQ(textOf(edit), "12.5000") << "the whole text is replaced";
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST_F(WriteEdit, AnEmptyTextClearsTheField) {
    HWND dialog = ncstudio.topLevel("#32770", "Offset Setting");
    HWND edit = ncstudio.edit(dialog, "7.0");

    bridge::writeEdit(edit, "");

    EXPECT_EQ(textOf(edit), "");
}

TEST_F(WriteEdit, AWindowThatIsGoneGetsNothing) {
    HWND dialog = ncstudio.topLevel("#32770", "Offset Setting");
    HWND edit = ncstudio.edit(dialog, "7.0");
    ncstudio.destroy(edit);
    host.clearReceived();

    bridge::writeEdit(edit, "1.0");
    settle();

    EXPECT_TRUE(host.received().empty());
}

class SafeHeightLabel : public BridgeFixture {};

TEST_F(SafeHeightLabel, FindsTheFirstStaticWhoseTextContainsTheWords) {
    HWND panel = ncstudio.topLevel("#32770", "Parameters");
    ncstudio.button(panel, "Safe Height is");  // not a static
    ncstudio.edit(panel, "Safe Height is");    // not a static
    ncstudio.label(panel, "");
    ncstudio.label(panel, "safe height is");   // the test is case-sensitive
    ncstudio.label(panel, "Tool Height:");
    HWND label = ncstudio.label(panel, "The Safe Height is(mm):");
    ncstudio.edit(panel, "20.000");
    ncstudio.label(panel, "Safe Height is");

    EXPECT_EQ(bridge::findSafeHeightLabel(panel), label);
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST_F(SafeHeightLabel, NoSuchLabelOrNoParentGivesNone) {
    HWND panel = ncstudio.topLevel("#32770", "Parameters");
    ncstudio.label(panel, "Safe Height");
    ncstudio.button(panel, "Safe Height is");

    EXPECT_EQ(bridge::findSafeHeightLabel(panel), nullptr);
    EXPECT_EQ(bridge::findSafeHeightLabel(nullptr), nullptr);
}

TEST_F(SafeHeightLabel, LooksOnlyAtDirectChildren) {
    HWND panel = ncstudio.topLevel("#32770", "Parameters");
    HWND group = ncstudio.child(panel, {"#32770", "", 4643, 0});
    ncstudio.label(group, "Safe Height is");

    EXPECT_EQ(bridge::findSafeHeightLabel(panel), nullptr);
    EXPECT_NE(bridge::findSafeHeightLabel(group), nullptr);
}
