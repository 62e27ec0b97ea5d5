// user32 MessageBoxA. Nobody sits at a headless POSIX system, so the box is
// answered by the presenter the host program installed
// (WpSetMessageBoxPresenter), or else written to standard error and answered
// with its default button, as a user pressing Enter would answer it.
//
// The owner window is passed on unchecked; a style whose button set is not
// one of the seven fails with 0 and ERROR_INVALID_MSGBOX_STYLE before any
// presenter is asked.
#include <windows.h>
#include <winport.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<WpMessageBoxPresenter> g_presenter{nullptr};

struct Button {
    int id;
    const char* label;
};

// The buttons of each MB_TYPEMASK value, left to right.
constexpr Button kButtons[][3] = {
    {{IDOK, "OK"}, {0, nullptr}, {0, nullptr}},
    {{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {0, nullptr}},
    {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}},
    {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}},
    {{IDYES, "Yes"}, {IDNO, "No"}, {0, nullptr}},
    {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}, {0, nullptr}},
    {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "Try Again"}, {IDCONTINUE, "Continue"}},
};

// The default: the box on standard error, answered with the default button
// (MB_DEFBUTTONn, the first one when n is past the last button; a Help
// button counts as the last one but is never the answer).
int PresentOnStandardError(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    const Button* buttons = kButtons[type & MB_TYPEMASK];
    int count = 0;
    while (count < 3 && buttons[count].label != nullptr) {
        ++count;
    }
    const int wanted = static_cast<int>((type & MB_DEFMASK) >> 8);
    const Button& answer = wanted < count ? buttons[wanted] : buttons[0];
    std::fprintf(stderr, "[%s] %s\n[", caption, text);
    for (int i = 0; i < count; ++i) {
        std::fprintf(stderr, "%s%s", i == 0 ? "" : " | ", buttons[i].label);
    }
    std::fprintf(stderr, "%s] -> %s\n", (type & MB_HELP) ? " | Help" : "", answer.label);
    std::fflush(stderr);
    return answer.id;
}

}  // namespace

extern "C" {

WINPORT_API WpMessageBoxPresenter WpSetMessageBoxPresenter(WpMessageBoxPresenter presenter) {
    return g_presenter.exchange(presenter);
}

WINUSERAPI int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    if ((uType & MB_TYPEMASK) >= sizeof kButtons / sizeof kButtons[0]) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    // Windows shows "Error" for a NULL caption and nothing for a NULL text.
    const char* text = lpText != nullptr ? lpText : "";
    const char* caption = lpCaption != nullptr ? lpCaption : "Error";
    const WpMessageBoxPresenter presenter = g_presenter.load();
    return presenter != nullptr ? presenter(hWnd, text, caption, uType)
                                : PresentOnStandardError(hWnd, text, caption, uType);
}

}  // extern "C"
