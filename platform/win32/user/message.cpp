// user32 messages: sending, the default procedure, thread queues.
//
// SendMessageA calls the window's procedure directly on the calling thread,
// also for a window made on another thread (there is no cross-thread
// marshalling in this headless slice; the framework uses windows on the
// thread that made them). PostMessageA appends to the queue of the thread
// that made the window, PostMessageA(NULL, ...) to the caller's own;
// GetMessageA waits for a message, PeekMessageA does not.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>

#include "win32/user/user.h"

using namespace winport;

namespace {

struct Queue {
    std::deque<MSG> messages;
    std::condition_variable posted;
};

// Queues by thread id, never destroyed (a thread may post while the process exits).
struct Queues {
    std::mutex mutex;
    std::map<DWORD, Queue> byThread;
};

Queues& TheQueues() {
    static Queues* const queues = new Queues;
    return *queues;
}

bool Matches(const MSG& m, HWND hWnd, UINT lo, UINT hi) {
    if (hWnd != nullptr && m.hwnd != hWnd) return false;
    if (lo == 0 && hi == 0) return true;
    return m.message >= lo && m.message <= hi;
}

bool Post(DWORD threadId, const MSG& m) {
    Queues& q = TheQueues();
    std::lock_guard<std::mutex> lock(q.mutex);
    Queue& queue = q.byThread[threadId];
    queue.messages.push_back(m);
    queue.posted.notify_all();
    return true;
}

// Takes (or copies) the first matching message of the caller's queue.
bool Take(LPMSG lpMsg, HWND hWnd, UINT lo, UINT hi, bool remove, bool wait) {
    Queues& q = TheQueues();
    std::unique_lock<std::mutex> lock(q.mutex);
    Queue& queue = q.byThread[GetCurrentThreadId()];
    for (;;) {
        const auto it = std::find_if(queue.messages.begin(), queue.messages.end(),
                                     [&](const MSG& m) { return Matches(m, hWnd, lo, hi); });
        if (it != queue.messages.end()) {
            *lpMsg = *it;
            if (remove) queue.messages.erase(it);
            return true;
        }
        if (!wait) return false;
        queue.posted.wait(lock);
    }
}

size_t CopyText(const std::string& text, LPSTR buffer, size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace

extern "C" {

WINUSERAPI LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto w = Lookup<Window>(hWnd);
    if (!w) return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && reinterpret_cast<ULONG_PTR>(cs->lpszName) > 0xFFFF) {
            std::lock_guard<std::recursive_mutex> lock(UserLock());
            w->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_SETTEXT: {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        const char* text = reinterpret_cast<const char*>(lParam);
        w->text = text != nullptr ? text : "";
        return TRUE;
    }
    case WM_GETTEXT: {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        return static_cast<LRESULT>(CopyText(w->text, reinterpret_cast<LPSTR>(lParam), wParam));
    }
    case WM_GETTEXTLENGTH: {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        return static_cast<LRESULT>(w->text.size());
    }
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    default:
        return 0;
    }
}

WINUSERAPI LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                                          LPARAM lParam) {
    if (lpPrevWndFunc == nullptr) return 0;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

WINUSERAPI LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto w = LookupWindow(hWnd);
    if (!w) return 0;
    WNDPROC proc;
    {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        proc = w->proc;
    }
    return proc(hWnd, Msg, wParam, lParam);
}

WINUSERAPI BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    DWORD thread = GetCurrentThreadId();
    if (hWnd != nullptr) {
        auto w = LookupWindow(hWnd);
        if (!w) return FALSE;
        thread = w->threadId;
    }
    MSG m{};
    m.hwnd = hWnd;
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    return Post(thread, m) ? TRUE : FALSE;
}

WINUSERAPI void WINAPI PostQuitMessage(int nExitCode) {
    MSG m{};
    m.message = WM_QUIT;
    m.wParam = static_cast<WPARAM>(nExitCode);
    m.time = GetTickCount();
    Post(GetCurrentThreadId(), m);
}

WINUSERAPI BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                    UINT wRemoveMsg) {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    return Take(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0, false) ? TRUE
                                                                                                 : FALSE;
}

// FALSE for WM_QUIT; -1 when lpMsg is NULL or hWnd names no window.
WINUSERAPI BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return -1;
    }
    if (hWnd != nullptr && !LookupWindow(hWnd)) return -1;
    Take(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true, true);
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

// Keyboard translation has no keyboard to serve here.
WINUSERAPI BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    (void)lpMsg;
    return FALSE;
}

WINUSERAPI LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr) return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

}  // extern "C"

namespace winport {

// Buttons and statics keep their text through the default procedure, their
// font, image and check state in the window record. Neither paints.
LRESULT CALLBACK ButtonProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = Lookup<Window>(hWnd);
    if (!w) return 0;
    std::unique_lock<std::recursive_mutex> lock(UserLock());
    switch (msg) {
    case WM_SETFONT: w->font = static_cast<LONG_PTR>(wParam); return 0;
    case WM_GETFONT: return w->font;
    case BM_GETCHECK: return w->check;
    case BM_SETCHECK: w->check = static_cast<LONG_PTR>(wParam); return 0;
    case BM_GETSTATE: return w->check;
    case BM_CLICK: {
        const HWND parent = w->parent;
        const int id = static_cast<int>(w->id);
        const bool enabled = (w->style & WS_DISABLED) == 0;
        lock.unlock();
        if (parent != nullptr && enabled) {
            SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hWnd));
        }
        return 0;
    }
    default:
        lock.unlock();
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK StaticProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = Lookup<Window>(hWnd);
    if (!w) return 0;
    std::unique_lock<std::recursive_mutex> lock(UserLock());
    switch (msg) {
    case WM_SETFONT: w->font = static_cast<LONG_PTR>(wParam); return 0;
    case WM_GETFONT: return w->font;
    case STM_SETIMAGE:
    case STM_SETICON: {
        const LONG_PTR old = w->image;
        w->image = msg == STM_SETICON ? static_cast<LONG_PTR>(wParam) : lParam;
        return old;
    }
    case STM_GETIMAGE:
    case STM_GETICON: return w->image;
    // A static lets the mouse through to the window below it, unless it was
    // made to tell its parent about clicks.
    case WM_NCHITTEST: return (w->style & SS_NOTIFY) != 0 ? HTCLIENT : HTTRANSPARENT;
    default:
        lock.unlock();
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
}

}  // namespace winport
