// Set Z by key 7 in generation 2: NcStudio's safe height read from the list
// view of its parameters window, which lives in another process
// (ncstudio_parameters.exe), and the read's every failure.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <set>
#include <string>

#include "executor/remote_list_view.h"
#include "work_coordinate_fixture.h"

using namespace executor_testing;

namespace {

// ncstudio_parameters.exe beside the running test program, started with the
// row of "SafeHeight" (-1: none) and its value; its window is awaited.
class ParametersProcess {
public:
    ParametersProcess(int safeHeightRow, const char* safeHeight) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string command(path);
        command.erase(command.find_last_of("\\/") + 1);
        command = "\"" + command + "ncstudio_parameters.exe\" " + std::to_string(safeHeightRow) + " " + safeHeight;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info_));
        for (int i = 0; i < 200 && !filled(); ++i) Sleep(50);
        EXPECT_TRUE(filled()) << "the parameters window came up with its list";
    }
    ~ParametersProcess() {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    static HWND window() { return FindWindowA(nullptr, "paramters"); }
    HWND listView() const { return FindWindowExA(window(), nullptr, "SysListView32", nullptr); }
    bool filled() const { return listView() && SendMessageA(listView(), LVM_GETITEMCOUNT, 0, 0) == 40; }
    // The window was closed: the program ended.
    bool ended() const { return WaitForSingleObject(info_.hProcess, 5000) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION info_ = {};
};

class SafeHeight : public WorkCoordinateFixture {
protected:
    void SetUp() override {
        WorkCoordinateFixture::SetUp();
        coordinates(2, {"0.000", "0.000", "3.000"}, {"0.000", "0.000", "-50.000"}, {0, 0, 0}, {0, 0, -53});
    }

    // Alt+'O', 40 ms, 'R' to the main window.
    Deliveries parametersMenu(DWORD t0) const {
        return Deliveries{{main, WM_SYSKEYDOWN, 'O', t0}} + keyPress(main, 'R', t0 + 40);
    }
};

}  // namespace

// Row 23 holds 25.5; a "SafeHeight" only in row 37, outside the rows looked
// at, gives 11.0. The window is closed after the
// read, and the Z offset makes the current Z the safe height.
TEST_F(SafeHeight, Key7ReadsTheSafeHeightRowAcrossTheProcessBoundaryOrTakes11) {
    struct Case {
        int row;
        double zBase;
        const char* offset;
    };
    for (const Case& c : {Case{23, 25.5, "-75.5000"}, Case{37, 11.0, "-61.0000"}}) {
        SCOPED_TRACE(c.row);
        block().safeHeightKnown = 0;
        ParametersProcess parameters(c.row, "25.5");
        forgetHistory();
        DWORD t0 = clock.now();
        EXPECT_EQ(event(0, 7, 0, 0, kAxisZ), 1);
        EXPECT_TRUE(parameters.ended()) << "WM_CLOSE reached the parameters window";
        EXPECT_EQ(block().zBase, c.zBase);
        EXPECT_EQ(block().safeHeightKnown, 1);
        EXPECT_EQ(confirmed()[5], c.offset);
        Deliveries received = deliveries();
        ASSERT_GE(received.size(), 5u);
        EXPECT_EQ(Deliveries(received.begin(), received.begin() + 3), parametersMenu(t0));
        EXPECT_EQ(std::get<1>(received[3]), UINT(WM_RBUTTONDOWN));
    }
    // Known now: the next key 7 does not open the parameters window again.
    forgetHistory();
    event(0, 7, 0, 0, kAxisZ);
    EXPECT_EQ(std::get<1>(deliveries().front()), UINT(WM_RBUTTONDOWN));
}

// 100 looks of 40 ms; without a safe height Z is not set at all.
TEST_F(SafeHeight, AParametersWindowThatNeverOpensLeavesZAsItIs) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 7, 0, 0, kAxisZ), 1);
    EXPECT_EQ(deliveries(), parametersMenu(t0));
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
    executor::ProcessMemoryCalls saved = executor::processMemoryCalls();
    executor::processMemoryCalls() = {openProcess, allocate, release, write, read, close};
    ParametersProcess parameters(20, "25.5");
    struct Case {
        Failing failing;
        bool read;
        const char* text;
    };
    const std::string unterminated(executor::kCellTextSize - 1, 'A');
    for (const Case& c : {Case{Failing::Nothing, true, "SafeHeight"}, Case{Failing::Open, false, ""},
                          Case{Failing::FirstAllocation, false, ""}, Case{Failing::SecondAllocation, false, ""},
                          Case{Failing::Write, false, ""}, Case{Failing::ShortRead, false, ""},
                          Case{Failing::UnterminatedText, true, unterminated.c_str()}}) {
        SCOPED_TRACE(static_cast<int>(c.failing));
        faults = Faults();
        faults.failing = c.failing;
        char text[executor::kCellTextSize];
        std::memset(text, 'X', sizeof text);
        {
            executor::RemoteListView list(parameters.listView());
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
