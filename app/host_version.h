#pragma once
// NcStudio's version, read from the version resource of its executable
// (hostExePath): product major version 5 is generation 1, any other
// generation 2.

namespace app {

// Sets verFlag (0 for major version 5, else 1) and aboutText ("...->Ncstudio
// V" and the major version) and returns true; false, changing nothing, when
// the path is empty or the file has no readable version resource.
bool readHostVersion();

}  // namespace app
