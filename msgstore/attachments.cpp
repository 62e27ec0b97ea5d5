// CFaxMessage: the attachment list, its files in the message folder, and the
// cover-page slot at index 0.
#include <xwth/faxmessage.h>

#include <TQLog.h>

#include "msgstore/records.h"
#include "msgstore/spoolfolder.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <mutex>
#include <vector>

namespace {

const char kCategory[] = "FAXMSG";

const char* OrNull(const char* text) {
    return text != NULL ? text : "(null)";
}

// Copies text into a record field, cut to the field and always terminated.
void CopyField(char (&field)[MAX_PATH], const char* text) {
    const size_t len = text != NULL ? strnlen(text, MAX_PATH - 1) : 0;
    if (len > 0) {
        memcpy(field, text, len);
    }
    field[len] = '\0';
}

// The identity of the file each record's copy made, taken right after the
// copy. The record's last release deletes its file only while that same file
// is still there: once the making message has gone, its folder was swept and
// a new message may have made a file of the same name under the same number.
// A record without an entry (the cover-page slot, a failed copy) made no file
// and deletes none. Kept beside the records, whose layout is the client's.
class RecordFiles {
public:
    void Remember(const ATTACHMENT_DESCR* pRecord) {
        msgstore::FileId id;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (msgstore::ReadFileId(pRecord->szFileName, id)) {
            m_ids[pRecord] = id;
        } else {
            m_ids.erase(pRecord);
        }
    }
    void Forget(const ATTACHMENT_DESCR* pRecord) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ids.erase(pRecord);
    }
    // Forgets the record; true when its file is the one it made.
    bool TakeOwnFile(const ATTACHMENT_DESCR* pRecord) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_ids.find(pRecord);
        if (it == m_ids.end()) {
            return false;
        }
        const msgstore::FileId id = it->second;
        m_ids.erase(it);
        return msgstore::CheckFileId(pRecord->szFileName, id, false) == msgstore::IdCheck::Same;
    }

private:
    std::mutex m_mutex;
    std::map<const ATTACHMENT_DESCR*, msgstore::FileId> m_ids;
};

RecordFiles& MadeFiles() {
    static RecordFiles* files = new RecordFiles;  // outlives every message, even static ones
    return *files;
}

// Copies the source into the record's file and records what it made.
void CopyIntoRecord(const char* source, ATTACHMENT_DESCR* pRecord) {
    if (source != NULL && CopyFileA(source, pRecord->szFileName, FALSE)) {
        MadeFiles().Remember(pRecord);
    } else {
        MadeFiles().Forget(pRecord);  // names no file of its making now
    }
}

}  // namespace

bool CFaxMessage::CheckCPAttachment() {
    if (m_arrAttachments.GetSize() > 0 && m_arrAttachments.GetAt(0) != NULL &&
        m_arrAttachments.GetAt(0)->bCoverPage) {
        return false;
    }
    ATTACHMENT_DESCR* pSlot = new ATTACHMENT_DESCR();
    pSlot->bCoverPage = true;
    m_arrAttachments.InsertAt(0, pSlot);
    return true;
}

// The first name "<folder>\FD<n as %06X>.<ext>" from `start` on (wrapping at
// 2^32) that names no existing file; ext is the source name's last three
// characters, whatever they are. Nothing is created here.
CString CFaxMessage::GenerateNewNameFromExistingFile(const char* file, DWORD start) {
    const char* source = file != NULL ? file : "";
    const size_t len = strlen(source);
    const char* ext = len > 3 ? source + len - 3 : source;

    CString strName;
    CFileStatus status;
    for (DWORD n = start;; ++n) {
        strName.Format("%s\\FD%06X.%s", (LPCSTR)m_strFolder, (unsigned)n, ext);
        if (!CFile::GetStatus(strName, status)) {
            return strName;
        }
    }
}

namespace msgstore {

void ReleaseRecord(ATTACHMENT_DESCR* pRecord) {
    if (--pRecord->nLinks >= 0) {
        return;
    }
    if (MadeFiles().TakeOwnFile(pRecord)) {
        DeleteFileA(pRecord->szFileName);
    }
    delete pRecord;
}

}  // namespace msgstore

long CFaxMessage::AddFaxAttachment(const char* file, int pages, int pos, int hiRes, const char* title) {
    Log(kCategory, "CFaxMessage::AddFaxAttachment: File: %s, Pages: %d, Pos: %d, Res: %s, Title: %s",
        OrNull(file), pages, pos, hiRes ? "Hi" : "Lo", OrNull(title));
    CheckCPAttachment();
    if (!msgstore::FolderStillOwned(this, m_strFolder)) {
        // Without its own folder the copy would land outside it, or in another
        // message's folder that took the name.
        Log(kCategory, "CFaxMessage::AddFaxAttachment: No message folder");
        return 0;
    }

    ATTACHMENT_DESCR* pRecord = pos < 1 ? m_arrAttachments.GetAt(0) : new ATTACHMENT_DESCR();
    pRecord->bHiRes = hiRes != 0;
    CopyField(pRecord->szFileName, GenerateNewNameFromExistingFile(file, (DWORD)pos));
    CopyField(pRecord->szTitle, title);
    pRecord->nPages = (UINT)pages;
    CopyIntoRecord(file, pRecord);
    if (pos >= 1) {
        m_arrAttachments.Add(pRecord);
    }
    return 0;
}

int CFaxMessage::GetAttachmentsCount() {
    return (int)m_arrAttachments.GetSize();
}

// Entry getters: an index at or past the end is logged and answered with the
// empty value; a negative one is left to the array's bounds check, which throws.
CString CFaxMessage::GetAttachmentFileName(int iNumber) {
    if (iNumber >= m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::GetAttachmentFileName: Wrong attachment number: %d", iNumber);
        return CString();
    }
    return CString(m_arrAttachments.GetAt(iNumber)->szFileName);
}

CString CFaxMessage::GetAttachmentTitle(int iNumber) {
    if (iNumber >= m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::GetAttachmentTitle: Wrong attachment number: %d", iNumber);
        return CString();
    }
    return CString(m_arrAttachments.GetAt(iNumber)->szTitle);
}

bool CFaxMessage::GetAttachmentHiRes(int iNumber) {
    if (iNumber >= m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::GetAttachmentHiRes: Wrong attachment number: %d", iNumber);
        return false;
    }
    return m_arrAttachments.GetAt(iNumber)->bHiRes;
}

UINT CFaxMessage::GetAttachmentPages(int iNumber) {
    if (iNumber >= m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::GetAttachmentPages: Wrong attachment number: %d", iNumber);
        return 0;
    }
    return m_arrAttachments.GetAt(iNumber)->nPages;
}

bool CFaxMessage::DeleteAttachment(int iNumber) {
    Log(kCategory, "CFaxMessage::DeleteAttachment: iNumber: %d", iNumber);
    if (iNumber >= m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::DeleteAttachment: Wrong number: %d", iNumber);
        return false;
    }
    ATTACHMENT_DESCR* pRecord = m_arrAttachments.GetAt(iNumber);
    if (pRecord == NULL) {
        Log(kCategory, "CFaxMessage::DeleteAttachment: lpAttachment == NULL");
        return false;
    }
    m_arrAttachments.RemoveAt(iNumber);
    msgstore::ReleaseRecord(pRecord);
    return true;
}

// The entry's former file stays where it is; only its name in the record
// changes, and its pages, resolution and title are kept.
bool CFaxMessage::SaveAttachment(DWORD ulAttachNum, const char* lpszFileNameToSave) {
    Log(kCategory, "CFaxMessage::SaveAttachment: ulAttachNum: %d, lpszFileNameToSave: %s", (int)ulAttachNum,
        OrNull(lpszFileNameToSave));
    if (ulAttachNum >= (DWORD)m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::SaveAttachment: Wrong attachment number");
        return false;
    }
    if (!msgstore::FolderStillOwned(this, m_strFolder)) {
        Log(kCategory, "CFaxMessage::SaveAttachment: No message folder");
        return false;
    }
    ATTACHMENT_DESCR* pRecord = m_arrAttachments.GetAt((INT_PTR)ulAttachNum);
    CopyField(pRecord->szFileName, GenerateNewNameFromExistingFile(lpszFileNameToSave, ulAttachNum));
    CopyIntoRecord(lpszFileNameToSave, pRecord);
    return true;
}

// With the cover page in use, index 0 counts as exactly one page whatever its
// record says; without it, index 0 counts like any other entry.
UINT CFaxMessage::CountTotalPages() {
    UINT total = m_bUseFaxCoverPage ? 1 : 0;
    for (INT_PTR i = m_bUseFaxCoverPage ? 1 : 0; i < m_arrAttachments.GetSize(); ++i) {
        total += m_arrAttachments.GetAt(i)->nPages;
    }
    return total;
}

bool CFaxMessage::SwapAttachments(int iFirst, int iSecond) {
    Log(kCategory, "CFaxMessage::SwapAttachments: iFirst: %d, iSecond: %d )", iFirst, iSecond);
    if (iFirst == iSecond) {
        return true;
    }
    const int last = (int)m_arrAttachments.GetSize() - 1;
    if (iFirst < 0 || iFirst > last || iSecond < 0 || iSecond > last) {
        return false;
    }
    ATTACHMENT_DESCR* pFirst = m_arrAttachments.GetAt(iFirst);
    m_arrAttachments.SetAt(iFirst, m_arrAttachments.GetAt(iSecond));
    m_arrAttachments.SetAt(iSecond, pFirst);
    return true;
}

// Moves the entries named by arrIndices (indices into the list as it stood
// before the call) so that they stand together, in the order of arrIndices,
// from iTarget on:
//   list V W X Y Z, indices [1, 3], target 4  ->  V X W Y Z, indices become [1, 2]
//   list V W X Y Z, indices [3, 1], target 0  ->  Y W V X Z
//   target below 0 -> block at the front; beyond the end -> block at the end
// Every index is checked before any entry moves: a bad one throws the
// invalid-argument exception with the list and the caller's array untouched,
// so no record is ever dropped from the list half-way.
bool CFaxMessage::MoveAttachments(CDWordArray& arrIndices, int iTarget) {
    const INT_PTR n = arrIndices.GetSize();
    std::vector<int> indices(static_cast<size_t>(n));
    for (INT_PTR k = 0; k < n; ++k) {
        indices[static_cast<size_t>(k)] = (int)arrIndices.GetAt(k);
    }

    // Dry run over the sizes alone: each round removes one entry.
    {
        std::vector<int> check = indices;
        int size = (int)m_arrAttachments.GetSize();
        for (size_t k = 0; k < check.size(); ++k) {
            const int i = check[k];
            if (i < 0 || i >= size) {
                AfxThrowInvalidArgException();
            }
            --size;
            for (size_t later = k + 1; later < check.size(); ++later) {
                if (check[later] > i) {
                    --check[later];
                }
            }
        }
    }

    CTypedPtrArray<CPtrArray, ATTACHMENT_DESCR*> block;
    for (size_t k = 0; k < indices.size(); ++k) {
        const int i = indices[k];
        block.Add(m_arrAttachments.GetAt(i));
        m_arrAttachments.RemoveAt(i);
        if (i < iTarget) {
            --iTarget;
        }
        const int size = (int)m_arrAttachments.GetSize();
        iTarget = iTarget < 0 ? 0 : (iTarget > size ? size : iTarget);
        for (size_t later = k + 1; later < indices.size(); ++later) {
            if (indices[later] > i) {
                --indices[later];
                arrIndices.SetAt((INT_PTR)later, (DWORD)indices[later]);
            }
        }
    }
    for (INT_PTR k = 0; k < block.GetSize(); ++k) {
        m_arrAttachments.InsertAt(iTarget + k, block.GetAt(k));
    }
    return true;
}

// Both messages then name the same file, in the folder of the message that
// made the record; the record counts one more holder.
bool CFaxMessage::LinkAttachment(CFaxMessage* pOther, int iAttNum) {
    Log(kCategory, "CFaxMessage::LinkAttachment: iAttNum: %d", iAttNum);
    if (pOther == NULL || iAttNum < 0 || iAttNum >= pOther->m_arrAttachments.GetSize()) {
        Log(kCategory, "CFaxMessage::LinkAttachment: Wron parameters");
        return false;
    }
    ATTACHMENT_DESCR* pRecord = pOther->m_arrAttachments.GetAt(iAttNum);
    ++pRecord->nLinks;
    CheckCPAttachment();
    m_arrAttachments.Add(pRecord);
    return true;
}

// Takes iCount records of pSrc from iSrcPos on into this message from
// iDestPos on, releasing the entries they replace; records that run past the
// end are appended. The records change holder without a change of nLinks.
// Refused as "Wron parameters", before anything changes: a destination below
// 0 or past the end of this list (either would leave the list with a gap or
// throw half-way), and a message grabbing from itself (its own entries would
// be released while they are being moved).
bool CFaxMessage::GrabAttachments(CFaxMessage* pSrc, int iDestPos, int iSrcPos, int iCount) {
    Log(kCategory, "CFaxMessage::GrabAttachment: iDestPos = %d , iSrcPos = %d , iCount = %d ", iDestPos, iSrcPos,
        iCount);
    if (pSrc == NULL) {
        Log(kCategory, "CFaxMessage::GrabAttachments: Invalid message");
        return false;
    }
    const int srcSize = (int)pSrc->m_arrAttachments.GetSize();
    if (iCount < 0) {
        const long long rest = (long long)srcSize - iSrcPos;
        iCount = rest > INT_MAX ? INT_MAX : (int)rest;  // a negative iSrcPos is refused below
        if (rest < 0) {
            Log(kCategory, "CFaxMessage::GrabAttachments: Wron iCount parameters");
            return false;
        }
    }
    if (iCount == 0) {
        Log(kCategory, "CFaxMessage::GrabAttachments: Wron iCount parameters");
        return false;
    }
    const int destSize = (int)m_arrAttachments.GetSize();
    if (iSrcPos < 0 || (long long)iSrcPos + iCount - 1 >= srcSize || pSrc == this || iDestPos < 0 || iDestPos > destSize) {
        Log(kCategory, "CFaxMessage::GrabAttachments: Wron parameters");
        return false;
    }

    for (int k = 0; k < iCount; ++k) {
        const int p = iDestPos + k;
        if (p < destSize) {
            DeleteAttachment(p);
        }
        m_arrAttachments.InsertAt(p, pSrc->m_arrAttachments.GetAt(iSrcPos + k));
    }
    pSrc->m_arrAttachments.RemoveAt(iSrcPos, iCount);
    return true;
}
