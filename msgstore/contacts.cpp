// This library's half of the contact records: the accessors of the
// toolkit's tagSKlPerson, the derived records, the contact pointer array's
// exported instantiation and the dial record. The records' constructors,
// destructor and display texts are the toolkit's.
#include <xwth/contacts.h>

namespace {

const char* Text(const char* p) {
    return p != NULL ? p : "";
}

}  // namespace

// --- tagSKlPerson accessors -------------------------------------------------

CString tagSKlPerson::GetEmail() {
    return GetNumber();
}

void tagSKlPerson::SetName(const char* pszName) {
    m_strName = Text(pszName);
}

CString tagSKlPerson::GetFirstName() {
    return m_strFirstName;
}

CString tagSKlPerson::GetLastName() {
    return m_strLastName;
}

void tagSKlPerson::SetFirstLastName(const char* pszFirst, const char* pszLast) {
    m_strFirstName = Text(pszFirst);
    m_strLastName = Text(pszLast);
}

CString tagSKlPerson::GetEntryID() {
    return m_strEntryID;
}

void tagSKlPerson::SetEntryID(const char* pszEntryID) {
    m_strEntryID = Text(pszEntryID);
}

DWORD tagSKlPerson::GetAddressTag() const {
    return m_dwAddressTag;
}

void tagSKlPerson::SetAddressTag(DWORD dwTag) {
    m_dwAddressTag = dwTag;
}

// A record has one address field: an e-mail address and a telephone number
// replace each other, and the tag says which it is.
void tagSKlPerson::SetEmail(const char* pszAddress, DWORD dwTag) {
    m_strAddress = Text(pszAddress);
    m_dwAddressTag = dwTag;
}

void tagSKlPerson::SetNumber(const char* pszAddress, DWORD dwTag) {
    SetEmail(pszAddress, dwTag);
}

CString tagSKlPerson::SafeGetAsString(const tagSKlPerson* pPerson) {
    if (pPerson == NULL) {
        return CString("<NULL>");
    }
    return pPerson->GetAsString(-1, true, false);
}

tagSKlPerson::operator tagSKlPerson*() {
    return this;
}

// --- derived records ----------------------------------------------------------

tagSKlExPerson::tagSKlExPerson(const tagSKlExPerson& other) : tagSKlPerson(other) {}

tagSKlExPerson& tagSKlExPerson::operator=(const tagSKlExPerson& other) {
    tagSKlPerson::operator=(other);
    return *this;
}

tagSKlExPerson::~tagSKlExPerson() {}

tagSKlNickPerson::tagSKlNickPerson() {}

tagSKlNickPerson::tagSKlNickPerson(const char* pszName, const char* pszAddress, const char* pszEntryID,
                                   DWORD dwAddressTag)
    : tagSKlPerson(pszName, pszAddress, pszEntryID, dwAddressTag, NULL) {}

tagSKlNickPerson::tagSKlNickPerson(const tagSKlPerson& other) : tagSKlPerson(other) {}

tagSKlNickPerson::tagSKlNickPerson(const tagSKlNickPerson& other) : tagSKlPerson(other) {}

tagSKlNickPerson& tagSKlNickPerson::operator=(const tagSKlNickPerson& other) {
    tagSKlPerson::operator=(other);
    return *this;
}

tagSKlNickPerson::~tagSKlNickPerson() {}

// --- contact pointer arrays ---------------------------------------------------------

// Exported through its declaration with the toolkit's header.
template class CTypedPtrArray<CPtrArray, tagSKlPerson*>;

CSKPersonsPtrArray::CSKPersonsPtrArray() {}

// --- tagSDialInfo --------------------------------------------------------------------

tagSDialInfo::tagSDialInfo() : m_bUseDialingRules(false), m_nLineID(-1) {}

tagSDialInfo::tagSDialInfo(const tagSDialInfo& other) : m_bUseDialingRules(false), m_nLineID(-1) {
    *this = other;
}

const tagSDialInfo& tagSDialInfo::operator=(const tagSDialInfo& other) {
    m_Callee = other.m_Callee;
    m_Caller = other.m_Caller;
    m_bUseDialingRules = other.m_bUseDialingRules;
    m_strDialString = other.m_strDialString;
    m_strDisplayNumber = other.m_strDisplayNumber;
    m_nLineID = other.m_nLineID;
    return *this;
}

tagSDialInfo::~tagSDialInfo() {}
