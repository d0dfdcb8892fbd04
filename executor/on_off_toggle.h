#pragma once
// Key 10: clicks the ON/OFF button of NcStudio's coordinate panel.
namespace executor {

// Looks for the button by the caption it should show now. The status reader
// last saw "ON" or "OFF" (onOffShown); clicks made since (onOffPending) tell
// which caption the button has turned to meanwhile.
void toggleOnOff();

}  // namespace executor
