#include "executor/key_event.h"

#include "bridge/release_only_event.h"
#include "bridge/shared_block.h"

namespace executor {

KeyEvent unpackKeyEvent(int wheelDelta, int keyWord) {
    const DWORD word = static_cast<DWORD>(keyWord);
    KeyEvent event;
    event.key1 = static_cast<BYTE>(word & 0xFF);
    event.key2 = static_cast<BYTE>((word >> 8) & 0xFF);
    event.rateKnob = static_cast<BYTE>((word >> 16) & 0xFF);
    event.axisKnob = static_cast<BYTE>((word >> 24) & 0xFF);
    event.key = event.key1 ? event.key1 : event.key2;
    event.releaseOnly = bridge_abi::isReleaseOnly(wheelDelta);
    if (!bridge::block().wheelBlocked)
        event.wheel = static_cast<signed char>(static_cast<BYTE>(wheelDelta & 0xFF));
    return event;
}

}  // namespace executor
