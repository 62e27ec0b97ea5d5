// user32 LoadStringA: string tables read from a module's resources.
//
// Strings live in blocks of 16: string n is entry n % 16 of the RT_STRING
// resource numbered n / 16 + 1, each entry a UTF-16 length and that many
// characters (an absent string has length 0). Only the low 16 bits of the id
// count. The text is converted to the process ANSI code page and cut to
// cchBufferMax - 1 bytes, never inside a double-byte character, and always
// terminated.
//
//   cchBufferMax   result
//   0              -1, buffer untouched (as Wine answers)
//   1              0, buffer ""
//   n              bytes written (at most n - 1); 0 and "" for an absent or
//                  empty string (the last error says why when it is absent)
#include "win32/kernel/ansicp.h"

#include <windows.h>

#include <cstring>
#include <string>

extern "C" WINUSERAPI int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (cchBufferMax == 0) {
        return -1;
    }
    if (lpBuffer == nullptr || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    lpBuffer[0] = '\0';
    const WORD id = LOWORD(uID);
    HRSRC block = FindResourceA(hInstance, MAKEINTRESOURCEA((id >> 4) + 1), RT_STRING);
    const auto* data = block != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(hInstance, block)))
                                        : nullptr;
    if (data == nullptr) {
        return 0;
    }
    const DWORD size = SizeofResource(hInstance, block);
    // Skip the entries before ours; a length that runs past the block means
    // a broken table, read as an absent string.
    DWORD at = 0;
    for (unsigned i = 0;; ++i) {
        if (at > size || size - at < 2) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        const DWORD length = data[at] | (data[at + 1] << 8);
        if (length * 2 > size - at - 2) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        if (i == (id & 0xF)) {
            std::u16string text(length, u'\0');
            for (DWORD c = 0; c < length; ++c) {
                text[c] = static_cast<char16_t>(data[at + 2 + 2 * c] | (data[at + 3 + 2 * c] << 8));
            }
            const std::string ansi =
                winport::Utf16ToAnsi(text, static_cast<std::size_t>(cchBufferMax) - 1);
            std::memcpy(lpBuffer, ansi.data(), ansi.size());
            lpBuffer[ansi.size()] = '\0';
            return static_cast<int>(ansi.size());
        }
        at += 2 + length * 2;
    }
}
