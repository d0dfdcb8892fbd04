// A stand-in ncbridge.dll that does nothing but record the calls it receives
// and return the results the test has set.
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "bridge/exports.h"
#include "tests/recording_bridge/recording_controls.h"

namespace {

std::mutex lock;
std::vector<std::string> calls;
std::map<std::string, int> results;
std::string locationText;
bool keyBoardProcHeld = false;
std::condition_variable keyBoardProcLetGo;

// Records one call and returns the result set for its export.
int record(const char* exportName, const std::string& arguments = "") {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back(arguments.empty() ? exportName : std::string(exportName) + " " + arguments);
    auto found = results.find(exportName);
    return found == results.end() ? 0 : found->second;
}

std::string hexWord(int word) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(word));
    return text;
}

}  // namespace

using recording_bridge::handleText;

int WINAPI installhook(HWND hostMain) { return record("installhook", handleText(hostMain)); }

int WINAPI EnableMap(int on) { return record("EnableMap", std::to_string(on)); }

int WINAPI EnableEdit(int locked) { return record("EnableEdit", std::to_string(locked)); }

int WINAPI KeyBoardProc(int wheelDelta, int keyWord) {
    const int result = record("KeyBoardProc", std::to_string(wheelDelta) + " " + hexWord(keyWord));
    std::unique_lock<std::mutex> guard(lock);
    keyBoardProcLetGo.wait(guard, [] { return !keyBoardProcHeld; });
    return result;
}

LRESULT WINAPI MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    return record("MouseProc", std::to_string(code) + " " + std::to_string(wParam) + " " +
                                   std::to_string(lParam));
}

int WINAPI UnHook() { return record("UnHook"); }

int WINAPI SetVer(int flag) { return record("SetVer", std::to_string(flag)); }

int WINAPI GetAxisLocation(char* buffer) {
    const int result = record("GetAxisLocation");
    if (result != 0) {
        std::lock_guard<std::mutex> guard(lock);
        std::snprintf(buffer, 1024, "%s", locationText.c_str());
    }
    return result;
}

int WINAPI GetMaState(HWND caller) { return record("GetMaState", handleText(caller)); }

int WINAPI GetMaStep() { return record("GetMaStep"); }

int WINAPI SetPcState(HWND window, int pcState) {
    return record("SetPcState", handleText(window) + " " + std::to_string(pcState));
}

int WINAPI SetKnifHigh(double height, int enabled) {
    return record("SetKnifHigh", std::to_string(height) + " " + std::to_string(enabled));
}

int WINAPI RecordedCalls(char* buffer, int size) {
    std::lock_guard<std::mutex> guard(lock);
    std::string text;
    for (const std::string& call : calls) text += call + "\n";
    if (size > 0) std::snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    return static_cast<int>(text.size());
}

void WINAPI ClearRecordedCalls() {
    std::lock_guard<std::mutex> guard(lock);
    calls.clear();
}

void WINAPI SetRecordedResult(const char* exportName, int result) {
    std::lock_guard<std::mutex> guard(lock);
    results[exportName] = result;
}

void WINAPI SetLocationText(const char* text) {
    std::lock_guard<std::mutex> guard(lock);
    locationText = text;
}

void WINAPI HoldKeyBoardProc(int hold) {
    std::lock_guard<std::mutex> guard(lock);
    keyBoardProcHeld = hold != 0;
    keyBoardProcLetGo.notify_all();
}
