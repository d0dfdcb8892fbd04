#pragma once
// The receiver of this process over fake HID interfaces, with the link flags
// reset before each test; after it the receiver is closed and no handle may
// have been closed twice, closed under a pending read or cancelled from a
// thread that did not start the read.
#include <gtest/gtest.h>

#include "app/process_state.h"
#include "pendant/pendant_device.h"
#include "tests/pendant/fake_hid.h"

namespace pendant_testing {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::state().linkUp = 0;
        app::state().linkEnabled = 1;
    }

    void TearDown() override {
        pendant::device().closeDevice();
        hid.holdCancellation(false);
        hid.waitForAllClosed(2000);
        const FakeHid::Tally tally = hid.tally();
        EXPECT_EQ(tally.closesUnderPendingRead, 0);
        EXPECT_EQ(tally.badCloses, 0);
        EXPECT_EQ(tally.foreignCancels, 0);
        EXPECT_EQ(tally.preparsedNotFreed, 0);
    }

    // The receiver's input and feature interfaces, present and opened.
    void openReceiver() {
        hid.plugIn({receiverInput(), receiverFeature()});
        ASSERT_EQ(pendant::device().openDevice(nullptr), 1);
        ASSERT_TRUE(hid.waitForPendingRead(2000)) << "the reader never read";
    }

    FakeHid hid;
};

}  // namespace pendant_testing
