#pragma once
// A stand-in NcStudio bound to a fresh bridge, with the executor switched on,
// and the pendant events sent to KeyBoardProc in virtual time.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "executor/jog_control.h"
#include "tests/support/bridge_fixture.h"

namespace executor_testing {

// Codes of the pendant's knobs used by the tests.
constexpr BYTE kNoAxis = 0;
constexpr BYTE kAxisX = 17;
constexpr BYTE kAxisY = 18;
constexpr BYTE kAxisZ = 19;
constexpr BYTE kRate20Percent = 15;

// The key word of an event: key1, key2, rate knob and axis knob.
inline int keyWord(BYTE key1, BYTE key2, BYTE rateKnob, BYTE axisKnob) {
    return static_cast<int>(static_cast<DWORD>(key1) | static_cast<DWORD>(key2) << 8 |
                            static_cast<DWORD>(rateKnob) << 16 | static_cast<DWORD>(axisKnob) << 24);
}

// One message that reached a stand-in window, as the tests compare it.
struct Delivery {
    HWND window;
    UINT message;
    WPARAM wParam;
    DWORD time;

    bool operator==(const Delivery& other) const {
        return window == other.window && message == other.message && wParam == other.wParam &&
               time == other.time;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Delivery& d) {
    return out << "{window " << d.window << ", message 0x" << std::hex << d.message << ", wParam 0x"
               << d.wParam << std::dec << ", at " << d.time << "}";
}

class ExecutorFixture : public testing_support::BridgeFixture {
protected:
    void SetUp() override {
        BridgeFixture::SetUp();
        executor::lastAxisSeen = 0;
        main = ncstudio.mainWindow();
        page = ncstudio.manualPage(main);
        ncstudio.standardManualButtons(page, standin::StepCaptions::Selection, 0);
        bindTo(main);
        attachToHost();
        bridge::block().mapEnabled = 1;
        bridge::block().machineState = 0;  // idle
        // The jog buttons cached, as installhook and the step reader leave them.
        bridge::postCtrlChord('2');
        bridge::block().jogButtonsReady = 1;
        settle();
        forgetHistory();
    }

    void forgetHistory() {
        host.clearReceived();
        clock.clearSleeps();
    }

    // Sends one event to KeyBoardProc and lets the stand-in handle what it
    // posted; returns KeyBoardProc's result.
    int event(int wheel, BYTE key1, BYTE key2 = 0, BYTE rateKnob = 0, BYTE axisKnob = kNoAxis) {
        int result = KeyBoardProc(wheel, keyWord(key1, key2, rateKnob, axisKnob));
        settle();
        return result;
    }

    // What reached the stand-in since the last forgetHistory(), without what
    // the stand-in's own message handling adds: the WM_CHAR its message loop
    // makes of a posted key, and the WM_COMMAND IDCANCEL with which a dialog
    // answers WM_CLOSE.
    std::vector<Delivery> deliveries() const {
        std::vector<Delivery> all;
        std::vector<HWND> closing;
        for (const standin::Received& r : host.received()) {
            if (r.message == WM_CHAR) continue;
            auto answered = std::find(closing.begin(), closing.end(), r.window);
            if (r.message == WM_COMMAND && r.wParam == IDCANCEL && answered != closing.end()) {
                closing.erase(answered);
                continue;
            }
            if (r.message == WM_CLOSE) closing.push_back(r.window);
            all.push_back({r.window, r.message, r.wParam, r.time});
        }
        return all;
    }

    // The manual page's button with this caption.
    HWND pageButton(const char* caption) const { return FindWindowExA(page, nullptr, nullptr, caption); }

    HWND jogButton(bridge::JogButton which) const { return bridge::block().jogButtons[which]; }

    HWND main = nullptr;
    HWND page = nullptr;
};

}  // namespace executor_testing
