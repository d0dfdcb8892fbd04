#include "platform/support_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

// What the program publishes to the process's other modules: the level and
// the line sink. Every module's copy of this unit reads the same one.
struct LogSink {
    volatile LONG level = static_cast<LONG>(LogLevel::Off);
    void (*write)(const char* event) = nullptr;
};

constexpr int kEventLimit = 480;
constexpr int kLineLimit = 560;
// Lines waiting for the writer; past this they are counted and dropped (the
// disk is stuck) rather than held in memory without bound.
constexpr std::size_t kPendingLimit = 256 * 1024;
// An unwritable log is tried again at most this often. The writer's own
// pace: real time even under a test clock.
constexpr DWORD kReopenPauseMs = 10000;
// A library's copy that finds no published log looks again at this many
// lines, never on every line.
constexpr LONG kLookupSpacing = 256;

class LogWriter {
public:
    LogWriter() {
        InitializeCriticalSection(&lock_);
        wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }

    void open(const std::string& path) {
        path_ = path;
        stop_ = 0;
        lastOpenTry_ = GetTickCount() - kReopenPauseMs;
        thread_ = CreateThread(nullptr, 0, writerMain, this, 0, nullptr);
    }

    void close() {
        if (!thread_) return;
        EnterCriticalSection(&lock_);
        stop_ = 1;
        LeaveCriticalSection(&lock_);
        SetEvent(wake_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

    void append(const char* line, std::size_t length) {
        EnterCriticalSection(&lock_);
        const bool wasEmpty = pending_.empty();
        if (pending_.size() + length > kPendingLimit) {
            ++dropped_;
        } else {
            pending_.append(line, length);
        }
        LeaveCriticalSection(&lock_);
        if (wasEmpty) SetEvent(wake_);
    }

private:
    static DWORD WINAPI writerMain(LPVOID self) {
        static_cast<LogWriter*>(self)->run();
        return 0;
    }

    void run() {
        std::string batch;
        for (;;) {
            WaitForSingleObject(wake_, INFINITE);
            EnterCriticalSection(&lock_);
            batch.swap(pending_);
            const DWORD dropped = dropped_;
            dropped_ = 0;
            const bool stopping = stop_ != 0;
            LeaveCriticalSection(&lock_);
            if (dropped) {
                char note[96];
                std::snprintf(note, sizeof note, "(%lu lines lost: the disk did not keep up)\r\n",
                              static_cast<unsigned long>(dropped));
                batch += note;
            }
            writeOut(batch);
            batch.clear();
            if (stopping) return;
        }
    }

    void writeOut(const std::string& batch) {
        if (batch.empty()) return;
        if (file_ == INVALID_HANDLE_VALUE && !openFile(OPEN_ALWAYS)) return;
        if (fileSize_ > 0 && fileSize_ + batch.size() > kLogCapBytes) startNewFile();
        if (file_ == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        if (!WriteFile(file_, batch.data(), static_cast<DWORD>(batch.size()), &written, nullptr)) {
            CloseHandle(file_);
            file_ = INVALID_HANDLE_VALUE;
            return;
        }
        fileSize_ += written;
    }

    bool openFile(DWORD disposition) {
        const DWORD now = GetTickCount();
        if (now - lastOpenTry_ < kReopenPauseMs) return false;
        lastOpenTry_ = now;
        file_ = CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) return false;
        const DWORD size = GetFileSize(file_, nullptr);
        fileSize_ = size == INVALID_FILE_SIZE ? 0 : size;
        return true;
    }

    // The full file becomes the older one (replacing it); when it cannot be
    // moved it is emptied, so that the log stays bounded either way.
    void startNewFile() {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        const std::string older = path_ + ".1";
        const bool moved = MoveFileExA(path_.c_str(), older.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        lastOpenTry_ = GetTickCount() - kReopenPauseMs;
        openFile(moved ? OPEN_ALWAYS : CREATE_ALWAYS);
    }

    CRITICAL_SECTION lock_;
    HANDLE wake_;
    HANDLE thread_ = nullptr;
    std::string pending_;
    DWORD dropped_ = 0;
    int stop_ = 0;
    // The writer thread's own.
    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    DWORD fileSize_ = 0;
    DWORD lastOpenTry_ = 0;
};

// The program's side: the sink it publishes and the writer behind it.
LogSink ownSink;
volatile bool published = false;
std::mutex openLock;

LogWriter& writer() {
    static LogWriter theWriter;
    return theWriter;
}

thread_local char threadName[16] = "";

void acceptLine(const char* event) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char id[16];
    const char* name = threadName;
    if (!name[0]) {
        std::snprintf(id, sizeof id, "%lu", static_cast<unsigned long>(GetCurrentThreadId()));
        name = id;
    }
    char line[kLineLimit];
    const int length = std::snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u.%03u %-7s %s\r\n",
                                     now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                                     now.wSecond, now.wMilliseconds, name, event);
    if (length <= 0) return;
    std::size_t kept = static_cast<std::size_t>(length);
    if (kept >= sizeof line) {
        // A long event is cut, its line still ended.
        kept = sizeof line - 1;
        line[kept - 2] = '\r';
        line[kept - 1] = '\n';
    }
    writer().append(line, kept);
}

std::string publishedName() {
    char name[64];
    std::snprintf(name, sizeof name, "wheelpad-log-%lu", static_cast<unsigned long>(GetCurrentProcessId()));
    return name;
}

// The mapping stays for the life of the process, as does the sink it names.
void publish() {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(LogSink*), publishedName().c_str());
    if (!mapping) return;
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LogSink*));
    if (!view) return;
    *static_cast<LogSink**>(view) = &ownSink;
    UnmapViewOfFile(view);
    published = true;
}

LogSink* findPublished() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, publishedName().c_str());
    if (!mapping) return nullptr;
    LogSink* found = nullptr;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(LogSink*))) {
        found = *static_cast<LogSink* const*>(view);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return found;
}

LogSink* currentSink() {
    if (published) return &ownSink;
    static LogSink* volatile found = nullptr;
    static volatile LONG misses = 0;
    if (!found && InterlockedIncrement(&misses) % kLookupSpacing == 1) found = findPublished();
    return found;
}

void writeAt(LogLevel level, const char* format, va_list arguments) {
    LogSink* sink = currentSink();
    if (!sink || sink->level < static_cast<LONG>(level)) return;
    char text[kEventLimit];
    std::vsnprintf(text, sizeof text, format, arguments);
    sink->write(text);
}

}  // namespace

void openSupportLog(const std::string& path, LogLevel level) {
    std::lock_guard<std::mutex> guard(openLock);
    if (level == LogLevel::Off || ownSink.level != static_cast<LONG>(LogLevel::Off)) return;
    ownSink.write = acceptLine;
    writer().open(path);
    InterlockedExchange(&ownSink.level, static_cast<LONG>(level));
    if (!published) publish();
}

void closeSupportLog() {
    std::lock_guard<std::mutex> guard(openLock);
    InterlockedExchange(&ownSink.level, static_cast<LONG>(LogLevel::Off));
    writer().close();
}

void nameLogThread(const char* name) { std::snprintf(threadName, sizeof threadName, "%s", name); }

bool logWanted(LogLevel level) {
    const LogSink* sink = currentSink();
    return sink && sink->level >= static_cast<LONG>(level);
}

void logEvent(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    writeAt(LogLevel::Events, format, arguments);
    va_end(arguments);
}

void logAt(LogLevel level, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    writeAt(level, format, arguments);
    va_end(arguments);
}

void logEventOnChange(LogChange& change, const char* format, ...) {
    if (!logWanted(LogLevel::Events)) return;
    char text[sizeof change.last];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (std::strcmp(text, change.last) == 0) return;
    std::memcpy(change.last, text, sizeof text);
    logEvent("%s", text);
}

std::string errorText(DWORD code) {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, sizeof text, nullptr);
    std::string result = std::to_string(code);
    std::string meaning(text, length);
    while (!meaning.empty() && (meaning.back() == '\r' || meaning.back() == '\n' || meaning.back() == ' '))
        meaning.pop_back();
    if (!meaning.empty()) result += " (" + meaning + ")";
    return result;
}

}  // namespace platform
