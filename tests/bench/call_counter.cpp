#include "tests/bench/call_counter.h"

#include <chrono>
#include <cstring>

namespace bench {
namespace {

struct Counted {
    const char* name;
    void* wrapper;
    void** original;
    long calls;
};

template <int Index, typename Function>
struct Wrapper;

Counted& counted(int index);

// A wrapper with the signature of the function it stands for: counts the call
// and hands it on to the original.
template <int Index, typename R, typename... Args>
struct Wrapper<Index, R(WINAPI*)(Args...)> {
    static inline R(WINAPI* original)(Args...) = nullptr;
    static R WINAPI call(Args... args) {
        ++counted(Index).calls;
        return original(args...);
    }
};

#define COUNTED(index, name)                                                                    \
    Counted {                                                                                   \
        #name, reinterpret_cast<void*>(&Wrapper<index, decltype(&::name)>::call),               \
            reinterpret_cast<void**>(&Wrapper<index, decltype(&::name)>::original), 0           \
    }

Counted table[] = {
    COUNTED(0, CallNextHookEx),  COUNTED(1, FindWindowA),        COUNTED(2, FindWindowExA),
    COUNTED(3, GetClassNameA),   COUNTED(4, GetDlgItem),         COUNTED(5, GetForegroundWindow),
    COUNTED(6, GetKeyboardState), COUNTED(7, GetWindow),         COUNTED(8, GetWindowTextA),
    COUNTED(9, IsWindow),        COUNTED(10, IsWindowEnabled),   COUNTED(11, MapVirtualKeyA),
    COUNTED(12, PostMessageA),   COUNTED(13, SendMessageA),      COUNTED(14, SetKeyboardState),
    COUNTED(15, GetAncestor),    COUNTED(16, GetDlgCtrlID),      COUNTED(17, GetWindowLongA),
    COUNTED(18, GetParent),       COUNTED(19, GetWindowThreadProcessId), COUNTED(20, ShowWindow),
};

Counted& counted(int index) { return table[index]; }

using Clock = std::chrono::steady_clock;
void(WINAPI* originalSleep)(DWORD) = nullptr;
long sleeps = 0;
double sleptMs = 0;

void WINAPI countedSleep(DWORD ms) {
    const auto start = Clock::now();
    originalSleep(ms);
    ++sleeps;
    sleptMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void patch(ULONG_PTR& slot, void* wrapper, void** original) {
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
    *original = reinterpret_cast<void*>(slot);
    slot = reinterpret_cast<ULONG_PTR>(wrapper);
    VirtualProtect(&slot, sizeof slot, protection, &protection);
}

}  // namespace

long CallCounts::user32Calls() const {
    long total = 0;
    for (const auto& entry : user32) total += entry.second;
    return total;
}

CallCounts CallCounts::since(const CallCounts& earlier) const {
    CallCounts difference = *this;
    for (auto& entry : difference.user32) {
        auto before = earlier.user32.find(entry.first);
        if (before != earlier.user32.end()) entry.second -= before->second;
    }
    difference.sleeps -= earlier.sleeps;
    difference.sleptMs -= earlier.sleptMs;
    return difference;
}

std::vector<std::string> countCallsOf(HMODULE module) {
    std::vector<std::string> uncounted;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name; ++library) {
        const char* libraryName = reinterpret_cast<const char*>(base + library->Name);
        const bool user32 = lstrcmpiA(libraryName, "user32.dll") == 0;
        const bool kernel32 = lstrcmpiA(libraryName, "kernel32.dll") == 0;
        if (!user32 && !kernel32) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* name = reinterpret_cast<const char*>(byName->Name);
            if (kernel32) {
                if (std::strcmp(name, "Sleep") == 0)
                    patch(slots->u1.Function, reinterpret_cast<void*>(&countedSleep),
                          reinterpret_cast<void**>(&originalSleep));
                continue;
            }
            bool found = false;
            for (Counted& entry : table) {
                if (std::strcmp(entry.name, name) != 0) continue;
                patch(slots->u1.Function, entry.wrapper, entry.original);
                found = true;
            }
            if (!found) uncounted.push_back(name);
        }
    }
    return uncounted;
}

CallCounts callCounts() {
    CallCounts counts;
    for (const Counted& entry : table) counts.user32[entry.name] = entry.calls;
    counts.sleeps = sleeps;
    counts.sleptMs = sleptMs;
    return counts;
}

}  // namespace bench
