#pragma once
// The receiver of this process over fake HID interfaces, with the link flags
// reset before and the receiver closed after each test.
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

    void TearDown() override { pendant::device().closeDevice(); }

    // The receiver's input and feature interfaces, present and opened.
    void openReceiver() {
        hid.plugIn({receiverInput(), receiverFeature()});
        ASSERT_EQ(pendant::device().openDevice(nullptr), 1);
        ASSERT_TRUE(hid.waitForPendingRead(2000)) << "the reader never read";
    }

    FakeHid hid;
};

}  // namespace pendant_testing
