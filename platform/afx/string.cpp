// CString: storage, assignment, concatenation, searching, editing, formatting
// and buffer access.
#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <new>

#include <afx.h>

namespace {

// Lives immediately before the characters a CString points at.
struct CStringData {
    int nDataLength;   // characters in use, NULs included
    int nAllocLength;  // characters that fit, not counting the terminator
};

// Every empty CString points at this one text; it is never written.
struct NilString {
    CStringData header;
    char text[1];
};
NilString g_nil = {{0, 0}, {'\0'}};
static_assert(offsetof(NilString, text) == sizeof(CStringData), "the header must sit right before the text");

// Longest string the int length fields can describe, with room for the header.
constexpr int kMaxLength = INT_MAX - 64;

inline CStringData* Header(LPTSTR psz) {
    return reinterpret_cast<CStringData*>(psz - sizeof(CStringData));
}

inline bool IsNil(LPCTSTR psz) {
    return psz == g_nil.text;
}

LPTSTR AllocText(int nAlloc) {
    if (nAlloc < 0 || nAlloc > kMaxLength) AfxThrowMemoryException();
    void* p = ::operator new(sizeof(CStringData) + static_cast<size_t>(nAlloc) + 1, std::nothrow);
    if (p == NULL) AfxThrowMemoryException();
    CStringData* d = new (p) CStringData{0, nAlloc};
    LPTSTR text = reinterpret_cast<LPTSTR>(d + 1);
    text[0] = '\0';
    return text;
}

void FreeText(LPTSTR psz) noexcept {
    if (!IsNil(psz)) ::operator delete(Header(psz));
}

// strlen of a possibly NULL string.
int SafeLength(LPCTSTR psz) {
    if (psz == NULL) return 0;
    size_t n = strlen(psz);
    if (n > static_cast<size_t>(kMaxLength)) AfxThrowMemoryException();
    return static_cast<int>(n);
}

// a + b as an int length, or CMemoryException*.
int AddLengths(int a, int b) {
    if (b > kMaxLength - a) AfxThrowMemoryException();
    return a + b;
}

bool IsTrimSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The target tests of the three Trim flavours.
struct IsSpace {
    bool operator()(char c) const { return IsTrimSpace(c); }
};
struct IsChar {
    char ch;
    bool operator()(char c) const { return c == ch; }
};
struct InSet {
    LPCTSTR set;
    bool operator()(char c) const { return c != '\0' && set != NULL && strchr(set, c) != NULL; }
};

}  // namespace

// ---- construction and storage ------------------------------------------------

CString::CString() noexcept : m_pszData(g_nil.text) {}

CString::CString(const CString& stringSrc) : m_pszData(g_nil.text) {
    SetString(stringSrc.m_pszData, stringSrc.GetLength());
}

CString::CString(CString&& stringSrc) noexcept : m_pszData(stringSrc.m_pszData) {
    stringSrc.m_pszData = g_nil.text;
}

CString::CString(LPCSTR lpsz) : m_pszData(g_nil.text) {
    if (lpsz != NULL && (reinterpret_cast<ULONG_PTR>(lpsz) >> 16) == 0)
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpsz)));
    else
        SetString(lpsz);
}

CString::CString(const unsigned char* lpsz) : CString(reinterpret_cast<LPCSTR>(lpsz)) {}

CString::CString(LPCSTR lpch, int nLength) : m_pszData(g_nil.text) {
    SetString(lpch, nLength);
}

CString::CString(char ch, int nRepeat) : m_pszData(g_nil.text) {
    if (nRepeat <= 0) return;
    Reserve(nRepeat, false);
    memset(m_pszData, ch, static_cast<size_t>(nRepeat));
    SetLengthNoCheck(nRepeat);
}

CString::~CString() {
    FreeText(m_pszData);
}

int CString::GetLength() const noexcept {
    return Header(m_pszData)->nDataLength;
}

int CString::GetAllocLength() const noexcept {
    return Header(m_pszData)->nAllocLength;
}

void CString::SetLengthNoCheck(int nLength) noexcept {
    if (IsNil(m_pszData)) return;  // only length 0 can reach here for the nil text
    Header(m_pszData)->nDataLength = nLength;
    m_pszData[nLength] = '\0';
}

// Makes room for nLength characters, keeping the present ones. Geometric
// growth keeps appending in a loop linear.
void CString::Reserve(int nLength, bool bGeometric) {
    int nAlloc = GetAllocLength();
    if (nLength <= nAlloc && !IsNil(m_pszData)) return;
    if (bGeometric && nAlloc < kMaxLength / 2 && nLength < nAlloc * 2) nLength = nAlloc * 2;
    LPTSTR pszNew = AllocText(nLength);
    int nKeep = GetLength();
    memcpy(pszNew, m_pszData, static_cast<size_t>(nKeep) + 1);
    Header(pszNew)->nDataLength = nKeep;
    FreeText(m_pszData);
    m_pszData = pszNew;
}

void CString::Empty() noexcept {
    FreeText(m_pszData);
    m_pszData = g_nil.text;
}

void CString::Preallocate(int nLength) {
    if (nLength < 0) AfxThrowInvalidArgException();
    Reserve(nLength, false);
}

void CString::FreeExtra() {
    int nLength = GetLength();
    if (nLength == GetAllocLength()) return;
    if (nLength == 0) {
        Empty();
        return;
    }
    LPTSTR pszNew = AllocText(nLength);
    memcpy(pszNew, m_pszData, static_cast<size_t>(nLength) + 1);
    Header(pszNew)->nDataLength = nLength;
    FreeText(m_pszData);
    m_pszData = pszNew;
}

// ---- assignment and appending ----------------------------------------------

// pch may point into this string's own buffer.
void CString::SetString(LPCSTR pch, int nLength) {
    if (nLength < 0 || (pch == NULL && nLength != 0)) AfxThrowInvalidArgException();
    if (nLength == 0) {
        SetLengthNoCheck(0);
        return;
    }
    if (!IsNil(m_pszData) && nLength <= GetAllocLength()) {
        memmove(m_pszData, pch, static_cast<size_t>(nLength));
        SetLengthNoCheck(nLength);
        return;
    }
    LPTSTR pszNew = AllocText(nLength);
    memcpy(pszNew, pch, static_cast<size_t>(nLength));
    FreeText(m_pszData);
    m_pszData = pszNew;
    SetLengthNoCheck(nLength);
}

void CString::SetString(LPCSTR psz) {
    SetString(psz, SafeLength(psz));
}

// pch may point into this string's own buffer.
void CString::Append(LPCSTR pch, int nLength) {
    if (nLength < 0 || (pch == NULL && nLength != 0)) AfxThrowInvalidArgException();
    if (nLength == 0) return;
    int nOld = GetLength();
    int nNew = AddLengths(nOld, nLength);
    if (IsNil(m_pszData) || nNew > GetAllocLength()) {
        int nAlloc = GetAllocLength();
        if (nAlloc < kMaxLength / 2 && nNew < nAlloc * 2) nAlloc *= 2;
        if (nAlloc < nNew) nAlloc = nNew;
        LPTSTR pszNew = AllocText(nAlloc);
        memcpy(pszNew, m_pszData, static_cast<size_t>(nOld));
        memcpy(pszNew + nOld, pch, static_cast<size_t>(nLength));  // before the old buffer goes
        FreeText(m_pszData);
        m_pszData = pszNew;
    } else {
        memmove(m_pszData + nOld, pch, static_cast<size_t>(nLength));
    }
    SetLengthNoCheck(nNew);
}

void CString::Append(LPCSTR psz) {
    Append(psz, SafeLength(psz));
}

CString& CString::operator=(const CString& stringSrc) {
    if (this != &stringSrc) SetString(stringSrc.m_pszData, stringSrc.GetLength());
    return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept {
    if (this != &stringSrc) {
        FreeText(m_pszData);
        m_pszData = stringSrc.m_pszData;
        stringSrc.m_pszData = g_nil.text;
    }
    return *this;
}

CString& CString::operator=(LPCSTR lpsz) {
    SetString(lpsz);
    return *this;
}

CString& CString::operator=(const unsigned char* lpsz) {
    SetString(reinterpret_cast<LPCSTR>(lpsz));
    return *this;
}

CString& CString::operator=(char ch) {
    SetString(&ch, 1);
    return *this;
}

CString& CString::operator+=(const CString& string) {
    Append(string.m_pszData, string.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz) {
    Append(lpsz);
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

namespace {
CString Concat(LPCSTR p1, int n1, LPCSTR p2, int n2) {
    CString result;
    result.Preallocate(AddLengths(n1, n2));
    result.Append(p1, n1);
    result.Append(p2, n2);
    return result;
}
}  // namespace

CString AFXAPI operator+(const CString& string1, const CString& string2) {
    return Concat(string1, string1.GetLength(), string2, string2.GetLength());
}

CString AFXAPI operator+(const CString& string, LPCTSTR lpsz) {
    return Concat(string, string.GetLength(), lpsz, SafeLength(lpsz));
}

CString AFXAPI operator+(LPCTSTR lpsz, const CString& string) {
    return Concat(lpsz, SafeLength(lpsz), string, string.GetLength());
}

CString AFXAPI operator+(const CString& string, char ch) {
    return Concat(string, string.GetLength(), &ch, 1);
}

CString AFXAPI operator+(char ch, const CString& string) {
    return Concat(&ch, 1, string, string.GetLength());
}

// ---- characters ------------------------------------------------------------

char CString::GetAt(int iChar) const {
    if (iChar < 0 || iChar > GetLength()) AfxThrowInvalidArgException();
    return m_pszData[iChar];
}

void CString::SetAt(int iChar, char ch) {
    if (iChar < 0 || iChar >= GetLength()) AfxThrowInvalidArgException();
    m_pszData[iChar] = ch;
}

// ---- comparison ------------------------------------------------------------

namespace {
int Sign(int n) {
    return (n > 0) - (n < 0);
}
int CompareLowered(LPCTSTR a, LPCTSTR b) {
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(AsciiLower(*a));
        unsigned char cb = static_cast<unsigned char>(AsciiLower(*b));
        if (ca != cb || ca == 0) return Sign(ca - cb);
    }
}
}  // namespace

int CString::Compare(LPCTSTR psz) const {
    if (psz == NULL) AfxThrowInvalidArgException();
    return Sign(strcmp(m_pszData, psz));
}

int CString::CompareNoCase(LPCTSTR psz) const {
    if (psz == NULL) AfxThrowInvalidArgException();
    return CompareLowered(m_pszData, psz);
}

int CString::Collate(LPCTSTR psz) const {
    if (psz == NULL) AfxThrowInvalidArgException();
    return Sign(strcoll(m_pszData, psz));
}

int CString::CollateNoCase(LPCTSTR psz) const {
    if (psz == NULL) AfxThrowInvalidArgException();
    CString a(m_pszData), b(psz);
    return Sign(strcoll(a.MakeLower(), b.MakeLower()));
}

// ---- extraction ------------------------------------------------------------
//   "hello".Mid(1, 3)   "ell"      .Mid(-2, 3) "hel"     .Mid(4, 9)  "o"
//   "hello".Mid(9)      ""         .Left(-1)   ""        .Left(9)    "hello"
//   "hello".Right(2)    "lo"       .Right(9)   "hello"

CString CString::Mid(int iFirst, int nCount) const {
    int nLength = GetLength();
    if (iFirst < 0) iFirst = 0;
    if (nCount < 0) nCount = 0;
    if (iFirst > nLength) iFirst = nLength;
    if (nCount > nLength - iFirst) nCount = nLength - iFirst;
    if (iFirst == 0 && nCount == nLength) return *this;
    return CString(m_pszData + iFirst, nCount);
}

CString CString::Mid(int iFirst) const {
    return Mid(iFirst, iFirst < 0 ? GetLength() : GetLength() - iFirst);
}

CString CString::Left(int nCount) const {
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
    int nLength = GetLength();
    if (nCount < 0) nCount = 0;
    if (nCount > nLength) nCount = nLength;
    return CString(m_pszData + nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const {
    if (pszCharSet == NULL) AfxThrowInvalidArgException();
    return Left(static_cast<int>(strspn(m_pszData, pszCharSet)));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const {
    if (pszCharSet == NULL) AfxThrowInvalidArgException();
    return Left(static_cast<int>(strcspn(m_pszData, pszCharSet)));
}

// ---- in-place changes --------------------------------------------------------

CString& CString::MakeUpper() {
    for (int i = 0, n = GetLength(); i < n; ++i) m_pszData[i] = AsciiUpper(m_pszData[i]);
    return *this;
}

CString& CString::MakeLower() {
    for (int i = 0, n = GetLength(); i < n; ++i) m_pszData[i] = AsciiLower(m_pszData[i]);
    return *this;
}

CString& CString::MakeReverse() {
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
        char c = m_pszData[i];
        m_pszData[i] = m_pszData[j];
        m_pszData[j] = c;
    }
    return *this;
}

namespace {
template <class Pred>
int LeadingRun(LPCTSTR psz, int nLength, Pred pred) {
    int n = 0;
    while (n < nLength && pred(psz[n])) ++n;
    return n;
}
template <class Pred>
int TrailingRun(LPCTSTR psz, int nLength, Pred pred) {
    int n = 0;
    while (n < nLength && pred(psz[nLength - 1 - n])) ++n;
    return n;
}
}  // namespace

CString& CString::TrimLeft() {
    int n = LeadingRun(m_pszData, GetLength(), IsSpace{});
    if (n > 0) Delete(0, n);
    return *this;
}
CString& CString::TrimRight() {
    SetLengthNoCheck(GetLength() - TrailingRun(m_pszData, GetLength(), IsSpace{}));
    return *this;
}
CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft(char chTarget) {
    int n = LeadingRun(m_pszData, GetLength(), IsChar{chTarget});
    if (n > 0) Delete(0, n);
    return *this;
}
CString& CString::TrimRight(char chTarget) {
    SetLengthNoCheck(GetLength() - TrailingRun(m_pszData, GetLength(), IsChar{chTarget}));
    return *this;
}
CString& CString::Trim(char chTarget) {
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::TrimLeft(LPCTSTR pszTargets) {
    int n = LeadingRun(m_pszData, GetLength(), InSet{pszTargets});
    if (n > 0) Delete(0, n);
    return *this;
}
CString& CString::TrimRight(LPCTSTR pszTargets) {
    SetLengthNoCheck(GetLength() - TrailingRun(m_pszData, GetLength(), InSet{pszTargets}));
    return *this;
}
CString& CString::Trim(LPCTSTR pszTargets) {
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

int CString::Replace(char chOld, char chNew) {
    if (chOld == chNew) return 0;
    int nCount = 0;
    for (int i = 0, n = GetLength(); i < n; ++i) {
        if (m_pszData[i] == chOld) {
            m_pszData[i] = chNew;
            ++nCount;
        }
    }
    return nCount;
}

// Non-overlapping occurrences, left to right; pszOld, a C string, cannot match
// across an embedded NUL.
int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
    int nOld = SafeLength(pszOld);
    if (nOld == 0) return 0;
    int nNew = SafeLength(pszNew);
    int nLength = GetLength();
    CString result;
    int nCount = 0;
    int iCopied = 0;
    for (int i = 0; i <= nLength - nOld;) {
        if (memcmp(m_pszData + i, pszOld, static_cast<size_t>(nOld)) == 0) {
            result.Append(m_pszData + iCopied, i - iCopied);
            result.Append(pszNew, nNew);
            i += nOld;
            iCopied = i;
            ++nCount;
        } else {
            ++i;
        }
    }
    if (nCount > 0) {
        result.Append(m_pszData + iCopied, nLength - iCopied);
        swap(*this, result);
    }
    return nCount;
}

int CString::Remove(char chRemove) {
    int nLength = GetLength();
    int iDest = 0;
    for (int i = 0; i < nLength; ++i)
        if (m_pszData[i] != chRemove) m_pszData[iDest++] = m_pszData[i];
    SetLengthNoCheck(iDest);
    return nLength - iDest;
}

int CString::Insert(int iIndex, char ch) {
    return Insert(iIndex, &ch, 1);
}

int CString::Insert(int iIndex, LPCTSTR psz) {
    return Insert(iIndex, psz, SafeLength(psz));
}

int CString::Insert(int iIndex, LPCTSTR pch, int nInsert) {
    int nLength = GetLength();
    if (iIndex < 0) iIndex = 0;
    if (iIndex > nLength) iIndex = nLength;
    if (nInsert == 0) return nLength;
    CString result;
    result.Preallocate(AddLengths(nLength, nInsert));
    result.Append(m_pszData, iIndex);
    result.Append(pch, nInsert);
    result.Append(m_pszData + iIndex, nLength - iIndex);
    swap(*this, result);
    return GetLength();
}

int CString::Delete(int iIndex, int nCount) {
    int nLength = GetLength();
    if (iIndex < 0) iIndex = 0;
    if (nCount < 0) nCount = 0;
    if (iIndex > nLength) return nLength;
    if (nCount > nLength - iIndex) nCount = nLength - iIndex;
    if (nCount > 0) {
        memmove(m_pszData + iIndex, m_pszData + iIndex + nCount,
                static_cast<size_t>(nLength - iIndex - nCount));
        SetLengthNoCheck(nLength - nCount);
    }
    return GetLength();
}

void CString::Truncate(int nNewLength) {
    if (nNewLength < 0 || nNewLength > GetLength()) AfxThrowInvalidArgException();
    SetLengthNoCheck(nNewLength);
}

// ---- searching -------------------------------------------------------------

int CString::Find(char ch, int iStart) const {
    if (iStart < 0 || iStart >= GetLength()) return -1;
    LPCTSTR p = strchr(m_pszData + iStart, ch);
    return p == NULL ? -1 : static_cast<int>(p - m_pszData);
}

int CString::Find(LPCTSTR pszSub, int iStart) const {
    if (pszSub == NULL || iStart < 0 || iStart > GetLength()) return -1;
    LPCTSTR p = strstr(m_pszData + iStart, pszSub);
    return p == NULL ? -1 : static_cast<int>(p - m_pszData);
}

int CString::ReverseFind(char ch) const {
    LPCTSTR p = strrchr(m_pszData, ch);
    return p == NULL ? -1 : static_cast<int>(p - m_pszData);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const {
    if (pszCharSet == NULL) return -1;
    LPCTSTR p = strpbrk(m_pszData, pszCharSet);
    return p == NULL ? -1 : static_cast<int>(p - m_pszData);
}

//   "a,b,,c" with "," from 0:  "a" (2)  "b" (4)  "c" (7)  "" (-1)
CString CString::Tokenize(LPCTSTR pszTokens, int& iStart) const {
    if (iStart < 0) AfxThrowInvalidArgException();
    int nLength = GetLength();
    if (pszTokens == NULL || *pszTokens == '\0') {
        if (iStart < nLength) return CString(m_pszData + iStart);
    } else if (iStart < nLength) {
        int iFrom = iStart + static_cast<int>(strspn(m_pszData + iStart, pszTokens));
        if (iFrom < nLength) {
            int nToken = static_cast<int>(strcspn(m_pszData + iFrom, pszTokens));
            iStart = iFrom + nToken + 1;
            return Mid(iFrom, nToken);
        }
    }
    iStart = -1;
    return CString();
}

// ---- formatting ------------------------------------------------------------

void CString::AppendFormatV(LPCTSTR pszFormat, va_list args) {
    if (pszFormat == NULL) AfxThrowInvalidArgException();
    char stackText[256];
    va_list measure;
    va_copy(measure, args);
    int n = vsnprintf(stackText, sizeof stackText, pszFormat, measure);
    va_end(measure);
    if (n < 0) AfxThrowInvalidArgException();  // an encoding error in the arguments
    if (static_cast<size_t>(n) < sizeof stackText) {
        Append(stackText, n);
        return;
    }
    // The arguments may point into this string: format into a new one.
    CString text;
    LPTSTR buffer = text.GetBuffer(n);
    va_list again;
    va_copy(again, args);
    vsnprintf(buffer, static_cast<size_t>(n) + 1, pszFormat, again);
    va_end(again);
    text.ReleaseBuffer(n);
    Append(text, n);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args) {
    CString text;
    text.AppendFormatV(pszFormat, args);
    swap(*this, text);
}

void CString::Format(LPCTSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    try {
        FormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::AppendFormat(LPCTSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    try {
        AppendFormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

// ---- resources ---------------------------------------------------------------

BOOL CString::LoadString(UINT nID) {
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA((LOWORD(nID) >> 4) + 1), RT_STRING);
    // A string table entry holds at most 65535 UTF-16 characters, each at
    // most two bytes in the ANSI code page: grow until the text fits.
    for (int nSize = 256;; nSize *= 2) {
        CString text;
        LPTSTR pszBuffer = text.GetBuffer(nSize - 1);
        int nLength = ::LoadStringA(hInst, nID, pszBuffer, nSize);
        if (nLength <= 0) return FALSE;
        if (nLength < nSize - 2 || nSize >= 2 * 65536) {
            text.ReleaseBuffer(nLength);
            swap(*this, text);
            return TRUE;
        }
    }
}

// ---- direct buffer access ----------------------------------------------------

LPTSTR CString::GetBuffer(int nMinBufferLength) {
    if (nMinBufferLength < 0) AfxThrowInvalidArgException();
    int nLength = GetLength();
    Reserve(nMinBufferLength > nLength ? nMinBufferLength : nLength, false);
    return m_pszData;
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
    GetBuffer(nNewLength);
    SetLengthNoCheck(nNewLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength) {
    int nAlloc = GetAllocLength();
    if (nNewLength == -1) {
        const void* nul = memchr(m_pszData, '\0', static_cast<size_t>(nAlloc));
        nNewLength = nul == NULL ? nAlloc : static_cast<int>(static_cast<LPCTSTR>(nul) - m_pszData);
    }
    if (nNewLength < 0 || nNewLength > nAlloc) AfxThrowInvalidArgException();
    SetLengthNoCheck(nNewLength);
}
