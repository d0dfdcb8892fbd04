#pragma once
// The pendant's four-line display as a child window that looks like its
// small LCD. Its window text is what it shows: the four lines, each ended by
// a line feed, drawn as they are (code page 936 text included).
#include <windows.h>

namespace virtual_pendant {

// The window class; registered once.
const char* lcdViewClass(HINSTANCE instance);

}  // namespace virtual_pendant
