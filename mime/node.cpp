// CMIMENode and CMIMEMessage: a header and a body, shared between copies,
// and the message file.
#include <xwth/mime.h>

#include <TQLog.h>
#include <comdef.h>

#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

const char kCategory[] = "XWTH";

// Copies of a node hold the same header and body, each holder with its owner
// flag set. Who deletes is settled here: the table counts, for every shared
// object, the holders beyond the first; a node letting go of an object with
// a count gives it up and lowers the count, the last one deletes it. Objects
// that were never copied have no entry, so the common case costs a lookup
// in an empty table.
class SharedObjects {
public:
    void Add(const void* p) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_extra[p];
    }
    // True when another holder remains (the caller must not delete).
    bool Remove(const void* p) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_extra.find(p);
        if (it == m_extra.end()) return false;
        if (--it->second == 0) m_extra.erase(it);
        return true;
    }

private:
    std::mutex m_mutex;
    std::unordered_map<const void*, unsigned long> m_extra;
};

SharedObjects& Shared() {
    static SharedObjects* const table = new SharedObjects();  // outlives every static node
    return *table;
}

template <class T>
void Share(const CSafePtr<T>& holder) {
    if (holder.m_p != NULL && holder.m_bOwner) Shared().Add(holder.m_p);
}

template <class T>
void LetGo(CSafePtr<T>& holder) {
    if (holder.m_p != NULL && holder.m_bOwner && Shared().Remove(holder.m_p))
        holder.Detach();
    else
        holder.Reset();
}

// The file SaveToFile writes through. Its writes gather in memory and reach
// the disk in one write when it is flushed, closed or moved: the separating
// CR LF, the header block and the body of a message land together, so a
// reader of a growing mailbox never meets part of one, and an append costs
// one system call where it took three. A piece that would take the gathered
// bytes past kLimit goes straight through, after what was gathered.
class CGatheringFile : public CFile {
public:
    void Write(const void* lpBuf, UINT nCount) override {
        if (nCount == 0) return;
        if (lpBuf == NULL) AfxThrowInvalidArgException();
        if (m_pending.size() + nCount > kLimit) {
            WriteGathered();
            CFile::Write(lpBuf, nCount);
            return;
        }
        const BYTE* p = static_cast<const BYTE*>(lpBuf);
        m_pending.insert(m_pending.end(), p, p + nCount);
    }
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override {
        WriteGathered();
        return CFile::Seek(lOff, nFrom);
    }
    ULONGLONG GetPosition() const override { return CFile::GetPosition() + m_pending.size(); }
    ULONGLONG GetLength() const override {
        const ULONGLONG ullEnd = GetPosition();
        const ULONGLONG ullLength = CFile::GetLength();
        return ullEnd > ullLength ? ullEnd : ullLength;
    }
    void SetLength(ULONGLONG dwNewLen) override {
        WriteGathered();
        CFile::SetLength(dwNewLen);
    }
    void Flush() override {
        WriteGathered();
        CFile::Flush();
    }
    void Close() override {
        WriteGathered();
        CFile::Close();
    }
    void Abort() override {
        Discard();
        CFile::Abort();
    }
    // Forgets what is gathered (a failed message is not to be written).
    void Discard() { m_pending.clear(); }

private:
    static constexpr std::size_t kLimit = 64 * 1024;

    void WriteGathered() {
        if (m_pending.empty()) return;
        std::vector<BYTE> pending;
        pending.swap(m_pending);  // written or failed, it is not written again
        CFile::Write(pending.data(), static_cast<UINT>(pending.size()));
    }

    std::vector<BYTE> m_pending;
};

}  // namespace

CMIMENode::CMIMENode() {
    m_pHeader.Attach(new CMIMEHeader());
    m_pBody.Attach(new CMIMEBody());
}

CMIMENode::CMIMENode(const CMIMENode& other)
    : CMIMEBase(other), m_pHeader(other.m_pHeader), m_pBody(other.m_pBody) {
    Share(m_pHeader);
    Share(m_pBody);
}

CMIMENode& CMIMENode::operator=(const CMIMENode& other) {
    // Count the new objects before letting the old ones go: they may be the
    // same, and other may be this node (read before LetGo clears it).
    CMIMEHeader* const pHeader = other.m_pHeader.m_p;
    CMIMEBody* const pBody = other.m_pBody.m_p;
    const bool bHeaderOwner = other.m_pHeader.m_bOwner;
    const bool bBodyOwner = other.m_pBody.m_bOwner;
    Share(other.m_pHeader);
    Share(other.m_pBody);
    LetGo(m_pBody);
    LetGo(m_pHeader);
    m_pHeader.m_p = pHeader;
    m_pHeader.m_bOwner = bHeaderOwner;
    m_pBody.m_p = pBody;
    m_pBody.m_bOwner = bBodyOwner;
    return *this;
}

CMIMENode::~CMIMENode() {
    LetGo(m_pBody);
    LetGo(m_pHeader);
}

void CMIMENode::SaveTo(CFile& file) const {
    m_pHeader->SaveTo(file);
    m_pBody->SaveTo(file);
}

CMIMEHeader& CMIMENode::GetHeader() const { return *m_pHeader; }

CMIMEBody& CMIMENode::GetBody() const { return *m_pBody; }

CMIMEMessage::CMIMEMessage() = default;
CMIMEMessage::CMIMEMessage(const CMIMEMessage& other) = default;
CMIMEMessage::~CMIMEMessage() = default;

// What a failure leaves:
//   new file (or append to a missing one)   the file removed, if this call opened it
//   append to an existing file             the file cut back to its old length
//   the open refused (sharing, folder)      the file untouched
// An append, also the one that creates the mailbox, is flushed (fsync)
// before true is returned: a mailbox holds mail that exists nowhere else.
// A new file is not: its writer can write it again.
// The separating CR LF, the header block and the body each go to the file in
// one Write, which CGatheringFile passes on to the disk as one write.
bool CMIMEMessage::SaveToFile(const char* path, bool append) const {
    static const BYTE kCrLf[2] = {'\r', '\n'};
    CGatheringFile file;
    bool bAppending = false;
    bool bOpened = false;
    ULONGLONG ullOldLength = 0;
    try {
        // An append opens the mailbox or creates it in one call; CFile::Open
        // leaves CreateFile's answer in the last error, ERROR_ALREADY_EXISTS
        // when the file was there.
        const UINT nFlags = CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeBinary |
                            (append ? UINT(CFile::modeNoTruncate) : 0u);
        CFileException e;
        if (!file.Open(path, nFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
        bAppending = append && GetLastError() == ERROR_ALREADY_EXISTS;
        bOpened = true;
        if (bAppending) {
            ullOldLength = file.SeekToEnd();
            file.Write(kCrLf, sizeof kCrLf);
        }
        SaveTo(file);
        if (append) file.Flush();
        file.Close();
        return true;
    } catch (_com_error&) {
    } catch (CException* e) {
        Log(kCategory, "CException* in CMIMEMessage::SaveToFile");
        e->Delete();
    } catch (...) {
        Log(kCategory, "Unknown Exception in CMIMEMessage::SaveToFile");
    }
    if (!bOpened) return false;
    file.Discard();
    if (bAppending) {
        try {
            file.SetLength(ullOldLength);
            file.Flush();
        } catch (CException* e) {
            e->Delete();
        }
        file.Abort();
    } else {
        file.Abort();
        try {
            CFile::Remove(path);
        } catch (CException* e) {
            e->Delete();
        }
    }
    return false;
}
