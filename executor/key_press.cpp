#include "executor/key_press.h"

#include <windows.h>

#include "bridge/shared_block.h"

namespace executor {

// pressedKeys is written by the reader thread: under the bridge mutex, or by
// endPress while another thread holds it.

bool beginsPress(const KeyEvent& event) {
    const LONG keys = event.key1 | (event.key2 << 8);
    const LONG before = InterlockedExchange(&bridge::block().pressedKeys, keys);
    return keys != 0 && keys != before;
}

void endPress() { InterlockedExchange(&bridge::block().pressedKeys, 0); }

}  // namespace executor
