// Binary files through the Win32 file API.
//   CFileStatus  times, size, attributes and full path of a file
//   CFile        an open file handle with throwing Read/Write/Seek
#pragma once

#include <afxexcept.h>
#include <afxtime.h>

struct CFileStatus {
    CTime m_ctime;           // creation (0 where the file system keeps none)
    CTime m_mtime;           // last write
    CTime m_atime;           // last access
    ULONGLONG m_size;        // bytes
    BYTE m_attribute;        // CFile::Attribute bits
    BYTE m_padding;
    TCHAR m_szFullName[MAX_PATH];
};

// Owns m_hFile while it is open (from Open or the name constructor) and
// closes it on destruction; a CFile built around a caller's handle leaves
// that handle to the caller. Failures throw CFileException* naming the file,
// except Open, which reports through its optional CFileException.
class WINPORT_API CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,  // treated as shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,  // with modeCreate: open an existing file as it is
        typeText = 0x4000,        // CFile is always binary: both type flags are ignored
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000
    };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;  // INVALID_HANDLE_VALUE

    CFile();
    explicit CFile(HANDLE hFile);  // borrowed: not closed on destruction
    // Opens as Open does, throwing CFileException* on failure.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    operator HANDLE() const { return m_hFile; }

    // Opens or creates the file. On failure returns FALSE and, when pError is
    // given, fills its cause, Win32 error and file name. A file already open
    // in this object is closed first. A name of MAX_PATH characters or more
    // fails with badPath.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    // Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes; a short write throws diskFull.
    virtual void Write(const void* lpBuf, UINT nCount);
    // Moves the file pointer; returns the new position from the start.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    [[nodiscard]] virtual ULONGLONG GetPosition() const;
    [[nodiscard]] virtual ULONGLONG GetLength() const;
    // Cuts or extends (with zeros) the file; the pointer ends at the new end.
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    // Close throws when the handle cannot be closed; Abort never throws.
    virtual void Close();
    virtual void Abort();

    // The name part of the path (after the last \ or /), without and with
    // the extension; the full path the file was opened under.
    [[nodiscard]] virtual CString GetFileName() const;
    [[nodiscard]] virtual CString GetFileTitle() const;
    [[nodiscard]] virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCTSTR lpszNewName);

    // Status of the open file; FALSE when its times cannot be read.
    BOOL GetStatus(CFileStatus& rStatus) const;
    // Status of a named file; FALSE when it does not exist (m_szFullName is
    // still filled when the path could be made absolute).
    static BOOL AFXAPI GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    static void AFXAPI Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void AFXAPI Remove(LPCTSTR lpszFileName);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};
