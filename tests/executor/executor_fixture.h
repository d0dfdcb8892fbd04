#pragma once
// A stand-in NcStudio bound to a fresh bridge, with the executor switched on,
// and the pendant events sent to KeyBoardProc in virtual time.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "executor/jog_control.h"
#include "tests/support/bridge_fixture.h"

namespace executor_testing {

using bridge::block;

// Codes of the pendant's knobs used by the tests.
constexpr BYTE kAxisX = 17, kAxisY = 18, kAxisZ = 19, kRate20Percent = 15;

// One message that reached a stand-in window: window, message, wParam, time.
using Delivery = std::tuple<HWND, UINT, WPARAM, DWORD>;
using Deliveries = std::vector<Delivery>;

inline Deliveries operator+(Deliveries first, const Deliveries& then) {
    for (const Delivery& d : then) first.push_back(d);
    return first;
}

// Key down at `time` and key up `held` ms later.
inline Deliveries keyPress(HWND window, WPARAM key, DWORD time, DWORD held = 0) {
    return {{window, WM_KEYDOWN, key, time}, {window, WM_KEYUP, key, time + held}};
}

inline Delivery click(HWND button, DWORD time) { return {button, BM_CLICK, 0, time}; }

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
        block().mapEnabled = 1;
        block().machineState = 0;  // idle
        // The jog buttons cached, as installhook and the step reader leave them.
        bridge::postCtrlChord('2');
        block().jogButtonsReady = 1;
        settle();
        forgetHistory();
    }

    void forgetHistory() {
        host.clearReceived();
        clock.clearSleeps();
    }

    // The executor's mode and the PcState NcStudio last reported.
    static void report(int hostMode, int pcState) {
        block().hostMode = hostMode;
        block().reportedPcState = pcState;
    }

    // Generation 2 with the feed button after "Current Command Set:", as the
    // location reader finds it.
    void generation2() {
        HWND panel = ncstudio.coordinatePanel(main);
        ncstudio.label(panel, "Current Command Set:");
        feedButton = ncstudio.button(panel, "F");
        block().hostGeneration = 2;
        block().feedButton = feedButton;
    }

    // Sends one event to KeyBoardProc and lets the stand-in handle what it
    // posted; returns KeyBoardProc's result.
    int event(int wheel, BYTE key1, BYTE key2 = 0, BYTE rateKnob = 0, BYTE axisKnob = 0) {
        const DWORD word = static_cast<DWORD>(key1 | key2 << 8 | rateKnob << 16) | static_cast<DWORD>(axisKnob) << 24;
        int result = KeyBoardProc(wheel, static_cast<int>(word));
        settle();
        return result;
    }

    // A report without a key: the key was let go, and the same key's next
    // report is a new press (a key held over several reports acts once).
    void release(BYTE axisKnob = 0) { event(0, 0, 0, 0, axisKnob); }

    // What reached the stand-in since the last forgetHistory(), without what
    // the stand-in's own message handling adds: the WM_CHAR its message loop
    // makes of a posted key, and the WM_COMMAND IDCANCEL with which a dialog
    // answers WM_CLOSE.
    Deliveries deliveries() const {
        Deliveries all;
        std::vector<HWND> closing;
        for (const standin::Received& r : host.received()) {
            if (r.message == WM_CHAR) continue;
            auto answered = std::find(closing.begin(), closing.end(), r.window);
            if (r.message == WM_COMMAND && r.wParam == IDCANCEL && answered != closing.end()) {
                closing.erase(answered);
                continue;
            }
            if (r.message == WM_CLOSE) closing.push_back(r.window);
            all.emplace_back(r.window, r.message, r.wParam, r.time);
        }
        return all;
    }

    // The manual page's button with this caption.
    HWND pageButton(const char* caption) const { return FindWindowExA(page, nullptr, nullptr, caption); }

    HWND jogButton(bridge::JogButton which) const { return block().jogButtons[which]; }

    // A direction button pressed and held.
    Delivery press(bridge::JogButton which, DWORD time) const {
        return {jogButton(which), WM_LBUTTONDOWN, MK_LBUTTON, time};
    }

    // A held jog let go: the axis's "+" button, then its "-" button.
    Deliveries letGo(bridge::JogButton plus, DWORD time) const {
        HWND minus = jogButton(static_cast<bridge::JogButton>(plus - 1));
        return {{jogButton(plus), WM_LBUTTONUP, MK_LBUTTON, time}, {minus, WM_LBUTTONUP, MK_LBUTTON, time}};
    }

    HWND main = nullptr;
    HWND page = nullptr;
    HWND feedButton = nullptr;
};

}  // namespace executor_testing
