// CStringSubst and CStringSubstArray: the substitution table of the
// resource manager.
//
// The pass, entry by entry (the rows are the table of its tests):
//
//   entries (in order)           text                            result
//   Corvantis -> Acme Fax        Corvantis Setup - Corvantis     Acme Fax Setup - Acme Fax
//   Corvantis -> Acme Fax        corvantis                       corvantis
//   ab -> xaby                   abab                            xabyxaby
//   x -> y, y -> z               x                               z
//   y -> z, x -> y               x                               y
//   (disabled) a -> b            a                               a
//
// Left open by the contract and decided here: an entry whose m_strFrom is
// empty would match at every position and never end, so SetSubst refuses it
// and Substitute skips one that was put in the array by hand. A text that
// the replacements would make longer than 1023 bytes is cut after the last
// whole character that fits, so a double-byte character is never split and
// nothing is written past the 1024-byte buffer. The cut is made on the
// entry's complete result, so the kept text never ends in a half-replaced
// occurrence.
#include <xwth/resourcemanager.h>

#include <mbctype.h>
#include <mbstring.h>

#include <cstring>
#include <string>

namespace {

// The first occurrence of what in text at or after from, never starting on
// the trail byte of a double-byte character; npos when there is none. from
// is always a character boundary: the start, or the end of a replaced
// occurrence.
std::size_t FindFrom(const std::string& text, const char* what, std::size_t from) {
    const auto* start = reinterpret_cast<const unsigned char*>(text.c_str());
    const unsigned char* found = _mbsstr(start + from, reinterpret_cast<const unsigned char*>(what));
    return found != NULL ? static_cast<std::size_t>(found - start) : std::string::npos;
}

// The longest prefix of text, at most limit bytes, that ends on a character
// boundary of the multibyte code page in use.
std::size_t WholeCharacters(const std::string& text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t width =
            _ismbblead(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + width > limit) {
            break;
        }
        end += width;
    }
    return end;
}

}  // namespace

IMPLEMENT_DYNAMIC(CStringSubst, CObject)

CStringSubst::CStringSubst(const CString& strFrom, const CString& strTo)
    : m_bEnabled(1), m_strFrom(strFrom), m_strTo(strTo) {}

CStringSubst::~CStringSubst() = default;

CStringSubstArray::CStringSubstArray() = default;

CStringSubstArray::~CStringSubstArray() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetAt(i);
    }
    RemoveAll();
}

void CStringSubstArray::SetSubst(CString strFrom, CString strTo) {
    if (strFrom.IsEmpty()) {
        return;
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        auto* entry = static_cast<CStringSubst*>(GetAt(i));
        if (entry != NULL && entry->m_strFrom == strFrom) {
            if (entry->m_strTo != strTo) {
                entry->m_strTo = strTo;
            }
            return;
        }
    }
    if (strFrom == strTo) {
        return;
    }
    auto* entry = new CStringSubst(strFrom, strTo);
    try {
        Add(entry);
    } catch (...) {
        delete entry;
        throw;
    }
}

void CStringSubstArray::EnableSubst(CString strFrom, int bEnable) {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        auto* entry = static_cast<CStringSubst*>(GetAt(i));
        if (entry != NULL && entry->m_strFrom == strFrom) {
            entry->m_bEnabled = bEnable;
        }
    }
}

void CStringSubstArray::Substitute(char* buffer) {
    if (buffer == NULL) {
        return;
    }
    const std::size_t limit = kBufferSize - 1;
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        const auto* entry = static_cast<const CStringSubst*>(GetAt(i));
        if (entry == NULL || !entry->m_bEnabled || entry->m_strFrom.IsEmpty()) {
            continue;
        }
        const char* from = entry->m_strFrom;
        const std::size_t fromLength = std::strlen(from);
        const std::string text(buffer, strnlen(buffer, limit));
        std::size_t at = FindFrom(text, from, 0);
        if (at == std::string::npos) {
            continue;
        }
        std::string result;
        std::size_t done = 0;
        while (at != std::string::npos) {
            result.append(text, done, at - done);
            result.append(entry->m_strTo, static_cast<std::size_t>(entry->m_strTo.GetLength()));
            done = at + fromLength;
            at = FindFrom(text, from, done);
        }
        result.append(text, done, std::string::npos);
        const std::size_t keep = WholeCharacters(result, limit);
        std::memcpy(buffer, result.data(), keep);
        buffer[keep] = '\0';
    }
}
