// CFaxMessage: a fax message being composed, kept as a spool folder with a
// props.ini property file and copies of its attachment files.
//   ATTACHMENT_DESCR  one attachment record, shared by the messages that hold it
//   CFaxMessage       the message: folder, properties, attachment list
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>

#include <xwth/export.h>

// One attachment. Records live on the heap, zero-filled when made; a record
// may be held by several messages at once, and nLinks counts the holders
// beyond the first. The last holder to release it deletes its file and frees it.
struct ATTACHMENT_DESCR {
    char szFileName[MAX_PATH];  // full path, always terminated
    UINT nPages;
    int nLinks;
    bool bHiRes;
    bool bCoverPage;  // the reserved cover-page slot at index 0
    char szTitle[MAX_PATH];     // always terminated
};

// The client's working copy of one fax message. The object owns its folder
// "<spool>\FMnnnnnn" from construction to destruction: the folder is claimed
// (the lowest free number) when the object is built and emptied and removed
// when it goes. Properties are written to the folder's props.ini as they are
// set; the identifier, body, flags and the attachment list live in memory.
//
// Copies are made only by copy construction (a new folder with the same
// files and properties); assignment is not offered, since two objects must
// never own one folder.
class XWTH_API CFaxMessage {
public:
    CFaxMessage();
    CFaxMessage(CFaxMessage& other);
    virtual ~CFaxMessage();
    CFaxMessage& operator=(const CFaxMessage&) = delete;

    bool Save();
    bool Delete();
    void Dump();
    [[nodiscard]] bool IsIncoming();

    [[nodiscard]] DWORD GetID();
    bool SetID(DWORD dwID);
    [[nodiscard]] CString GetMessageBody();
    bool SetMessageBody(CString& strBody);
    [[nodiscard]] bool GetUseHiRes();
    void SetUseHiRes(bool bUseHiRes);
    [[nodiscard]] bool GetUseFaxCoverPage();
    void SetUseFaxCoverPage(bool bUse);

    // Named properties, kept in props.ini (ids 33-39 and 41-43 read the
    // client's global settings instead). Exported as GetPropA / SetPropA.
    [[nodiscard]] CString GetProp(UINT ulProp);
    bool SetProp(UINT ulProp, CString szPropValue);

    bool SetToFax(CString& str);
    bool SetToFirstName(CString& str);
    bool SetToLastName(CString& str);
    bool SetTargetPhone(CString& str);
    [[nodiscard]] CString GetToFax();
    [[nodiscard]] CString GetToFirstName();
    [[nodiscard]] CString GetToLastName();
    [[nodiscard]] CString GetTargetPhone();

    // The client-wide cover and header page names (global settings).
    [[nodiscard]] CString GetFaxCoverPageName();
    [[nodiscard]] CString GetFaxHeaderName();
    bool SetFaxCoverPageName(CString& strName);
    bool SetFaxCHeaderPageName(CString& strName);

    // Attachments. Index 0 is the cover-page slot once one exists.
    long AddFaxAttachment(const char* file, int pages, int pos, int hiRes, const char* title);
    [[nodiscard]] int GetAttachmentsCount();
    [[nodiscard]] CString GetAttachmentFileName(int iNumber);
    [[nodiscard]] CString GetAttachmentTitle(int iNumber);
    [[nodiscard]] bool GetAttachmentHiRes(int iNumber);
    [[nodiscard]] UINT GetAttachmentPages(int iNumber);
    bool DeleteAttachment(int iNumber);
    bool SaveAttachment(DWORD ulAttachNum, const char* lpszFileNameToSave);
    [[nodiscard]] UINT CountTotalPages();
    bool SwapAttachments(int iFirst, int iSecond);
    bool MoveAttachments(CDWordArray& arrIndices, int iTarget);
    bool LinkAttachment(CFaxMessage* pOther, int iAttNum);
    bool GrabAttachments(CFaxMessage* pSrc, int iDestPos, int iSrcPos, int iCount);

private:
    bool Init();
    bool CheckCPAttachment();
    CString GenerateNewNameFromExistingFile(const char* file, DWORD start);

    bool m_bUseFaxCoverPage;
    DWORD m_dwID;
    CString m_strMessageBody;
    bool m_bUseHiRes;
    CString m_strFolder;
    CTypedPtrArray<CPtrArray, ATTACHMENT_DESCR*> m_arrAttachments;
};
