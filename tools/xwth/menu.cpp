// The "menu" command: builds the sample owner-drawn menu, tracks it with
// winport's menu input script in place of a person, saves the screen as a
// PNG and prints the command chosen.
//
// Where the pictures come from: the three item images are drawn here in
// code (a strip on magenta, the menu's transparent colour); the ribbon
// bitmap is resource 100 of sample.dll, a resource-only DLL built with
// the program (tools/xwth/sample.rc) and loaded from beside it.
#include "menu.h"
#include "sample.h"

#include <xwth/custmenu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if !defined(_WIN32)
#include <winport.h>
#endif

namespace xwth_tool {
namespace {

void PrintMenuUsage(FILE* out) {
    std::fputs(
        "usage: xwth menu --out FILE.png [--ribbon TEXT | --ribbon-bitmap ID] [--select N] [--key LETTER]\n"
        "\n"
        "Shows the sample owner-drawn menu (images, a bold item, a checked item, a\n"
        "grayed item, a separator, a submenu, a ribbon) on the headless screen,\n"
        "selects the N-th selectable entry and presses Enter (--select), or types\n"
        "the accelerator letter (--key), saves the screen as FILE.png and prints\n"
        "the command chosen. Without --select or --key the menu is shown and\n"
        "dismissed. The ribbon is a gradient with TEXT (default \"XWTH Fax\") or\n"
        "bitmap ID of sample.dll, built beside the program (100 is a page).\n"
        "Linux build only (the screen and the input script are winport's).\n",
        out);
}

#if !defined(_WIN32)
struct Entry {
    UINT id;
    const char* text;
};

// Every command of the sample menu, for the answer line.
const Entry kCommands[] = {{101, "&New fax\tCtrl+N"}, {102, "&Print"},   {103, "&Spell check"}, {104, "&Delete"},
                           {201, "Zoom &in"},         {202, "Zoom &out"}, {105, "E&xit"}};

// Three 16x16 pictures on magenta: a page, a printer, a magnifier.
HBITMAP DrawImageStrip() {
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, 48, 16);
    HGDIOBJ old = SelectObject(dc, strip);
    auto fill = [&](int l, int t, int r, int b, COLORREF c) {
        const RECT rc{l, t, r, b};
        HBRUSH brush = CreateSolidBrush(c);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    };
    fill(0, 0, 48, 16, RGB(255, 0, 255));
    fill(3, 1, 13, 15, RGB(0, 0, 0));  // page
    fill(4, 2, 12, 14, RGB(255, 255, 255));
    for (int y = 4; y < 13; y += 3) fill(5, y, 11, y + 1, RGB(0, 0, 128));
    fill(18, 6, 30, 13, RGB(128, 128, 128));  // printer
    fill(20, 2, 28, 6, RGB(255, 255, 255));
    fill(20, 11, 28, 15, RGB(255, 255, 255));
    fill(27, 8, 29, 10, RGB(0, 255, 0));
    fill(34, 2, 42, 10, RGB(0, 0, 128));  // magnifier
    fill(36, 4, 40, 8, RGB(0, 255, 255));
    for (int i = 0; i < 5; ++i) fill(41 + i, 9 + i, 43 + i, 11 + i, RGB(128, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    return strip;
}

// sample.dll from beside the program, made the resource module; NULL
// (and a message) when it cannot be loaded.
HINSTANCE LoadSampleResources() {
    const std::string dll = SampleModulePath();
    HINSTANCE h = LoadLibraryExA(dll.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (h == NULL) {
        std::fprintf(stderr, "xwth menu: cannot load %s (error %lu)\n", dll.c_str(),
                     static_cast<unsigned long>(GetLastError()));
    }
    return h;
}
#endif

}  // namespace

int ShowSampleMenu(const std::string& ribbonText, unsigned ribbonBitmapId, const std::string& script,
                   const std::string& pngPath) {
#if defined(_WIN32)
    (void)ribbonText;
    (void)ribbonBitmapId;
    (void)script;
    (void)pngPath;
    std::fprintf(stderr, "xwth menu: the headless menu runs in the Linux build only\n");
    return 1;
#else
    HINSTANCE resources = NULL;
    const HINSTANCE previous = AfxGetResourceHandle();
    int status = 1;
    {
        CCustMenu menu;
        CCustMenu* more = new CCustMenu;  // its handle goes with the parent's; the object is ours
        CTrackMenuWnd owner;
        if (!menu.Create() || !more->Create() || !owner.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 1, 1, NULL, NULL)) {
            std::fprintf(stderr, "xwth menu: cannot create the menu\n");
            delete more;
            return 1;
        }
        HBITMAP strip = DrawImageStrip();
        menu.AddBitmap(strip);
        more->AddBitmap(strip);
        DeleteObject(strip);
        if (ribbonBitmapId != 0) {
            resources = LoadSampleResources();
            if (resources != NULL) AfxSetResourceHandle(resources);
            menu.AttachRibbon(ribbonBitmapId, RGB(0, 0, 128), RGB(16, 132, 208), 16);
            if (menu.m_DrawAttrs.bRibbon == 0) std::fprintf(stderr, "xwth menu: no bitmap %u\n", ribbonBitmapId);
        } else {
            menu.AttachRibbon(ribbonText.c_str(), RGB(0, 0, 128), RGB(16, 132, 208), 16, RGB(255, 255, 255));
        }
        menu.AppendMenuItem(0, 101, new CCustMenuItem(kCommands[0].text, 0, 1));
        menu.AppendMenuItem(0, 102, new CCustMenuItem(kCommands[1].text, 1, 0));
        menu.AppendMenuItem(MF_CHECKED, 103, new CCustMenuItem(kCommands[2].text, -1, 0));
        menu.AppendMenuItem(MF_GRAYED, 104, new CCustMenuItem(kCommands[3].text, -1, 0));
        menu.AppendMenu(MF_SEPARATOR);
        more->AppendMenuItem(0, 201, new CCustMenuItem(kCommands[4].text, 2, 0));
        more->AppendMenuItem(0, 202, new CCustMenuItem(kCommands[5].text, -1, 0));
        menu.AppendMenuItem(MF_POPUP, reinterpret_cast<UINT_PTR>(more->GetSafeHmenu()), new CCustMenuItem("&More", -1, 0));
        menu.AppendMenuItem(0, 105, new CCustMenuItem(kCommands[6].text, -1, 0));

        // A plain desktop, so the picture shows the menu alone.
        HDC screen = GetDC(NULL);
        const RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        HBRUSH desktop = CreateSolidBrush(RGB(58, 110, 165));
        FillRect(screen, &all, desktop);
        DeleteObject(desktop);
        ReleaseDC(NULL, screen);

        if (!WpSetMenuInput(script.c_str())) {
            std::fprintf(stderr, "xwth menu: bad input script '%s'\n", script.c_str());
        } else {
            const UINT chosen = static_cast<UINT>(menu.TrackPopupMenuEx(TPM_RETURNCMD, 40, 30, &owner, NULL));
            WpSetMenuInput(NULL);
            const char* text = nullptr;
            for (const Entry& e : kCommands) text = e.id == chosen ? e.text : text;
            if (chosen == 0 || text == nullptr) {
                std::printf("command: none\n");
            } else {
                // The text as it reads: up to the tab, without the "&" marks.
                std::string shown;
                for (const char* c = text; *c != '\0' && *c != '\t'; ++c) {
                    if (*c != '&') shown += *c;
                }
                std::printf("command: %u %s\n", chosen, shown.c_str());
            }
            if (WpSaveScreenAsPng(pngPath.c_str())) {
                status = 0;
            } else {
                std::fprintf(stderr, "xwth menu: cannot write %s (error %lu)\n", pngPath.c_str(),
                             static_cast<unsigned long>(GetLastError()));
            }
        }
        owner.DestroyWindow();
        delete more;
    }
    AfxSetResourceHandle(previous);
    if (resources != NULL) FreeLibrary(resources);
    return status;
#endif
}

int RunMenu(int argc, char** argv) {
    std::string out, ribbon = "XWTH Fax", script = "dismiss";
    unsigned bitmapId = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "-h" || arg == "--help") {
            PrintMenuUsage(stdout);
            return 0;
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--ribbon" && hasValue) {
            ribbon = argv[++i];
        } else if (arg == "--ribbon-bitmap" && hasValue) {
            char* end = nullptr;
            const unsigned long id = std::strtoul(argv[++i], &end, 0);
            if (*end != '\0' || id == 0 || id > 0xFFFF) {
                std::fprintf(stderr, "xwth menu: bad bitmap id '%s'\n", argv[i]);
                return 2;
            }
            bitmapId = static_cast<unsigned>(id);
        } else if (arg == "--select" && hasValue) {
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || n < 1 || n > 50) {
                std::fprintf(stderr, "xwth menu: --select wants 1 to 50\n");
                return 2;
            }
            script.clear();
            for (long k = 0; k < n; ++k) script += "down ";
            script += "enter";
        } else if (arg == "--key" && hasValue && std::strlen(argv[i + 1]) == 1 && argv[i + 1][0] != ' ') {
            script = std::string("key:") + argv[++i];
        } else {
            std::fprintf(stderr, "xwth menu: bad or incomplete option '%s'\n\n", arg.c_str());
            PrintMenuUsage(stderr);
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "xwth menu: --out FILE.png is required\n\n");
        PrintMenuUsage(stderr);
        return 2;
    }
    return ShowSampleMenu(ribbon, bitmapId, script, out);
}

}  // namespace xwth_tool
