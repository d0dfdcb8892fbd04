#include "executor/remote_list_view.h"

#include <commctrl.h>

#include <cstddef>

#include "bridge/shared_block.h"

namespace executor {
namespace {

// The record is the list view item record of this build's bitness, which must
// be NcStudio's: the 40-byte record of 32-bit Windows, or its 64-bit form.
// LVM_GETITEMTEXTA reads iSubItem, pszText and cchTextMax from it.
#ifdef _WIN64
static_assert(offsetof(LVITEMA, iSubItem) == 8 && offsetof(LVITEMA, pszText) == 24 &&
                  offsetof(LVITEMA, cchTextMax) == 32,
              "64-bit list view item record");
#else
static_assert(offsetof(LVITEMA, iSubItem) == 8 && offsetof(LVITEMA, pszText) == 20 &&
                  offsetof(LVITEMA, cchTextMax) == 24 && sizeof(LVITEMA) >= 40,
              "32-bit list view item record");
#endif

constexpr DWORD kAccess = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;

}  // namespace

ProcessMemoryCalls& processMemoryCalls() {
    static ProcessMemoryCalls calls = {OpenProcess,        VirtualAllocEx,    VirtualFreeEx,
                                       WriteProcessMemory, ReadProcessMemory, CloseHandle};
    return calls;
}

RemoteListView::RemoteListView(HWND listView) : listView_(listView) {
    DWORD processId = 0;
    if (!listView || !GetWindowThreadProcessId(listView, &processId) || !processId) return;
    const ProcessMemoryCalls& calls = processMemoryCalls();
    process_ = calls.openProcess(kAccess, FALSE, processId);
    if (!process_) return;
    record_ = calls.virtualAllocEx(process_, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
    if (!record_) return;
    text_ = calls.virtualAllocEx(process_, nullptr, kCellTextSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
    const ProcessMemoryCalls& calls = processMemoryCalls();
    if (text_) calls.virtualFreeEx(process_, text_, 0, MEM_RELEASE);
    if (record_) calls.virtualFreeEx(process_, record_, 0, MEM_RELEASE);
    if (process_) calls.closeHandle(process_);
}

bool RemoteListView::cellText(int row, int column, char (&text)[kCellTextSize]) {
    text[0] = '\0';
    if (!ready()) return false;
    const ProcessMemoryCalls& calls = processMemoryCalls();
    LVITEMA& item = bridge::block().listItemScratch;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = static_cast<LPSTR>(text_);
    item.cchTextMax = kCellTextSize;
    SIZE_T moved = 0;
    if (!calls.writeProcessMemory(process_, record_, &item, sizeof item, &moved) || moved != sizeof item)
        return false;
    if (!SendMessageA(listView_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(record_)))
        return true;
    moved = 0;
    const BOOL copied = calls.readProcessMemory(process_, text_, text, kCellTextSize, &moved);
    text[kCellTextSize - 1] = '\0';
    if (!copied || moved != kCellTextSize) {
        text[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace executor
