// Log and TQLogSetSink: one formatted line per call, to the log file and the sink.
#include <windows.h>

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <mutex>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "TQLog.h"

namespace {

// The sink and the locks of the process. Sink calls run under their lock, so
// once TQLogSetSink returns no call of the replaced sink is still in progress
// and a sink never runs twice at once; that lock is recursive because a sink
// may itself log or swap the sink. Threads take turns at the file under the
// other lock: an append is not atomic on every file system (NFS), nor under
// Wine, and between processes the system's append is all there is. Leaked on
// purpose: static destructors of client libraries still log after this
// library's own would have run.
struct LogState {
    std::recursive_mutex sinkLock;
    TQLogSinkProc proc = NULL;
    void* context = NULL;
    std::mutex fileLock;
};

LogState& State() {
    static LogState* state = new LogState;
    return *state;
}

// $TQLOG_FILE as it is now, read on every call so that a host (or a test) can
// point the log elsewhere at any time. Empty when unset.
std::string LogFilePath() {
    char small[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("TQLOG_FILE", small, sizeof small);
    if (n < sizeof small)
        return std::string(small, n);
    // Too small: n is the size the value needs, its terminator included. The
    // variable can change between the two calls, hence the loop.
    std::string value;
    while (n >= value.size() + 1) {
        value.resize(n);
        n = GetEnvironmentVariableA("TQLOG_FILE", value.data(), n);
    }
    value.resize(n);
    return value;
}

// The printf expansion, however long it gets. A format the C library rejects
// (vsnprintf < 0) is logged as its own text rather than dropped.
std::string FormatText(const char* format, va_list args) {
    if (format == NULL)
        return std::string();
    char small[512];
    va_list again;
    va_copy(again, args);
    const int n = vsnprintf(small, sizeof small, format, args);
    std::string text;
    if (n < 0) {
        text = format;
    } else if (static_cast<size_t>(n) < sizeof small) {
        text.assign(small, static_cast<size_t>(n));
    } else {
        text.resize(static_cast<size_t>(n) + 1);
        vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<size_t>(n));
    }
    va_end(again);
    return text;
}

// A field of the file's line may hold no tab (the field separator) and no line
// break (the record separator); the sink still gets the text untouched.
void AppendField(std::string& line, const char* field) {
    for (const char* p = field; *p; ++p)
        line += (*p == '\t' || *p == '\r' || *p == '\n') ? ' ' : *p;
}

// "YYYY-MM-DD HH:MM:SS.mmm<TAB>pid<TAB>tid<TAB>category<TAB>text\n".
// The line ends in a bare "\n" in both builds: the file is written as bytes,
// so one log format serves every reader, and grep or tail on either system
// need no carriage-return handling.
std::string FileLine(const char* category, const std::string& text) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char head[96];
    snprintf(head, sizeof head, "%04u-%02u-%02u %02u:%02u:%02u.%03u\t%lu\t%lu\t",
             static_cast<unsigned>(st.wYear), static_cast<unsigned>(st.wMonth),
             static_cast<unsigned>(st.wDay), static_cast<unsigned>(st.wHour),
             static_cast<unsigned>(st.wMinute), static_cast<unsigned>(st.wSecond),
             static_cast<unsigned>(st.wMilliseconds),
             static_cast<unsigned long>(GetCurrentProcessId()),
             static_cast<unsigned long>(GetCurrentThreadId()));
    std::string line;
    line.reserve(strlen(head) + strlen(category) + text.size() + 2);
    line += head;
    AppendField(line, category);
    line += '\t';
    AppendField(line, text.c_str());
    line += '\n';
    return line;
}

// One write per line, opened and closed around it, so that processes sharing
// the file never interleave inside a line and a moved or deleted log file is
// simply created again.
void AppendToFile(const std::string& path, const std::string& line) {
#ifdef _WIN32
    // FILE_APPEND_DATA without FILE_WRITE_DATA: the system positions every
    // write at the end of the file, atomically with respect to other writers.
    HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, NULL);
    CloseHandle(h);
#else
    // O_APPEND, one write() per line: a buffered stream would split a line
    // longer than its buffer into several writes that another process could
    // land between. The open does not wait (a FIFO without a reader fails at
    // once), and only a regular file or a character device (a terminal,
    // /dev/null) is written: a FIFO or socket could block the caller on its
    // reader, so a line for one goes to the sink only.
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISCHR(st.st_mode))) {
        const ssize_t n = write(fd, line.data(), line.size());
        (void)n;  // a failed write costs the file its line, nothing more
    }
    close(fd);
#endif
}

// Logging is invisible to its caller: a caller that logs a failure and then
// reads GetLastError or errno must still see its own failure's code.
class ErrorStateKeeper {
public:
    ErrorStateKeeper() : m_dwLastError(GetLastError()), m_errno(errno) {}
    ~ErrorStateKeeper() {
        SetLastError(m_dwLastError);
        errno = m_errno;
    }
    ErrorStateKeeper(const ErrorStateKeeper&) = delete;
    ErrorStateKeeper& operator=(const ErrorStateKeeper&) = delete;

private:
    DWORD m_dwLastError;
    int m_errno;
};

}  // namespace

extern "C" void Log(const char* category, const char* format, ...) {
    ErrorStateKeeper keep;
    // Nothing may escape: Log runs in destructors and catch blocks, and an
    // exception leaving it while another unwinds would end the process.
    try {
        if (category == NULL)
            category = "";
        va_list args;
        va_start(args, format);
        std::string text;
        try {
            text = FormatText(format, args);
        } catch (...) {
            va_end(args);
            throw;
        }
        va_end(args);

        // The file first: a sink that throws must not cost the file its line.
        try {
            const std::string path = LogFilePath();
            if (!path.empty()) {
                const std::string line = FileLine(category, text);
                std::lock_guard<std::mutex> guard(State().fileLock);
                AppendToFile(path, line);
            }
        } catch (...) {
        }

        LogState& state = State();
        std::lock_guard<std::recursive_mutex> guard(state.sinkLock);
        if (state.proc != NULL)
            state.proc(state.context, category, text.c_str());
    } catch (...) {
    }
}

extern "C" TQLogSinkProc TQLogSetSink(TQLogSinkProc proc, void* context) {
    try {
        LogState& state = State();
        std::lock_guard<std::recursive_mutex> guard(state.sinkLock);
        const TQLogSinkProc previous = state.proc;
        state.proc = proc;
        state.context = proc != NULL ? context : NULL;
        return previous;
    } catch (...) {
        // Only a failing lock gets here; the sink stays as it was.
        return NULL;
    }
}
