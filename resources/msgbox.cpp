// ExtText, T0MessageBox and T0SetForegroundWindow: message texts from the
// resource modules, boxes titled with the product name.
#include <xwth/msgbox.h>
#include <xwth/resourcemanager.h>

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <TQTH.h>

namespace {

const char kMakerName[] = "Corvantis";
constexpr int kRingSize = 32;
constexpr WORD kMessageModule = 3;
// Blanks after every message text: they widen the box so that its title,
// the product name, is never cut.
const char kPadding[] = "                                    ";
static_assert(sizeof kPadding - 1 == 36);

// Every occurrence of the maker's name replaced by the product name, left to
// right; an inserted name is never searched again, so a product name that
// itself contains the maker's name gives exactly one name per occurrence.
CString WithProductName(const char* pszText) {
    const CString text(pszText);
    CString result;
    const int fromLength = static_cast<int>(sizeof kMakerName - 1);
    int done = 0;
    for (int at = text.Find(kMakerName); at >= 0; at = text.Find(kMakerName, done)) {
        result += text.Mid(done, at - done);
        result += gszProgramName;
        done = at + fromLength;
    }
    result += text.Mid(done);
    return result;
}

}  // namespace

const char* ExtText(UINT nID, int /*nReserved*/, HINSTANCE /*hReserved*/) {
    // Built on the first call, destroyed when the library unloads. Each slot
    // holds room for the longest string the manager returns (1023 bytes), so
    // a slot's text never moves: a pointer handed out 32 calls ago shows the
    // slot's new text instead of freed memory.
    struct Ring {
        CString slots[kRingSize];
        Ring() {
            for (CString& slot : slots) {
                slot.Preallocate(CStringSubstArray::kBufferSize - 1);
            }
        }
    };
    static Ring ring;
    static unsigned next = 0;
    const unsigned slot = next < kRingSize ? next : 0;
    next = slot + 1;
    const CString text = GetResourceManager().LoadString(nID, kMessageModule);
    ring.slots[slot].SetString(text, text.GetLength());
    return ring.slots[slot];
}

// The framework's application name becomes a copy of the title (the
// application object owns it: made with _strdup, the old one released with
// free), and the maker's name reads as the title in every later loaded
// string unless the title itself starts with the maker's name. Decided here:
// without an application object there is nothing to rename, and only the
// substitution is registered.
void T0MessageBoxTitleSetup(const char* pszTitle) {
    const CString title(pszTitle != NULL ? pszTitle : "");
    if (!title.IsEmpty()) {
        CWinApp* app = AfxGetModuleState()->m_pCurrentWinApp;
        char* copy = app != NULL ? _strdup(title) : NULL;
        if (copy != NULL) {
            free(const_cast<char*>(app->m_pszAppName));
            app->m_pszAppName = copy;
            AfxGetModuleState()->m_lpszCurrentAppName = copy;
        }
    }
    // A title shorter than the maker's name differs from it at its end, so
    // an empty title makes the maker's name disappear from later strings.
    if (strncmp(title, kMakerName, sizeof kMakerName - 1) != 0) {
        GetResourceManager().EnableAppNameSubstitute(1, title);
    }
}

void T0MessageBoxTitleSetup(int nID) {
    T0MessageBoxTitleSetup(ExtText(static_cast<UINT>(nID)));
}

int T0MessageBox(HWND hWnd, const char* pszText, UINT nType) {
    CString text = WithProductName(pszText);
    text += kPadding;
    return ::MessageBoxA(hWnd, text, gszProgramName, nType);
}

int T0MessageBox(HWND hWnd, UINT nID, UINT nType) {
    return T0MessageBox(hWnd, ExtText(nID), nType);
}

int T0MessageBox(CWnd* pWnd, const char* pszText, UINT nType) {
    return T0MessageBox(pWnd != NULL ? pWnd->m_hWnd : static_cast<HWND>(NULL), pszText, nType);
}

int T0MessageBox(CWnd* pWnd, UINT nID, UINT nType) {
    return T0MessageBox(pWnd, ExtText(nID), nType);
}

int T0SetForegroundWindow(CWnd* pWnd) {
    return TQSetForegroundWindow(pWnd);
}
