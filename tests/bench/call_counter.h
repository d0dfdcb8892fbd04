#pragma once
// Counting what a loaded module (ncbridge.dll) calls in user32, function by
// function, and how long it sleeps: the module's import address table is
// patched with counting wrappers, so the module itself stays as shipped.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

struct CallCounts {
    std::map<std::string, long> user32;  // calls per user32 function
    long sleeps = 0;
    double sleptMs = 0;  // time spent inside Sleep

    long user32Calls() const;
    // What happened between `earlier` and this.
    CallCounts since(const CallCounts& earlier) const;
};

// Patches the imports of `module`; returns the names of its user32 imports
// that are not counted.
std::vector<std::string> countCallsOf(HMODULE module);

CallCounts callCounts();

}  // namespace bench
