// The support log: the program's lines and ncbridge.dll's in one file, kept
// to about a megabyte plus one older file, and a file that cannot be written
// costing nothing but the lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/support_log.h"

namespace {

std::string tempFolder() {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return folder;
}

std::string contentOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A whole number of lines, each stamped with date and time to the millisecond.
bool wholeLines(const std::string& text) {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return false;
    for (size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2)
        if (text.compare(at, 2, "20") != 0 || text[at + 10] != ' ' || text[at + 19] != '.') return false;
    return true;
}

TEST(SupportLog, ProgramAndLibraryWriteOneFileThatStaysBounded) {
    const std::string path = tempFolder() + "support_log_test.log";
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".1").c_str());
    platform::openSupportLog(path, platform::LogLevel::Events);
    platform::nameLogThread("main");
    platform::logEvent("wheelpad's line");
    // ncbridge.dll, loaded after the log opened, writes into it on the
    // calling thread's name.
    HMODULE bridge = LoadLibraryA("ncbridge.dll");
    ASSERT_NE(bridge, nullptr);
    auto setVer = reinterpret_cast<int(WINAPI*)(int)>(reinterpret_cast<void (*)()>(GetProcAddress(bridge, "SetVer")));
    ASSERT_NE(setVer, nullptr);
    setVer(1);
    platform::closeSupportLog();
    const std::string first = contentOf(path);
    EXPECT_TRUE(wholeLines(first)) << first;
    const size_t ours = first.find(" main    wheelpad's line\r\n");
    const size_t library = first.find(" main    SetVer 1: NcStudio of generation 2\r\n");
    ASSERT_NE(ours, std::string::npos) << first;
    ASSERT_NE(library, std::string::npos) << first;
    EXPECT_LT(ours, library);

    // 2.5 MB of lines (paced as a busy program would write them): the log and
    // its older file, each at most the cap, the newest lines in the log.
    platform::openSupportLog(path, platform::LogLevel::Events);
    const std::string filler(80, 'x');
    for (int line = 0; line < 25000; ++line) {
        platform::logEvent("line %05d %s", line, filler.c_str());
        if (line % 100 == 0) Sleep(1);
    }
    platform::closeSupportLog();
    const std::string newest = contentOf(path);
    const std::string older = contentOf(path + ".1");
    EXPECT_LE(newest.size(), platform::kLogCapBytes);
    EXPECT_LE(older.size(), platform::kLogCapBytes);
    EXPECT_GT(older.size(), platform::kLogCapBytes * 9 / 10);
    EXPECT_TRUE(wholeLines(newest) && wholeLines(older));
    EXPECT_NE(newest.find("line 24999 "), std::string::npos);
    EXPECT_EQ(newest.find("lines lost"), std::string::npos);
    EXPECT_EQ((newest + older).find("wheelpad's line"), std::string::npos) << "only one older file is kept";
    FreeLibrary(bridge);
}

TEST(SupportLog, AFolderThatCannotBeWrittenCostsNothingButTheLog) {
    const std::string path = tempFolder() + "no such folder\\wheelpad.log";
    platform::openSupportLog(path, platform::LogLevel::Events);
    const auto start = std::chrono::steady_clock::now();
    for (int line = 0; line < 5000; ++line) platform::logEvent("line %05d of a log nobody keeps", line);
    const auto lines = std::chrono::steady_clock::now() - start;
    platform::closeSupportLog();
    const auto closed = std::chrono::steady_clock::now() - start - lines;
    const double microsPerLine = std::chrono::duration<double, std::micro>(lines).count() / 5000;
    const double closeMs = std::chrono::duration<double, std::milli>(closed).count();
    EXPECT_LT(microsPerLine, 50.0);
    EXPECT_LT(closeMs, 500.0);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
