// Base toolkit: heap block holder, current-directory guard, path and window
// helpers, and the program's display name.
//   CMemBlock      a heap block and its size; copies share the block
//   CChangeCurDir  makes a folder current for a scope
//   tagSKlPerson, tagSKlNickPerson   contact records
//   CSKPersonsPtrArray               an array of contact record pointers
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "companion_export.h"

class CWnd;

// Owns a heap block of a 32-bit size. Copies made by copy construction or
// assignment share the block with their source; the block is freed once,
// when the last holder lets it go (holders share one reference count).
class TQTH_CLASS CMemBlock {
public:
    TQTH_MEMBER CMemBlock();
    TQTH_MEMBER explicit CMemBlock(DWORD size);  // operator! is true afterwards when out of memory
    XWTH_COPY_API CMemBlock(const CMemBlock& other);
    XWTH_COPY_API CMemBlock& operator=(const CMemBlock& other);
    TQTH_MEMBER virtual ~CMemBlock();

    // Holds exactly `size` bytes instead of the present block (zero-filled
    // when bZero); NULL when out of memory, in which case nothing is held.
    TQTH_MEMBER void* Alloc(DWORD size, bool bZero);
    TQTH_MEMBER void Free();

    [[nodiscard]] DWORD Size() const { return m_dwSize; }
    [[nodiscard]] BYTE* Offset(DWORD n) const { return m_pBlock + n; }
    operator void*() const { return m_pBlock; }
    operator BYTE*() const { return m_pBlock; }
    operator int() const { return m_pBlock != NULL; }
    bool operator!() const { return m_pBlock == NULL; }

private:
    // Holds other's block as one more holder, letting the present one go;
    // safe when other is this object. The copy operations are made of it.
    TQTH_MEMBER void Share(const CMemBlock& other);
    TQTH_MEMBER void Release();

    BYTE* m_pBlock;
    DWORD m_dwSize;
    long* m_pRefs;  // shared by every copy of one block
};

// Remembers the current directory on construction and restores it on
// destruction, whatever made another folder current in between.
class TQTH_CLASS CChangeCurDir {
public:
    TQTH_MEMBER CChangeCurDir();
    XWTH_COPY_API CChangeCurDir(const CChangeCurDir& other);
    XWTH_COPY_API CChangeCurDir& operator=(const CChangeCurDir& other);
    TQTH_MEMBER virtual ~CChangeCurDir();

    // Makes dir current; non-zero on success.
    TQTH_MEMBER int Change(const char* dir);

private:
    // A guard that restores strSaved; the copy constructor is made of it.
    TQTH_MEMBER CChangeCurDir(const CString& strSaved, DWORD dwChanged);

    CString m_strSaved;
    DWORD m_dwChanged;  // non-zero once Change has made another folder current
};

// path with exactly one trailing backslash added when it has none.
TQTH_API CString TQCheckLastSlash(const char* path);

// Brings the window to the foreground; non-zero on success.
TQTH_API int TQSetForegroundWindow(CWnd* pWnd);

// The program's display name, used as message-box title.
extern TQTH_API CString gszProgramName;

// A contact: a person with one address (a telephone number or an e-mail
// address, as the address tag says) and the names to show. The record owns
// its texts; copies are deep. The toolkit implements the constructors, the
// destructor, the display texts and the virtual operations; the XWTH library
// implements (and exports) the accessors and the conversion.
struct TQTH_CLASS tagSKlPerson {
    TQTH_MEMBER tagSKlPerson();
    TQTH_MEMBER tagSKlPerson(const tagSKlPerson& other);
    // name, address, entry ID, address tag, note; NULL texts are empty.
    TQTH_MEMBER tagSKlPerson(const char* pszName, const char* pszAddress, const char* pszEntryID,
                             DWORD dwAddressTag, const char* pszNote);
    TQTH_MEMBER tagSKlPerson& operator=(const tagSKlPerson& other);
    TQTH_MEMBER virtual ~tagSKlPerson();

    // The text to show for the contact, cut to nMaxLen characters unless
    // nMaxLen is negative: the name (else "first last"), with the address in
    // angle brackets after it when bWithAddress; with bAddressFirst the
    // address leads and the name follows in parentheses. A contact without
    // a name shows its address alone.
    [[nodiscard]] TQTH_MEMBER CString GetAsString(int nMaxLen, bool bWithAddress, bool bAddressFirst) const;
    // The address text, whatever its kind.
    [[nodiscard]] TQTH_MEMBER CString GetNumber() const;

    [[nodiscard]] XWTH_MEMBER_API CString GetEmail();
    XWTH_MEMBER_API void SetName(const char* pszName);
    [[nodiscard]] XWTH_MEMBER_API CString GetFirstName();
    [[nodiscard]] XWTH_MEMBER_API CString GetLastName();
    XWTH_MEMBER_API void SetFirstLastName(const char* pszFirst, const char* pszLast);
    [[nodiscard]] XWTH_MEMBER_API CString GetEntryID();
    XWTH_MEMBER_API void SetEntryID(const char* pszEntryID);
    [[nodiscard]] XWTH_MEMBER_API DWORD GetAddressTag() const;
    XWTH_MEMBER_API void SetAddressTag(DWORD dwTag);
    // Both write the one address field and the tag.
    XWTH_MEMBER_API void SetEmail(const char* pszAddress, DWORD dwTag);
    XWTH_MEMBER_API void SetNumber(const char* pszAddress, DWORD dwTag);
    // The display text GetAsString(-1, true, false) of pPerson, or "<NULL>"
    // for a null pointer: a static operation, so that a null record is never
    // dereferenced.
    [[nodiscard]] XWTH_MEMBER_API static CString SafeGetAsString(const tagSKlPerson* pPerson);
    XWTH_MEMBER_API operator tagSKlPerson*();

protected:
    // How a SIP URI ("sip:user@host;params") is shown: "user@host" with
    // bWithHost, else "user".
    [[nodiscard]] TQTH_MEMBER virtual CString GetViewFromSIP(const char* pszSIP, bool bWithHost) const;
    // The command line of an event hook: pszPattern with %n (name), %a
    // (address), %e (entry ID) and %% replaced.
    [[nodiscard]] TQTH_MEMBER virtual CString FormatEventCmdLine(const char* pszPattern);

public:
    DWORD m_dwFlags;        // the toolkit's: where the record came from
    CString m_strAddress;
    CString m_strName;
    CString m_strFirstName;
    CString m_strCompany;   // the toolkit's
    CString m_strLastName;
    CString m_strEntryID;
    CString m_strNote;      // the toolkit's: the fifth constructor argument
    DWORD m_dwAddressTag;
};

// A contact known by a nickname: a SIP address is shown as its name.
struct TQTH_CLASS tagSKlNickPerson : public tagSKlPerson {
    XWTH_MEMBER_API tagSKlNickPerson();
    XWTH_MEMBER_API tagSKlNickPerson(const char* pszName, const char* pszAddress, const char* pszEntryID,
                                     DWORD dwAddressTag);
    XWTH_MEMBER_API tagSKlNickPerson(const tagSKlPerson& other);
    XWTH_MEMBER_API tagSKlNickPerson(const tagSKlNickPerson& other);
    XWTH_MEMBER_API tagSKlNickPerson& operator=(const tagSKlNickPerson& other);
    XWTH_MEMBER_API ~tagSKlNickPerson() override;

protected:
    // The name when the record has one, else the base's view.
    [[nodiscard]] TQTH_MEMBER CString GetViewFromSIP(const char* pszSIP, bool bWithHost) const override;
};

// The typed array of contact pointers is instantiated and exported by the
// XWTH library. It holds pointers only: emptying or destroying it frees no
// record. The toolkit compiles the inline members it needs itself.
#if !defined(TQTH_BUILDING)
extern template class XWTH_COPY_API CTypedPtrArray<CPtrArray, tagSKlPerson*>;
#endif

// The client's list of contacts. Its destructor (the toolkit's) frees no
// record either: records belong to whoever made them.
class TQTH_CLASS CSKPersonsPtrArray : public CTypedPtrArray<CPtrArray, tagSKlPerson*> {
public:
    XWTH_MEMBER_API CSKPersonsPtrArray();
    TQTH_MEMBER ~CSKPersonsPtrArray() override;
};
