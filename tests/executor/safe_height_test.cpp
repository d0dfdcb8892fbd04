// Set Z by key 7 in generation 2: NcStudio's safe height read from the list
// view of its parameters window inside the stand-in NcStudio program's
// process, and every failure of that read.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <set>
#include <string>

#include "executor/remote_list_view.h"
#include "tests/support/ncstudio_process.h"
#include "work_coordinate_fixture.h"

using namespace executor_testing;
using testing_support::NcStudioProcess;

namespace {

// The parameters window with its 40 rows, waited for up to 10 s.
HWND parametersList() {
    for (int i = 0; i < 200; ++i) {
        HWND list = FindWindowExA(FindWindowA(nullptr, "paramters"), nullptr, "SysListView32", nullptr);
        if (list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 40) return list;
        Sleep(50);
    }
    return nullptr;
}

bool parametersWindowClosed() {
    for (int i = 0; i < 100 && FindWindowA(nullptr, "paramters"); ++i) Sleep(50);
    return !FindWindowA(nullptr, "paramters");
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class SafeHeight : public WorkCoordinateFixture {};

}  // namespace

// NcStudio 8 (generation 2, machine Z -20, work Z 0): "SafeHeight" 25.5 in
// row 23 is read; one only in row 37, outside the rows looked at, gives 11.0.
// The parameters window is closed again and Z shows the safe height; a
// second key 7 does not open the parameters window again.
TEST_F(SafeHeight, Key7ReadsTheSafeHeightRowInNcStudiosProcessOrTakes11) {
    struct Case {
        const char* parameters;
        double zBase;
        const char* shown;
    };
    for (const Case& c : {Case{"parameters 23 25.5", 25.5, "work coordinate Z: 25.500"},
                          Case{"parameters 37 25.5", 11.0, "work coordinate Z: 11.000"}}) {
        SCOPED_TRACE(c.parameters);
        NcStudioProcess ncstudio(8);
        ncstudio.command(c.parameters);
        HWND ncstudioMain = ncstudio.mainWindow();
        ASSERT_TRUE(ncstudioMain && ncstudio.waitForLog(c.parameters));
        SendMessageA(ncstudioMain, WM_NULL, 0, 0);  // the command has been carried out
        bindTo(ncstudioMain);
        block().hostGeneration = 2;
        block().safeHeightKnown = 0;
        char location[1024];
        GetAxisLocation(location);
        release(kAxisZ);
        clock.onSleep([] { Sleep(40); });  // NcStudio's process runs in real time

        EXPECT_EQ(event(0, 7, 0, 0, kAxisZ), 1);
        EXPECT_EQ(block().zBase, c.zBase);
        EXPECT_EQ(block().safeHeightKnown, 1);
        EXPECT_TRUE(parametersWindowClosed());
        EXPECT_TRUE(ncstudio.waitForLog(c.shown)) << ncstudio.log();
        release(kAxisZ);
        event(0, 7, 0, 0, kAxisZ);
        const std::string confirmed = "command 1 to \"Offset Setting\"";
        for (int i = 0; i < 100 && occurrences(ncstudio.log(), confirmed) < 2; ++i) Sleep(50);
        EXPECT_EQ(occurrences(ncstudio.log(), confirmed), 2u) << ncstudio.log();
        EXPECT_EQ(occurrences(ncstudio.log(), "\"paramters\" opened"), 1u);
        clock.onSleep([this] { host.sync(); });
    }
}

// 100 looks of 40 ms; without a safe height Z is not set at all.
TEST_F(SafeHeight, AParametersWindowThatNeverOpensLeavesZAsItIs) {
    coordinates(2);
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 7, 0, 0, kAxisZ), 1);
    EXPECT_EQ(deliveries(), (Deliveries{{main, WM_SYSKEYDOWN, 'O', t0}} + keyPress(main, 'R', t0 + 40)));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>(102, 40));
    EXPECT_EQ(block().safeHeightKnown, 0);
    EXPECT_EQ(dialogs->opened(), 0);
}

namespace {

// Kernel32's process-memory calls, each step made to fail in turn; counts
// what was opened and allocated and what was given back.
enum class Failing { Nothing, Open, FirstAllocation, SecondAllocation, Write, ShortRead, UnterminatedText };

struct Faults {
    Failing failing = Failing::Nothing;
    int allocations = 0;
    std::set<LPVOID> live;
    std::set<HANDLE> open;
} faults;

HANDLE WINAPI openProcess(DWORD access, BOOL inherit, DWORD id) {
    HANDLE process = faults.failing == Failing::Open ? nullptr : OpenProcess(access, inherit, id);
    if (process) faults.open.insert(process);
    return process;
}
LPVOID WINAPI allocate(HANDLE process, LPVOID at, SIZE_T size, DWORD type, DWORD protect) {
    const int n = ++faults.allocations;
    if (faults.failing == (n == 1 ? Failing::FirstAllocation : Failing::SecondAllocation)) return nullptr;
    LPVOID block = VirtualAllocEx(process, at, size, type, protect);
    faults.live.insert(block);
    return block;
}
BOOL WINAPI release(HANDLE process, LPVOID block, SIZE_T size, DWORD type) {
    faults.live.erase(block);
    return VirtualFreeEx(process, block, size, type);
}
BOOL WINAPI write(HANDLE process, LPVOID to, LPCVOID from, SIZE_T size, SIZE_T* written) {
    return faults.failing != Failing::Write && WriteProcessMemory(process, to, from, size, written);
}
// A short read copies 10 bytes and fails; an unterminated text fills all 64.
BOOL WINAPI read(HANDLE process, LPCVOID from, LPVOID to, SIZE_T size, SIZE_T* done) {
    if (faults.failing != Failing::ShortRead && faults.failing != Failing::UnterminatedText)
        return ReadProcessMemory(process, from, to, size, done);
    *done = faults.failing == Failing::ShortRead ? 10 : size;
    std::memset(to, 'A', *done);
    return faults.failing == Failing::UnterminatedText;
}
BOOL WINAPI close(HANDLE handle) {
    faults.open.erase(handle);
    return CloseHandle(handle);
}

}  // namespace

TEST(RemoteListView, FreesWhatItAllocatedAndClosesTheProcessAtEveryFailure) {
    NcStudioProcess ncstudio(8);
    HWND ncstudioMain = ncstudio.mainWindow();
    PostMessageA(ncstudioMain, WM_SYSKEYDOWN, 'O', 0x20000000);
    PostMessageA(ncstudioMain, WM_KEYDOWN, 'R', 0);
    HWND listView = parametersList();
    ASSERT_NE(listView, nullptr);
    executor::ProcessMemoryCalls saved = executor::processMemoryCalls();
    executor::processMemoryCalls() = {openProcess, allocate, release, write, read, close};
    struct Case {
        Failing failing;
        bool read;
        const char* text;
    };
    const std::string unterminated(executor::kCellTextSize - 1, 'A');
    for (const Case& c : {Case{Failing::Nothing, true, "Parameter20"}, Case{Failing::Open, false, ""},
                          Case{Failing::FirstAllocation, false, ""}, Case{Failing::SecondAllocation, false, ""},
                          Case{Failing::Write, false, ""}, Case{Failing::ShortRead, false, ""},
                          Case{Failing::UnterminatedText, true, unterminated.c_str()}}) {
        SCOPED_TRACE(static_cast<int>(c.failing));
        faults = Faults();
        faults.failing = c.failing;
        char text[executor::kCellTextSize];
        std::memset(text, 'X', sizeof text);
        {
            executor::RemoteListView list(listView);
            EXPECT_EQ(list.cellText(20, 1, text), c.read);
            ASSERT_LT(strnlen(text, sizeof text), sizeof text) << "terminated";
            EXPECT_EQ(std::string(text), c.text);
        }
        EXPECT_EQ(faults.allocations, c.failing == Failing::Open ? 0 : c.failing == Failing::FirstAllocation ? 1 : 2);
        EXPECT_TRUE(faults.live.empty()) << "every remote block freed";
        EXPECT_TRUE(faults.open.empty()) << "the process handle closed";
    }
    executor::processMemoryCalls() = saved;
}
