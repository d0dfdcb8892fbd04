#include "executor/key_press.h"

#include <windows.h>

namespace executor {
namespace {

// key1 and key2 of the last event, 0 after an event without a key. Written
// by the reader thread: under the bridge mutex, or by endPress while another
// thread holds it.
volatile LONG pressedKeys = 0;

}  // namespace

bool beginsPress(const KeyEvent& event) {
    const LONG keys = event.key1 | (event.key2 << 8);
    const LONG before = InterlockedExchange(&pressedKeys, keys);
    return keys != 0 && keys != before;
}

void endPress() { InterlockedExchange(&pressedKeys, 0); }

}  // namespace executor
