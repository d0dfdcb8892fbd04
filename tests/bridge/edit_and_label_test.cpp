// Writing an edit field of NcStudio, and finding the "Safe Height is" label.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge_tests::Post;
using bridge_tests::postsOf;
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
    messages[2].lParam = 0;  // a pointer to the text
    EXPECT_EQ(postsOf(messages), (std::vector<Post>{{edit, EM_SETSEL, 0, -1, start},
                                                    {edit, EM_SCROLLCARET, 0, 0, start},
                                                    {edit, EM_REPLACESEL, 0, 0, start}}));
    EXPECT_EQ(messages[2].text, "-123.456") << "the old text was still there";
    EXPECT_EQ(textOf(edit), "12.5000") << "the whole text is replaced";
    EXPECT_TRUE(clock.sleeps().empty());

    ncstudio.destroy(edit);
    host.clearReceived();
    bridge::writeEdit(edit, "1.0");
    settle();
    EXPECT_TRUE(host.received().empty()) << "a window that is gone gets nothing";
}

class SafeHeightLabel : public BridgeFixture {};

TEST_F(SafeHeightLabel, FindsTheFirstDirectChildStaticWhoseTextContainsTheWords) {
    HWND panel = ncstudio.topLevel("#32770", "Parameters");
    ncstudio.button(panel, "Safe Height is");  // not a static
    ncstudio.edit(panel, "Safe Height is");    // not a static
    ncstudio.label(panel, "");
    ncstudio.label(panel, "safe height is");  // the test is case-sensitive
    ncstudio.label(panel, "Safe Height");
    HWND group = ncstudio.child(panel, {"#32770", "", 4643, 0});
    HWND nested = ncstudio.label(group, "Safe Height is");
    EXPECT_EQ(bridge::findSafeHeightLabel(panel), nullptr) << "not among its children's children";
    EXPECT_EQ(bridge::findSafeHeightLabel(group), nested);

    HWND label = ncstudio.label(panel, "The Safe Height is(mm):");
    ncstudio.label(panel, "Safe Height is");
    EXPECT_EQ(bridge::findSafeHeightLabel(panel), label);
    EXPECT_EQ(bridge::findSafeHeightLabel(nullptr), nullptr);
}
