// CMIMEHeader: the field list, its builders and the header block.
#include <xwth/mime.h>

namespace {

const char kDefaultContentType[] = "text/plain; charset=\"Windows-1252\"";

}  // namespace

CMIMEHeader::CMIMEHeader() = default;

CMIMEHeader::~CMIMEHeader() { RemoveAllFields(); }

// One block of exactly the bytes written, so the header reaches the file in
// one Write: a reader of a growing mailbox never sees half a header.
void CMIMEHeader::SaveTo(CFile& file) const {
    DWORD dwTotal = 2;
    for (INT_PTR i = 0; i < m_arrFields.GetSize(); ++i) {
        const CMIMEField* pField = m_arrFields[i];
        if (*pField) dwTotal += pField->GetSize();
    }
    CMemBlock block(dwTotal);
    if (!block) AfxThrowMemoryException();
    DWORD dwDone = 0;
    for (INT_PTR i = 0; i < m_arrFields.GetSize(); ++i) {
        const CMIMEField* pField = m_arrFields[i];
        if (!*pField) continue;
        pField->SaveTo(block.Offset(dwDone));
        dwDone += pField->GetSize();
    }
    BYTE* pEnd = block.Offset(dwDone);
    pEnd[0] = '\r';
    pEnd[1] = '\n';
    file.Write(static_cast<void*>(block), block.Size());
}

CMIMEField* CMIMEHeader::AddField(const char* name, const char* value) {
    CSafePtr<CMIMEField> field;
    field.Attach(new CMIMEField(name, value));
    m_arrFields.Add(field.Get());  // may throw: the holder then deletes the field
    return field.Detach();
}

CMIMEField* CMIMEHeader::AddDateField(FILETIME& time) {
    const CString strDate = MIMEGetDateString(time);
    return AddField("Date:", strDate);
}

void CMIMEHeader::AddSenderFields(const char* /*name*/, const char* address) {
    const CString strAddress = MIMEMakePeopleString(NULL, address);
    AddField("Return-Path:", strAddress);
    AddField("Errors-To:", strAddress);
    AddField("Reply-To:", strAddress);
}

CMIMEField* CMIMEHeader::AddSender(const char* name, const char* address) {
    AddSenderFields(name, address);
    return AddField("From:", MIMEMakePeopleString(name, address));
}

CMIMEField* CMIMEHeader::AddRecipients(CStringArray& list) {
    if (list.GetSize() == 0) return NULL;
    CMIMEField* pField = AddField("To:", list[0]);
    for (INT_PTR i = 1; i < list.GetSize(); ++i) pField->AddPart(list[i]);
    return pField;
}

CMIMEField* CMIMEHeader::AddSubject(const char* text) { return AddField("Subject:", text); }

CMIMEField* CMIMEHeader::AddMIMEVersion() { return AddField("MIME-Version:", "1.0"); }

CMIMEField* CMIMEHeader::AddContentType(const char* text) {
    return AddField("Content-type:", text != NULL ? text : kDefaultContentType);
}

CMIMEField* CMIMEHeader::AddFrom(const char* sender, FILETIME& time) {
    if (sender == NULL || *sender == '\0') return NULL;
    CString strValue(sender);
    strValue += ' ';
    strValue += MIMEGetDateString(time);
    return AddField("From", strValue);
}

CMIMEField* CMIMEHeader::AddImportance(const char* text) { return AddField("Importance:", text); }

CMIMEField* CMIMEHeader::operator[](const char* name) const {
    for (INT_PTR i = 0; i < m_arrFields.GetSize(); ++i) {
        if (m_arrFields[i]->IsField(name)) return m_arrFields[i];
    }
    return NULL;
}

void CMIMEHeader::RemoveField(int index) {
    if (index < 0 || index >= m_arrFields.GetSize()) AfxThrowInvalidArgException();
    CMIMEField* pField = m_arrFields[index];
    m_arrFields.RemoveAt(index);
    delete pField;
}

void CMIMEHeader::RemoveAllFields() {
    for (INT_PTR i = 0; i < m_arrFields.GetSize(); ++i) delete m_arrFields[i];
    m_arrFields.RemoveAll();
}
