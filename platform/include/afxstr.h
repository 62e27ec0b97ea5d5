// CString: the framework's counted 8-bit string with value semantics.
#pragma once

#include <type_traits>

#include <afxdefs.h>

// Each CString owns its buffer outright: a copy duplicates the characters, so
// strings pass between threads like any value and GetBuffer never has to
// un-share anything. The object is one pointer to the first character, with
// the length and capacity kept in front of it; the characters are always
// followed by a NUL, so (LPCTSTR) costs nothing.
//
// The length counts every byte, embedded NULs included; copying,
// concatenation, Mid/Left/Right, Replace, Remove, Trim and MakeReverse see all
// of them. Searching and comparing (Find, FindOneOf, ReverseFind, Compare and
// the comparison operators, Span*) look at the C string up to its first NUL,
// as the framework always has.
//
// Bad indices and arguments throw CInvalidArgException*, exhausted memory
// CMemoryException*.
class WINPORT_API CString {
public:
    CString() noexcept;
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    // NULL gives the empty string; a MAKEINTRESOURCE value loads that string
    // resource (see LoadString).
    CString(LPCSTR lpsz);
    CString(const unsigned char* lpsz);
    // nLength bytes from lpch, NULs included.
    CString(LPCSTR lpch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& stringSrc);
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(LPCSTR lpsz);
    CString& operator=(const unsigned char* lpsz);
    CString& operator=(char ch);

    CString& operator+=(const CString& string);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    // ---- length and characters ----
    [[nodiscard]] int GetLength() const noexcept;
    [[nodiscard]] int GetAllocLength() const noexcept;
    [[nodiscard]] bool IsEmpty() const noexcept { return GetLength() == 0; }
    void Empty() noexcept;  // also frees the buffer
    // 0..GetLength(): reading the terminating NUL is allowed.
    [[nodiscard]] char GetAt(int iChar) const;
    // Any integer index, so that s[i] never competes with the built-in
    // subscript of the LPCTSTR conversion.
    template <class Index>
        requires std::is_integral_v<Index>
    [[nodiscard]] char operator[](Index iChar) const {
        if constexpr (std::is_signed_v<Index>) {
            if (iChar < 0 || static_cast<long long>(iChar) > GetLength()) AfxThrowInvalidArgException();
        } else {
            if (static_cast<unsigned long long>(iChar) > static_cast<unsigned long long>(GetLength()))
                AfxThrowInvalidArgException();
        }
        return m_pszData[static_cast<int>(iChar)];
    }
    // 0..GetLength()-1.
    void SetAt(int iChar, char ch);
    operator LPCTSTR() const noexcept { return m_pszData; }
    [[nodiscard]] LPCTSTR GetString() const noexcept { return m_pszData; }

    void SetString(LPCSTR psz);
    void SetString(LPCSTR pch, int nLength);
    void Append(LPCSTR psz);
    void Append(LPCSTR pch, int nLength);
    void Append(const CString& str) { Append(str.m_pszData, str.GetLength()); }
    void AppendChar(char ch) { Append(&ch, 1); }

    // ---- comparison (C strings; see the class comment) ----
    // <0, 0, >0 as strcmp; a NULL argument throws.
    [[nodiscard]] int Compare(LPCTSTR psz) const;
    // ASCII letters compared without regard to case.
    [[nodiscard]] int CompareNoCase(LPCTSTR psz) const;
    // As strcoll / strcoll of the lower-cased texts (the C library's locale).
    [[nodiscard]] int Collate(LPCTSTR psz) const;
    [[nodiscard]] int CollateNoCase(LPCTSTR psz) const;

    // ---- extraction; counts clamp to the string, negative counts give "" ----
    [[nodiscard]] CString Mid(int iFirst, int nCount) const;
    [[nodiscard]] CString Mid(int iFirst) const;
    [[nodiscard]] CString Left(int nCount) const;
    [[nodiscard]] CString Right(int nCount) const;
    // The longest prefix made of / free of the characters in the set.
    [[nodiscard]] CString SpanIncluding(LPCTSTR pszCharSet) const;
    [[nodiscard]] CString SpanExcluding(LPCTSTR pszCharSet) const;

    // ---- in-place changes; each returns *this ----
    CString& MakeUpper();    // ASCII letters only
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();         // space, \t \n \v \f \r
    CString& Trim(char chTarget);
    CString& Trim(LPCTSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCTSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCTSTR pszTargets);

    // Each returns how many were replaced or removed. Replacing a character by
    // itself counts nothing; an empty or NULL pszOld replaces nothing.
    int Replace(char chOld, char chNew);
    int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
    int Remove(char chRemove);
    // iIndex clamps to 0..GetLength(); both return the new length.
    int Insert(int iIndex, char ch);
    int Insert(int iIndex, LPCTSTR psz);
    // Removes up to nCount characters from iIndex; returns the new length.
    int Delete(int iIndex, int nCount = 1);
    // Keeps the first nNewLength characters; a longer length throws.
    void Truncate(int nNewLength);

    // ---- searching; -1 when absent or iStart is out of range ----
    [[nodiscard]] int Find(char ch, int iStart = 0) const;
    // iStart may equal the length; "" is found at iStart; NULL is never found.
    [[nodiscard]] int Find(LPCTSTR pszSub, int iStart = 0) const;
    [[nodiscard]] int ReverseFind(char ch) const;
    [[nodiscard]] int FindOneOf(LPCTSTR pszCharSet) const;
    // The next token from iStart, skipping leading delimiters; iStart moves
    // past the token's delimiter, and becomes -1 (with "" returned) once no
    // token is left. Empty or NULL pszTokens returns the rest from iStart and
    // leaves iStart alone. A negative iStart throws.
    [[nodiscard]] CString Tokenize(LPCTSTR pszTokens, int& iStart) const;

    // ---- formatting: printf semantics, no length limit ----
    void Format(LPCTSTR pszFormat, ...) AFX_PRINTF_FMT(2, 3);
    void FormatV(LPCTSTR pszFormat, va_list args) AFX_PRINTF_FMT(2, 0);
    void AppendFormat(LPCTSTR pszFormat, ...) AFX_PRINTF_FMT(2, 3);
    void AppendFormatV(LPCTSTR pszFormat, va_list args) AFX_PRINTF_FMT(2, 0);

    // The string resource nID, whole, from the module AfxFindResourceHandle
    // names for its string block. FALSE, and the string unchanged, when the
    // string is absent or empty. Compiled as LoadStringA, as in an ANSI build.
    BOOL LoadString(UINT nID);

    // ---- direct buffer access ----
    // A writable buffer of at least max(nMinBufferLength, GetLength())
    // characters plus a NUL, valid until the next change of the string.
    // End the access with ReleaseBuffer.
    LPTSTR GetBuffer(int nMinBufferLength);
    LPTSTR GetBuffer() { return GetBuffer(0); }
    // A buffer of exactly nNewLength characters, the length already set.
    LPTSTR GetBufferSetLength(int nNewLength);
    // Sets the length to nNewLength, or with -1 to the C string length found
    // in the buffer (at most the buffer's size).
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    // Buffers are never shared, so locking is GetBuffer without a release.
    LPTSTR LockBuffer() { return GetBuffer(0); }
    void UnlockBuffer() noexcept {}
    void Preallocate(int nLength);
    void FreeExtra();

    friend void swap(CString& a, CString& b) noexcept {
        LPTSTR p = a.m_pszData;
        a.m_pszData = b.m_pszData;
        b.m_pszData = p;
    }

private:
    int Insert(int iIndex, LPCTSTR pch, int nInsert);
    void Reserve(int nLength, bool bGeometric);
    void SetLengthNoCheck(int nLength) noexcept;

    LPTSTR m_pszData;
};

WINPORT_API CString AFXAPI operator+(const CString& string1, const CString& string2);
WINPORT_API CString AFXAPI operator+(const CString& string, LPCTSTR lpsz);
WINPORT_API CString AFXAPI operator+(LPCTSTR lpsz, const CString& string);
WINPORT_API CString AFXAPI operator+(const CString& string, char ch);
WINPORT_API CString AFXAPI operator+(char ch, const CString& string);

#define AFX_CSTRING_COMPARISON(op)                                                               \
    inline bool operator op(const CString& s1, const CString& s2) { return s1.Compare(s2) op 0; } \
    inline bool operator op(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) op 0; }       \
    inline bool operator op(LPCTSTR s1, const CString& s2) { return -s2.Compare(s1) op 0; }
AFX_CSTRING_COMPARISON(==)
AFX_CSTRING_COMPARISON(!=)
AFX_CSTRING_COMPARISON(<)
AFX_CSTRING_COMPARISON(>)
AFX_CSTRING_COMPARISON(<=)
AFX_CSTRING_COMPARISON(>=)
#undef AFX_CSTRING_COMPARISON
