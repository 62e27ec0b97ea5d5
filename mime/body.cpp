// CMIMEBody: the body bytes from a text or a COM stream.
#include <xwth/mime.h>

#include <comdef.h>

#include <string.h>

namespace {

[[noreturn]] void ThrowComError(HRESULT hr) { throw _com_error(hr); }

}  // namespace

CMIMEBody::CMIMEBody() = default;
CMIMEBody::CMIMEBody(const CMIMEBody& other) = default;
CMIMEBody& CMIMEBody::operator=(const CMIMEBody& other) = default;
CMIMEBody::~CMIMEBody() = default;

void CMIMEBody::SaveTo(CFile& file) const {
    // An empty body (a zero-byte block) costs no write at all.
    if (m_memText && m_memText.Size() != 0) file.Write(static_cast<void*>(m_memText), m_memText.Size());
}

// Decision: a NULL stream is a COM error E_POINTER, as a COM call would answer.
void CMIMEBody::SetPlainText(IStream* stream) {
    if (stream == NULL) ThrowComError(E_POINTER);
    STATSTG stat;
    HRESULT hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr)) ThrowComError(hr);
    const DWORD dwSize = static_cast<DWORD>(stat.cbSize.QuadPart);  // the low 32 bits
    if (m_memText.Alloc(dwSize, false) == NULL) AfxThrowMemoryException();
    ULONG cbRead = 0;
    hr = stream->Read(m_memText.Offset(0), dwSize, &cbRead);
    if (FAILED(hr)) ThrowComError(hr);
    if (cbRead != dwSize) ThrowComError(E_FAIL);
}

// Decision: a NULL text is an empty body, as "" is.
void CMIMEBody::SetPlainText(const char* text) {
    const DWORD dwCount = text != NULL ? static_cast<DWORD>(strlen(text)) : 0;
    if (m_memText.Alloc(dwCount, false) == NULL) AfxThrowMemoryException();
    if (dwCount != 0) memcpy(m_memText.Offset(0), text, dwCount);
}
