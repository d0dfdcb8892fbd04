// The stand-in NcStudio of the link benchmark in a process of its own, as
// NcStudio runs: the stand-in NcStudio program's windows and behaviour on a
// UI thread of their own, and a count of the messages that reach that thread
// from outside. Prints "main <handle> counter <handle>" and serves until its
// counter window gets WM_CLOSE.
#include <windows.h>

#include <cstdio>

#include "standin/ncstudio/host_thread.h"
#include "tests/bench/bench_ncstudio.h"
#include "tests/bench/message_counter.h"

int main() {
    standin::HostThread host;
    bench::BenchNcStudio ncstudio(host);
    HWND main = ncstudio.main();
    host.invoke(bench::countMessagesReachingThisThread);
    HWND counter = bench::createCounterWindow();
    std::printf("main %llu counter %llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(main)),
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(counter)));
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
