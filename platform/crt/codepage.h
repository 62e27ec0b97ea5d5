// The process's multibyte (ANSI) code page as _setmbcp left it: what the
// _mbs* functions, CharLowerA/CharUpperA and the locale texts follow.
#pragma once

#include <windows.h>

namespace winport {

// 1252 until _setmbcp chooses another page.
[[nodiscard]] UINT AnsiCodePage() noexcept;
// Whether `b` opens a double-byte character in page `cp`; false for every
// byte of a single-byte page.
[[nodiscard]] bool IsLeadByte(UINT cp, unsigned char b) noexcept;
// Whether `cp` is one of 932, 936, 949, 950.
[[nodiscard]] bool IsDoubleBytePage(UINT cp) noexcept;

}  // namespace winport
