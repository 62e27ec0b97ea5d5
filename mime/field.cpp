// CMIMEBase and CMIMEField: one header field and its file form.
#include <xwth/mime.h>

#include <string.h>

namespace {

DWORD ByteLength(const CString& str) { return static_cast<DWORD>(strlen(str.GetString())); }

}  // namespace

CMIMEBase::~CMIMEBase() = default;

CMIMEField::CMIMEField() : m_dwNameLen(0), m_dwValueLen(0) {}

CMIMEField::CMIMEField(const char* name, const char* value) : m_dwNameLen(0), m_dwValueLen(0) {
    CMIMEField::SetName(name);
    CMIMEField::SetValue(value);
}

CMIMEField::CMIMEField(const CMIMEField& other) : CMIMEBase(other), m_dwNameLen(0), m_dwValueLen(0) {
    CMIMEField::operator=(other);
}

CMIMEField::~CMIMEField() = default;

void CMIMEField::SaveTo(CFile&) const {}

CMIMEField& CMIMEField::operator=(const char* value) {
    SetValue(value);
    return *this;
}

CMIMEField& CMIMEField::operator=(const CMIMEField& other) {
    m_strName = other.m_strName;
    m_strValue = other.m_strValue;
    m_dwNameLen = other.m_dwNameLen;
    m_dwValueLen = other.m_dwValueLen;
    return *this;
}

CMIMEField::operator const char*() const { return m_strValue.GetString(); }

CMIMEField::operator bool() const { return m_dwValueLen != 0; }

bool CMIMEField::operator!() const { return !operator bool(); }

bool CMIMEField::IsField(const char* name) const {
    return name != NULL && m_strName.CompareNoCase(name) == 0;
}

void CMIMEField::SetName(const char* name) {
    m_strName = name != NULL ? name : "";
    m_dwNameLen = ByteLength(m_strName);
}

void CMIMEField::SetValue(const char* value) {
    m_strValue = value != NULL ? value : "";
    m_dwValueLen = ByteLength(m_strValue);
}

void CMIMEField::AddToValue(const char* text) {
    m_strValue += text != NULL ? text : "";
    m_dwValueLen = ByteLength(m_strValue);
}

void CMIMEField::AddNewLine(const char* text) {
    m_strValue += "\r\n ";
    AddToValue(text);
}

void CMIMEField::AddPart(const char* text) {
    m_strValue += ",\r\n ";
    AddToValue(text);
}

// name, space, value, CR LF: GetSize() bytes from the cached lengths. A NUL
// inside a string (set through the CString) ends what is written of it.
void CMIMEField::SaveTo(BYTE* dest) const {
    memcpy(dest, m_strName.GetString(), m_dwNameLen);
    dest += m_dwNameLen;
    *dest++ = ' ';
    memcpy(dest, m_strValue.GetString(), m_dwValueLen);
    dest += m_dwValueLen;
    dest[0] = '\r';
    dest[1] = '\n';
}

DWORD CMIMEField::GetSize() const { return m_dwNameLen + m_dwValueLen + 3; }
