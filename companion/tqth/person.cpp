// tagSKlPerson: the toolkit's half of the contact record (constructors,
// display texts, the virtual views) and the contact array's destructor.
//
//   GetAsString(n, withAddr, addrFirst)   name "Ann Lee", address "a@b"
//   (-1, false, false)                    "Ann Lee"
//   (-1, true,  false)                    "Ann Lee <a@b>"
//   (-1, true,  true)                     "a@b (Ann Lee)"
//   (5,  true,  false)                    "Ann L"
//   no name, no first or last name        "a@b" whatever the flags
//
// The name shown is m_strName, else the first and last names joined by one
// blank (either may be missing).
#include <windows.h>

#include <string.h>

#include "TQTH.h"

namespace {

const char* Text(const char* p) {
    return p != NULL ? p : "";
}

// "sip:" in any case of letters.
bool HasSipScheme(const char* p) {
    return (p[0] | 0x20) == 's' && (p[1] | 0x20) == 'i' && (p[2] | 0x20) == 'p' && p[3] == ':';
}

}  // namespace

tagSKlPerson::tagSKlPerson() : m_dwFlags(0), m_dwAddressTag(0) {}

tagSKlPerson::tagSKlPerson(const tagSKlPerson& other)
    : m_dwFlags(other.m_dwFlags),
      m_strAddress(other.m_strAddress),
      m_strName(other.m_strName),
      m_strFirstName(other.m_strFirstName),
      m_strCompany(other.m_strCompany),
      m_strLastName(other.m_strLastName),
      m_strEntryID(other.m_strEntryID),
      m_strNote(other.m_strNote),
      m_dwAddressTag(other.m_dwAddressTag) {}

tagSKlPerson::tagSKlPerson(const char* pszName, const char* pszAddress, const char* pszEntryID,
                           DWORD dwAddressTag, const char* pszNote)
    : m_dwFlags(0),
      m_strAddress(Text(pszAddress)),
      m_strName(Text(pszName)),
      m_strEntryID(Text(pszEntryID)),
      m_strNote(Text(pszNote)),
      m_dwAddressTag(dwAddressTag) {}

tagSKlPerson& tagSKlPerson::operator=(const tagSKlPerson& other) {
    if (this != &other) {
        m_dwFlags = other.m_dwFlags;
        m_strAddress = other.m_strAddress;
        m_strName = other.m_strName;
        m_strFirstName = other.m_strFirstName;
        m_strCompany = other.m_strCompany;
        m_strLastName = other.m_strLastName;
        m_strEntryID = other.m_strEntryID;
        m_strNote = other.m_strNote;
        m_dwAddressTag = other.m_dwAddressTag;
    }
    return *this;
}

tagSKlPerson::~tagSKlPerson() {}

CString tagSKlPerson::GetAsString(int nMaxLen, bool bWithAddress, bool bAddressFirst) const {
    CString name = m_strName;
    if (name.IsEmpty()) {
        name = m_strFirstName;
        if (!name.IsEmpty() && !m_strLastName.IsEmpty()) {
            name += ' ';
        }
        name += m_strLastName;
    }
    CString text;
    if (name.IsEmpty()) {
        text = m_strAddress;
    } else if (!bWithAddress || m_strAddress.IsEmpty()) {
        text = name;
    } else if (bAddressFirst) {
        text = m_strAddress + " (" + name + ")";
    } else {
        text = name + " <" + m_strAddress + ">";
    }
    if (nMaxLen >= 0 && text.GetLength() > nMaxLen) {
        text = text.Left(nMaxLen);
    }
    return text;
}

CString tagSKlPerson::GetNumber() const {
    return m_strAddress;
}

CString tagSKlPerson::GetViewFromSIP(const char* pszSIP, bool bWithHost) const {
    const char* view = Text(pszSIP);
    if (HasSipScheme(view)) {
        view += 4;
    }
    CString text(view);
    const int params = text.Find(';');
    if (params >= 0) {
        text = text.Left(params);
    }
    if (!bWithHost) {
        const int at = text.Find('@');
        if (at >= 0) {
            text = text.Left(at);
        }
    }
    return text;
}

CString tagSKlPerson::FormatEventCmdLine(const char* pszPattern) {
    CString line;
    for (const char* p = Text(pszPattern); *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            line += *p;
            continue;
        }
        switch (*++p) {
        case 'n': line += m_strName; break;
        case 'a': line += m_strAddress; break;
        case 'e': line += m_strEntryID; break;
        case '%': line += '%'; break;
        default:  // not ours: kept as written
            line += '%';
            line += *p;
        }
    }
    return line;
}

CString tagSKlNickPerson::GetViewFromSIP(const char* pszSIP, bool bWithHost) const {
    if (!m_strName.IsEmpty()) {
        return m_strName;
    }
    return tagSKlPerson::GetViewFromSIP(pszSIP, bWithHost);
}

// The array holds pointers it does not own; the records stay.
CSKPersonsPtrArray::~CSKPersonsPtrArray() {}

#if defined(_WIN32) && defined(__GNUC__)
// The array's virtual table lives here, with its destructor, but its
// constructor is the XWTH library's: exporting members does not export the
// table, so it is exported by name for XWTH to import.
__asm__(".section .drectve\n\t.ascii \" -export:_ZTV18CSKPersonsPtrArray,data\"\n\t.text\n");
#endif
