// The built ncbridge.dll loads and names its twelve exports.
#include <gtest/gtest.h>
#include <windows.h>

#include "bridge/exports.h"

TEST(NcBridgeDll, LoadsAndResolvesAllTwelveExportsByName) {
    HMODULE module = LoadLibraryA(bridge_abi::kLibraryName);
    ASSERT_NE(module, nullptr) << "error " << GetLastError();
    for (const char* name : bridge_abi::kExportNames)
        EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
    for (WORD ordinal = 1; ordinal <= 12; ++ordinal)
        EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(ordinal)),
                  GetProcAddress(module, bridge_abi::kExportNames[ordinal - 1]))
            << "ordinal " << ordinal;
    FreeLibrary(module);
}
