// sample.dll for xwth menu and xwth demo.
#include "sample.h"

#include <xwth/xwth.h>
#if !defined(_WIN32)
#  include <winport.h>
#endif

#include <cstdio>
#include <string>

namespace xwth_tool {

namespace {

// Ids in sample.rc.
constexpr UINT kProductText = 1;
constexpr UINT kSentText = 2;
constexpr UINT kColour = 2000;
constexpr UINT kFont = 2001;
constexpr UINT kFlag = 2002;
constexpr WORD kModuleId = 3;  // the id message texts prefer

#if !defined(_WIN32)
// Shows the box as a line: the caption, then the text without the blanks
// that pad it (their count in brackets).
int PrintMessageBox(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
    const std::string line(text);
    const size_t end = line.find_last_not_of(' ') + 1;
    std::printf("  message box  [%s] %s (+%zu blanks)\n", caption, line.substr(0, end).c_str(), line.size() - end);
    return IDOK;
}
#endif

}  // namespace

std::string SampleModulePath() {
    char path[MAX_PATH] = {0};
    const DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string dll(path, n < MAX_PATH ? n : 0);
    const size_t slash = dll.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : dll.substr(0, slash + 1)) + "sample.dll";
}

int DemoResources() {
    const std::string dll = SampleModulePath();
    CResourceManager& manager = GetResourceManager();
    if (!manager.RegisterResourceModule(CString(dll.c_str()), kModuleId)) {
        std::fprintf(stderr, "xwth demo: cannot load %s (error %lu)\n", dll.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    std::printf("resource module: %s\n", dll.c_str());
    std::printf("  string %u     %s\n", kProductText, static_cast<LPCSTR>(manager.LoadString(kProductText, kModuleId)));
    T0MessageBoxTitleSetup("XWTH");  // from here on the maker's name reads as the product's
    std::printf("  string %u     %s   (after the title set-up)\n", kProductText, ExtText(kProductText));
#if !defined(_WIN32)
    const WpMessageBoxPresenter previous = WpSetMessageBoxPresenter(PrintMessageBox);
    T0MessageBox(static_cast<HWND>(NULL), kSentText, MB_OK);
    WpSetMessageBoxPresenter(previous);
#endif
    const COLORREF colour = manager.GetStyleColor(kColour, CLR_INVALID);
    std::printf("  colour %u  0x%08lX (red %u, green %u, blue %u)\n", kColour, static_cast<unsigned long>(colour),
                GetRValue(colour), GetGValue(colour), GetBValue(colour));
    LOGFONTA lf{};
    if (CFont* font = manager.GetStyleFont(kFont, NULL); font != NULL && font->GetLogFont(&lf) != 0) {
        std::printf("  font %u    \"%s\", height %ld, weight %ld, italic %u\n", kFont, lf.lfFaceName,
                    static_cast<long>(lf.lfHeight), static_cast<long>(lf.lfWeight), static_cast<unsigned>(lf.lfItalic));
    }
    std::printf("  flag %u    %d\n", kFlag, manager.GetStyleFlag(kFlag));
    manager.EnableAppNameSubstitute(0, CString("XWTH"));
    manager.UnRegisterResourceModule(kModuleId);
    return 0;
}

}  // namespace xwth_tool
