#pragma once
// Keys 2 (confirm) and 1 (cancel): answers whatever NcStudio window is in
// front: the "Jiggle" window, the back-to-reference dialog or a prompt.
namespace executor {

void confirmHostWindow();
void cancelHostWindow();

}  // namespace executor
