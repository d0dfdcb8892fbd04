#pragma once
// Makes wheelpad's LoadLibraryA("ncbridge.dll") find the recording library, or
// find no library at all, and reads what the recording library recorded. The
// real ncbridge.dll beside the test programs is kept out of reach meanwhile.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/recording_bridge/recording_controls.h"

namespace testing_support {

class RecordingBridge {
public:
    // The recording library is available from the start.
    RecordingBridge();
    ~RecordingBridge();
    RecordingBridge(const RecordingBridge&) = delete;
    RecordingBridge& operator=(const RecordingBridge&) = delete;

    // Loads the recording library, so that loading "ncbridge.dll" by name
    // gives it from now on; its record starts empty.
    void makeAvailable();
    // Lets go of the recording library: once wheelpad has freed it too,
    // loading "ncbridge.dll" fails.
    void makeAbsent();

    HMODULE module() const { return module_; }

    // The calls recorded so far, one line each (format in recording_controls.h).
    std::vector<std::string> calls() const;
    void clearCalls();
    void setResult(const char* exportName, int result);
    void setLocationText(const char* text);
    // While held, KeyBoardProc calls wait until let go.
    void holdKeyBoardProc(bool hold);

private:
    template <typename Function>
    Function control(const char* name) const;

    HMODULE module_ = nullptr;
};

using recording_bridge::handleText;

}  // namespace testing_support
