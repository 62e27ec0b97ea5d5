// MessageBoxA without a presenter: the default button answers, on standard
// error; a style with no button set fails.
#include <windows.h>
#include <winport.h>

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxATest, DefaultPresenterAnswersTheDefaultButton) {
    WpSetMessageBoxPresenter(NULL);
    const struct {
        UINT type;
        int answer;
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING, IDNO},
        {MB_YESNO | MB_DEFBUTTON3, IDYES},  // past the last button: the first
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
        {MB_RETRYCANCEL | MB_HELP | MB_DEFBUTTON3, IDRETRY},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(MessageBoxA(NULL, "text", "caption", cases[i].type), cases[i].answer) << "case " << i;
    }
    SetLastError(0xdeadbeef);
    EXPECT_EQ(MessageBoxA(NULL, "text", NULL, 7), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
}

}  // namespace
