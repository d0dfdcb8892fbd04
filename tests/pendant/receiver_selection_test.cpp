#include <gtest/gtest.h>
#include <windows.h>

#include "pendant/hid_api.h"
#include "pendant/receiver_selection.h"
#include "tests/pendant/pendant_pipe_fixture.h"

namespace {

class ReceiverSelectionTest : public testing_support::PendantPipeFixture {
protected:
    void TearDown() override {
        SetEnvironmentVariableA("WHEELPAD_RECEIVER", nullptr);
        pendant::installHid(nullptr);
    }
};

TEST_F(ReceiverSelectionTest, WithoutTheVariableTheRealHidCallsStay) {
    SetEnvironmentVariableA("WHEELPAD_RECEIVER", nullptr);
    pendant::HidApi* before = &pendant::hid();
    EXPECT_FALSE(pendant::selectReceiverFromEnvironment());
    EXPECT_EQ(before, &pendant::hid());

    SetEnvironmentVariableA("WHEELPAD_RECEIVER", "");
    EXPECT_FALSE(pendant::selectReceiverFromEnvironment());
    EXPECT_EQ(before, &pendant::hid());
}

TEST_F(ReceiverSelectionTest, TheVariableNamesThePipeOfTheVirtualReceiver) {
    SetEnvironmentVariableA("WHEELPAD_RECEIVER", pipeName.c_str());
    ASSERT_TRUE(pendant::selectReceiverFromEnvironment());

    GUID hidClass;
    pendant::hid().getHidGuid(&hidClass);
    HDEVINFO set = pendant::hid().getClassDevs(&hidClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(pendant::hid().enumDeviceInterfaces(set, &hidClass, 1, &data));
    pendant::hid().destroyDeviceInfoList(set);
    EXPECT_TRUE(pendant.waitForReceiver(2000));
}

}  // namespace
