// The release the pendant link sends when it goes down: a held continuous jog
// is let go at once and nothing else happens. A release that cannot get the
// bridge mutex (a status reader waiting on a hung NcStudio) is kept and
// honoured by the next holder of the mutex.
#include <gtest/gtest.h>

#include "bridge/release_only_event.h"
#include "executor_fixture.h"
#include "tests/support/mutex_holder.h"

using namespace executor_testing;
using bridge_abi::kReleaseOnlyWheelDelta;

class LinkRelease : public ExecutorFixture {
protected:
    // Key 12 held on X in continuous mode; afterwards NcStudio's step reads
    // back as 0.05 mm, so that a plain keyless event would let go of nothing.
    DWORD holdKey12OnX() {
        block().stepIndex = 0;
        const DWORD pressed = clock.now();
        event(0, 12, 0, 0, kAxisX);
        block().stepIndex = 2;
        return pressed;
    }
};

TEST_F(LinkRelease, LetsGoOfTheHeldJogAndIgnoresKnobsKeysAndWheel) {
    const DWORD pressed = holdKey12OnX();
    const BYTE rateBefore = block().lastRateKnob;
    const DWORD released = clock.now();

    // Another rate knob, another axis knob, a key and a wheel count: none of
    // them is acted on.
    EXPECT_EQ(event(kReleaseOnlyWheelDelta | 5, 4, 0, 26, kAxisY), 0);

    EXPECT_EQ(deliveries(), Deliveries{press(bridge::kXPlus, pressed)} + letGo(bridge::kXPlus, released));
    EXPECT_EQ(block().heldJogAxis, 0);
    EXPECT_EQ(block().lastJogKey, 0);
    EXPECT_EQ(block().lastRateKnob, rateBefore);
    EXPECT_EQ(block().axisKnobCode, kAxisX);
    EXPECT_EQ(block().machineState & 3, 0) << "key 4 did not run";

    forgetHistory();
    EXPECT_EQ(event(kReleaseOnlyWheelDelta, 0, 0, 0, kAxisX), 0);
    EXPECT_TRUE(deliveries().empty()) << "nothing held: nothing posted";
}

// What timed out on the mutex, and who takes it next.
struct TimedOutRelease {
    const char* what;
    int wheelDelta;
    BYTE key;
    bool nextIsStatusPoll;
    bool letGo;
};
void PrintTo(const TimedOutRelease& c, std::ostream* out) { *out << c.what; }

class TimedOutLinkRelease : public LinkRelease, public testing::WithParamInterface<TimedOutRelease> {};

TEST_P(TimedOutLinkRelease, IsHonouredByTheNextHolderOfTheMutex) {
    const TimedOutRelease& c = GetParam();
    const DWORD pressed = holdKey12OnX();
    {
        testing_support::MutexHolder reader;  // a status reader stuck in NcStudio
        EXPECT_EQ(event(c.wheelDelta, c.key, 0, 0, kAxisX), 1);
    }
    const DWORD next = clock.now();
    if (c.nextIsStatusPoll) {
        GetMaState(nullptr);
        settle();
    } else {
        event(0, 0, 0, 0, kAxisX);  // the pendant's next report
    }

    Deliveries expected{press(bridge::kXPlus, pressed)};
    if (c.letGo) expected = expected + letGo(bridge::kXPlus, next);
    EXPECT_EQ(deliveries(), expected);
    EXPECT_EQ(block().heldJogAxis, c.letGo ? 0 : kAxisX);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimedOutLinkRelease,
    testing::Values(TimedOutRelease{"the key let go, then a status poll", 0, 0, true, true},
                    TimedOutRelease{"the link's release, then the next key event", kReleaseOnlyWheelDelta, 0, false,
                                    true},
                    TimedOutRelease{"key 12 still down, then a status poll", 0, 12, true, false}));
