#include "tests/support/recording_bridge.h"

#include <gtest/gtest.h>

#include <sstream>

namespace testing_support {
namespace {

// bin\recording_bridge\ncbridge.dll beside the running test program.
std::string recordingLibraryPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + recording_bridge::kFolder + "\\ncbridge.dll";
}

}  // namespace

RecordingBridge::RecordingBridge() {
    // Loading by name searches the system folder only: the real library beside
    // the test program is not found, a loaded recording library is.
    EXPECT_TRUE(SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) << GetLastError();
    makeAvailable();
}

RecordingBridge::~RecordingBridge() {
    makeAbsent();
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void RecordingBridge::makeAbsent() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
}

void RecordingBridge::makeAvailable() {
    if (module_) return;
    const std::string path = recordingLibraryPath();
    module_ = LoadLibraryA(path.c_str());
    ASSERT_NE(module_, nullptr) << path << " error " << GetLastError();
    clearCalls();
}

template <typename Function>
Function RecordingBridge::control(const char* name) const {
    FARPROC found = module_ ? GetProcAddress(module_, name) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

std::vector<std::string> RecordingBridge::calls() const {
    auto recordedCalls = control<recording_bridge::RecordedCallsFn>("RecordedCalls");
    if (!recordedCalls) return {};
    std::string text(static_cast<size_t>(recordedCalls(nullptr, 0)) + 1, '\0');
    recordedCalls(&text[0], static_cast<int>(text.size()));
    std::vector<std::string> lines;
    std::istringstream stream(text.c_str());
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

void RecordingBridge::clearCalls() {
    if (auto clear = control<recording_bridge::ClearRecordedCallsFn>("ClearRecordedCalls")) clear();
}

void RecordingBridge::setResult(const char* exportName, int result) {
    if (auto set = control<recording_bridge::SetRecordedResultFn>("SetRecordedResult"))
        set(exportName, result);
}

void RecordingBridge::holdKeyBoardProc(bool hold) {
    if (auto set = control<recording_bridge::HoldKeyBoardProcFn>("HoldKeyBoardProc")) set(hold ? 1 : 0);
}

void RecordingBridge::setLocationText(const char* text) {
    if (auto set = control<recording_bridge::SetLocationTextFn>("SetLocationText")) set(text);
}

}  // namespace testing_support
