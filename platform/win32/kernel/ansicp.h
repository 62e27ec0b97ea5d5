// UTF-16 resource text to and from the process ANSI code page
// (winport-private).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace winport {

// The text in the process ANSI code page, at most maxBytes long and never
// ending inside a double-byte character. Characters the page lacks become
// '?', as the Windows converters write them.
[[nodiscard]] std::string Utf16ToAnsi(std::u16string_view text, std::size_t maxBytes);

// The ANSI text as UTF-16. A lead byte without its trail byte, and a byte the
// page does not define, give U+003F ('?'), except that in code page 1252 the
// five undefined bytes stand for the control characters of the same number,
// as on Windows.
[[nodiscard]] std::u16string AnsiToUtf16(std::string_view text);

// Upper case of ASCII and Latin-1 letters; other characters unchanged.
[[nodiscard]] char16_t Utf16ToUpper(char16_t c);

}  // namespace winport
