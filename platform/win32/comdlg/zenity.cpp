// The default file dialog presenter: zenity's file selection.
//
// Shown only where a person can see it: DISPLAY or WAYLAND_DISPLAY set and a
// zenity executable on PATH; anywhere else the dialog is cancelled at once,
// as a program without a display must not wait. The record maps onto zenity
// like this:
//
//   record                          zenity
//   GetSaveFileNameA                --save
//   OFN_OVERWRITEPROMPT (save)      --confirm-overwrite
//   OFN_ALLOWMULTISELECT (open)     --multiple --separator=<newline>
//   lpstrTitle                      --title=TEXT
//   lpstrInitialDir, lpstrFile      --filename=FOLDER/NAME: the proposed name's
//                                   own folder wins; a folder alone ends in '/'
//   lpstrFilter "Text\0*.txt;*.log\0"  --file-filter=Text | *.txt *.log, the
//                                   filter nFilterIndex names first (zenity
//                                   selects the first); "*.*" becomes "*",
//                                   which POSIX names need to match a name
//                                   without a dot
//
// zenity prints the chosen paths (one per line with --multiple) and exits
// with 0; any other exit is a cancel. A saved name without an extension gets
// lpstrDefExt, as the system dialog adds it.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <winport.h>

#include "win32/comdlg/comdlg.h"
#include "win32/paths.h"

extern char** environ;

namespace winport {
namespace {

bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

// The zenity that PATH names, or "".
std::string FindZenity() {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return std::string();
    std::string rest(path);
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(':', start);
        if (end == std::string::npos) end = rest.size();
        const std::string folder = end > start ? rest.substr(start, end - start) : ".";
        const std::string candidate = folder + "/zenity";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::string();
}

// The filter pairs of lpstrFilter, each as zenity's "Name | pat pat".
std::vector<std::string> FileFilters(const OPENFILENAMEA& ofn) {
    std::vector<std::string> filters;
    if (ofn.lpstrFilter == nullptr) return filters;
    for (const char* p = ofn.lpstrFilter; *p != '\0';) {
        const std::string name(p);
        p += name.size() + 1;
        const std::string patterns(p);
        p += patterns.size() + 1;
        std::string filter = name + " |";
        size_t start = 0;
        while (start <= patterns.size()) {
            size_t end = patterns.find(';', start);
            if (end == std::string::npos) end = patterns.size();
            std::string one = patterns.substr(start, end - start);
            if (one == "*.*") one = "*";
            if (!one.empty()) filter += " " + one;
            start = end + 1;
        }
        filters.push_back(filter);
        if (patterns.empty()) break;
    }
    const DWORD index = ofn.nFilterIndex;
    if (index > 1 && index <= filters.size()) {
        const std::string chosen = filters[index - 1];
        filters.erase(filters.begin() + (index - 1));
        filters.insert(filters.begin(), chosen);
    }
    return filters;
}

// What --filename gets: "" when the record proposes neither folder nor name.
std::string ProposedFilename(const OPENFILENAMEA& ofn) {
    const std::string file = ofn.lpstrFile != nullptr ? ToPosixPath(ofn.lpstrFile) : std::string();
    if (file.find('/') != std::string::npos) return file;
    std::string folder = ofn.lpstrInitialDir != nullptr ? ToPosixPath(ofn.lpstrInitialDir) : std::string();
    if (folder.empty()) return file;
    if (folder.back() != '/') folder += '/';
    return folder + file;
}

int RunZenity(const std::string& program, const std::vector<std::string>& args, std::string& output) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return -1;
    }
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n > 0) {
            output.append(buf, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::vector<std::string> ZenityArguments(BOOL bSave, const OPENFILENAMEA& ofn) {
    std::vector<std::string> args = {"zenity", "--file-selection"};
    if (bSave) {
        args.emplace_back("--save");
        if ((ofn.Flags & OFN_OVERWRITEPROMPT) != 0) args.emplace_back("--confirm-overwrite");
    } else if ((ofn.Flags & OFN_ALLOWMULTISELECT) != 0) {
        args.emplace_back("--multiple");
        args.emplace_back("--separator=\n");
    }
    if (ofn.lpstrTitle != nullptr && *ofn.lpstrTitle != '\0') args.push_back(std::string("--title=") + ofn.lpstrTitle);
    const std::string filename = ProposedFilename(ofn);
    if (!filename.empty()) args.push_back("--filename=" + filename);
    for (const std::string& filter : FileFilters(ofn)) args.push_back("--file-filter=" + filter);
    return args;
}

int PresentWithZenity(BOOL bSave, LPOPENFILENAMEA lpofn) {
    if (!HasDisplay()) return IDCANCEL;
    const std::string program = FindZenity();
    if (program.empty()) return IDCANCEL;
    std::string output;
    if (RunZenity(program, ZenityArguments(bSave, *lpofn), output) != 0) return IDCANCEL;

    std::vector<std::string> paths;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        if (end > start) paths.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    if (paths.empty()) return IDCANCEL;
    if (bSave && lpofn->lpstrDefExt != nullptr && *lpofn->lpstrDefExt != '\0') {
        std::string& path = paths.front();
        if (path.find('.', NameOffset(path)) == std::string::npos) path += std::string(".") + lpofn->lpstrDefExt;
    }
    std::vector<LPCSTR> pointers;
    for (const std::string& p : paths) pointers.push_back(p.c_str());
    return WpSetFileDialogChoice(lpofn, pointers.data(), static_cast<int>(pointers.size()));
}

}  // namespace winport
