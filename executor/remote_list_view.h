#pragma once
// Reading the texts of a list view that belongs to another process (NcStudio's
// parameters window): LVM_GETITEMTEXTA needs its item record and text buffer
// in the list view's own process, so both are allocated there, the record is
// copied over, and the text copied back.
#include <windows.h>

namespace executor {

// The process-memory calls of kernel32 that the read uses; tests replace them
// to make each step fail.
struct ProcessMemoryCalls {
    HANDLE(WINAPI* openProcess)(DWORD access, BOOL inherit, DWORD processId);
    LPVOID(WINAPI* virtualAllocEx)(HANDLE process, LPVOID address, SIZE_T size, DWORD type, DWORD protect);
    BOOL(WINAPI* virtualFreeEx)(HANDLE process, LPVOID address, SIZE_T size, DWORD type);
    BOOL(WINAPI* writeProcessMemory)(HANDLE process, LPVOID to, LPCVOID from, SIZE_T size, SIZE_T* written);
    BOOL(WINAPI* readProcessMemory)(HANDLE process, LPCVOID from, LPVOID to, SIZE_T size, SIZE_T* read);
    BOOL(WINAPI* closeHandle)(HANDLE handle);
};

// The calls in use: kernel32's own unless a test replaced them.
ProcessMemoryCalls& processMemoryCalls();

constexpr int kCellTextSize = 64;

// The list view's process opened and the record and text blocks allocated in
// it for the lifetime of the object; everything is freed and closed again on
// destruction, whichever step failed.
class RemoteListView {
public:
    explicit RemoteListView(HWND listView);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    // The process is open and both blocks are allocated.
    bool ready() const { return record_ && text_; }

    // Reads the text of one cell into `text`, always NUL-terminated. False
    // when a copy between the processes failed (`text` is then empty); a cell
    // the list view has no text for gives true and an empty text.
    bool cellText(int row, int column, char (&text)[kCellTextSize]);

private:
    HWND listView_;
    HANDLE process_ = nullptr;
    LPVOID record_ = nullptr;
    LPVOID text_ = nullptr;
};

}  // namespace executor
