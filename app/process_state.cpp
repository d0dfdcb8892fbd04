#include "app/process_state.h"

namespace app {

ProcessState& state() {
    static ProcessState theState;
    return theState;
}

}  // namespace app
