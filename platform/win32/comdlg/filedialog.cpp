// comdlg32 GetOpenFileNameA, GetSaveFileNameA and CommDlgExtendedError.
//
// No person sits at a headless system: the record goes to the presenter the
// host installed (WpSetFileDialogPresenter), or to the default one, which
// shows zenity where a display is. The presenter writes the choice into
// lpstrFile (WpSetFileDialogChoice writes the system's layout); this side
// checks the record first, runs the hook's WM_INITDIALOG, and afterwards
// fills in what the system dialog derives from the choice: nFileExtension,
// lpstrFileTitle and the current directory.
//
//   presenter answers     call returns   CommDlgExtendedError
//   IDOK                  TRUE           0
//   IDCANCEL              FALSE          0
//   a CDERR_/FNERR_ code  FALSE          that code
#include <windows.h>
#include <winport.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "win32/comdlg/comdlg.h"

namespace {

std::atomic<WpFileDialogPresenter> g_presenter{nullptr};
thread_local DWORD t_error = 0;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const char kDialogClass[] = "#32770";

// The hidden dialog (and, for an Explorer-style hook, its child) that a hook
// procedure is given; destroyed when the call ends.
class HookWindows {
public:
    explicit HookWindows(LPOPENFILENAMEA lpofn) {
        if ((lpofn->Flags & OFN_ENABLEHOOK) == 0) return;
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.lpszClassName = kDialogClass;
            return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        }();
        if (!registered) return;
        m_dialog = CreateWindowExA(0, kDialogClass, lpofn->lpstrTitle, WS_POPUP, 0, 0, 0, 0, lpofn->hwndOwner,
                                   NULL, NULL, NULL);
        HWND hookWindow = m_dialog;
        if (m_dialog != NULL && (lpofn->Flags & OFN_EXPLORER) != 0) {
            hookWindow = CreateWindowExA(0, kDialogClass, "", WS_CHILD, 0, 0, 0, 0, m_dialog, NULL, NULL, NULL);
        }
        if (hookWindow != NULL) lpofn->lpfnHook(hookWindow, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(lpofn));
    }
    ~HookWindows() {
        if (m_dialog != NULL) DestroyWindow(m_dialog);
    }
    HookWindows(const HookWindows&) = delete;
    HookWindows& operator=(const HookWindows&) = delete;

private:
    HWND m_dialog = NULL;
};

// What the system dialog derives from the choice in lpstrFile.
void CompleteChoice(LPOPENFILENAMEA lpofn) {
    const char* file = lpofn->lpstrFile;
    // An offset the presenter left outside the buffer, or past the end of a
    // single name, counts as no folder.
    const size_t length = strnlen(file, lpofn->nMaxFile);
    WORD offset = lpofn->nFileOffset < lpofn->nMaxFile ? lpofn->nFileOffset : 0;
    const char before = offset > 0 ? file[offset - 1] : 'x';
    const bool several = before == '\0' || (before == ' ' && (lpofn->Flags & OFN_EXPLORER) == 0);
    if (!several && offset > length) offset = 0;
    std::string folder;
    if (several) {
        lpofn->nFileExtension = 0;
        folder.assign(file, offset - 1);
    } else {
        const char* name = file + offset;
        const char* dot = std::strrchr(name, '.');
        lpofn->nFileExtension = static_cast<WORD>(dot != nullptr ? static_cast<size_t>(dot + 1 - file) : length);
        if (lpofn->lpstrFileTitle != nullptr && lpofn->nMaxFileTitle > 0) {
            const size_t n = std::min<size_t>(std::strlen(name), lpofn->nMaxFileTitle - 1);
            std::memcpy(lpofn->lpstrFileTitle, name, n);
            lpofn->lpstrFileTitle[n] = '\0';
        }
        folder.assign(file, offset);
    }
    if ((lpofn->Flags & OFN_NOCHANGEDIR) == 0 && !folder.empty()) {
        // The dialog leaves the folder it was in current, as on Windows;
        // a folder that went away meanwhile changes nothing.
        const DWORD error = GetLastError();
        SetCurrentDirectoryA(folder.c_str());
        SetLastError(error);
    }
}

BOOL RunFileDialog(BOOL bSave, LPOPENFILENAMEA lpofn) {
    t_error = 0;
    if (lpofn == nullptr) {
        t_error = CDERR_INITIALIZATION;
        return FALSE;
    }
    if (lpofn->lStructSize != sizeof(OPENFILENAMEA) && lpofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A) {
        t_error = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (lpofn->lpstrFile == nullptr || lpofn->nMaxFile == 0) {
        t_error = CDERR_INITIALIZATION;
        return FALSE;
    }
    if ((lpofn->Flags & OFN_ENABLEHOOK) != 0 && lpofn->lpfnHook == nullptr) {
        t_error = CDERR_NOHOOK;
        return FALSE;
    }
    int answer;
    {
        HookWindows hook(lpofn);
        const WpFileDialogPresenter presenter = g_presenter.load();
        answer = presenter != nullptr ? presenter(bSave, lpofn) : winport::PresentWithZenity(bSave, lpofn);
    }
    if (answer == IDOK) {
        CompleteChoice(lpofn);
        return TRUE;
    }
    if (answer != IDCANCEL) t_error = static_cast<DWORD>(answer);
    return FALSE;
}

// Where the names start in the several paths' common folder: the offset of
// the last separator that every path has at the same place before its own
// last separator, or npos when they share none.
size_t CommonFolderEnd(const LPCSTR* paths, int count) {
    const std::string_view first(paths[0]);
    size_t best = std::string_view::npos;
    for (size_t i = 0; i < first.size(); ++i) {
        if (!IsSeparator(first[i])) continue;
        bool shared = true;
        for (int k = 0; k < count && shared; ++k) {
            const std::string_view p(paths[k]);
            const size_t last = p.find_last_of("\\/");
            shared = last != std::string_view::npos && i <= last && p.compare(0, i, first, 0, i) == 0 &&
                     IsSeparator(p[i]);
        }
        if (!shared) break;
        best = i;
    }
    return best;
}

void WriteNeededSize(LPOPENFILENAMEA lpofn, size_t needed) {
    if (lpofn->nMaxFile < 2) return;
    const WORD size = static_cast<WORD>(needed > 0xFFFF ? 0xFFFF : needed);
    std::memcpy(lpofn->lpstrFile, &size, sizeof size);
}

}  // namespace

extern "C" {

WINPORT_API WpFileDialogPresenter WpSetFileDialogPresenter(WpFileDialogPresenter presenter) {
    return g_presenter.exchange(presenter);
}

WINPORT_API int WINAPI WpSetFileDialogChoice(LPOPENFILENAMEA lpofn, const LPCSTR* paths, int count) {
    if (lpofn == nullptr || lpofn->lpstrFile == nullptr || paths == nullptr || count <= 0) {
        return CDERR_INITIALIZATION;
    }
    for (int i = 0; i < count; ++i) {
        if (paths[i] == nullptr || paths[i][0] == '\0') return CDERR_INITIALIZATION;
    }
    if ((lpofn->Flags & OFN_ALLOWMULTISELECT) == 0 || count == 1) {
        const std::string_view path(paths[0]);
        if (path.size() + 1 > lpofn->nMaxFile) {
            WriteNeededSize(lpofn, path.size() + 1);
            return FNERR_BUFFERTOOSMALL;
        }
        std::memcpy(lpofn->lpstrFile, path.data(), path.size());
        lpofn->lpstrFile[path.size()] = '\0';
        const size_t slash = path.find_last_of("\\/");
        lpofn->nFileOffset = static_cast<WORD>(slash == std::string_view::npos ? 0 : slash + 1);
        return IDOK;
    }

    // The folder keeps its separator only where it is a root ("/", "D:\").
    std::string folder;
    size_t namesStart = 0;
    const size_t end = CommonFolderEnd(paths, count);
    if (end == std::string_view::npos) {
        char cwd[MAX_PATH];
        const DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
        if (n == 0 || n >= sizeof cwd) return CDERR_INITIALIZATION;
        folder = cwd;
    } else {
        folder.assign(paths[0], end);
        if (folder.empty() || folder.back() == ':') folder += paths[0][end];
        namesStart = end + 1;
    }
    const bool explorer = (lpofn->Flags & OFN_EXPLORER) != 0;
    std::string text = folder;
    for (int i = 0; i < count; ++i) {
        text += explorer ? '\0' : ' ';
        text += paths[i] + namesStart;
    }
    text += '\0';
    if (explorer) text += '\0';
    if (text.size() > lpofn->nMaxFile) {
        WriteNeededSize(lpofn, text.size());
        return FNERR_BUFFERTOOSMALL;
    }
    std::memcpy(lpofn->lpstrFile, text.data(), text.size());
    lpofn->nFileOffset = static_cast<WORD>(folder.size() + 1);
    return IDOK;
}

WINPORT_API BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
    return RunFileDialog(FALSE, lpofn);
}

WINPORT_API BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA lpofn) {
    return RunFileDialog(TRUE, lpofn);
}

WINPORT_API DWORD WINAPI CommDlgExtendedError(void) {
    return t_error;
}

}  // extern "C"
