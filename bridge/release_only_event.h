#pragma once
// The release-only key event: wheelpad's way of telling KeyBoardProc that the
// pendant link went down (receiver lost, pendant locked, program ending) and
// that a held jog must be let go, and nothing else be done. Shared by both
// sides; header-only, so ncbridge links nothing of wheelpad.
//
// It travels in wheelDelta with bit 8 set and the bits above it clear, a
// value no input report can produce (report byte 6 is 0 to 255) and no
// sign-extended wheel count either; keyWord carries the last knob bytes and
// no key.

namespace bridge_abi {

constexpr int kReleaseOnlyWheelDelta = 0x100;

inline bool isReleaseOnly(int wheelDelta) { return (wheelDelta & ~0xFF) == kReleaseOnlyWheelDelta; }

}  // namespace bridge_abi
