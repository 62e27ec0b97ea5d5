// The MIME message writer: header fields, bodies and messages written as
// RFC 822 text to a file or appended to a mailbox file.
//   CMIMEBase     the abstract root of the writer's classes
//   CMIMEField    one header field: name, value and their cached byte lengths
//   CSafePtr<T>   a holder that owns (deletes) the object it holds
//   CMIMEHeader   the fields in the order they were added, and their builders
//   CMIMEBody     the body bytes
//   CMIMENode     one header and one body
//   CMIMEMessage  a node that writes itself to a file
//   MIMEMakePeopleString, MIMEGetDateString
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>
#include <objidl.h>

#include <TQTH.h>

#include <xwth/export.h>

class XWTH_API CMIMEBase {
public:
    CMIMEBase() = default;
    CMIMEBase(const CMIMEBase&) = default;
    CMIMEBase& operator=(const CMIMEBase&) = default;
    virtual ~CMIMEBase();
    virtual void SaveTo(CFile& file) const = 0;
};

// A header field as it is written: the name exactly as given (with its colon
// where it has one; none is added), one space, the value, CR LF. The two
// lengths are the byte counts up to the first NUL, kept up to date by every
// change so that sizing and writing a header never rescans the texts.
class XWTH_API CMIMEField : public CMIMEBase {
public:
    CMIMEField();
    // Null texts read as empty ones.
    CMIMEField(const char* name, const char* value);
    CMIMEField(const CMIMEField& other);
    ~CMIMEField() override;

    // A single field writes nothing: fields are written through their header.
    void SaveTo(CFile& file) const override;
    virtual CMIMEField& operator=(const char* value);
    virtual CMIMEField& operator=(const CMIMEField& other);
    virtual operator const char*() const;
    // True when the value is not empty: only such fields reach the file.
    virtual operator bool() const;
    virtual bool operator!() const;
    // The whole name, colon included, compared without regard to case.
    [[nodiscard]] virtual bool IsField(const char* name) const;
    virtual void SetName(const char* name);
    virtual void SetValue(const char* value);
    virtual void AddToValue(const char* text);
    // A folded continuation line: CR LF, a space, the text.
    virtual void AddNewLine(const char* text);
    // The next item of a list on its own line: a comma, CR LF, a space, the text.
    virtual void AddPart(const char* text);
    // Writes exactly GetSize() bytes, no NUL.
    virtual void SaveTo(BYTE* dest) const;
    [[nodiscard]] virtual DWORD GetSize() const;

    CString m_strName;
    CString m_strValue;
    DWORD m_dwNameLen;
    DWORD m_dwValueLen;
};

// Owns the object it holds: deletes it when reset, destroyed or given a new
// one, unless m_bOwner is false. A holder that gives its object up (Detach)
// deletes nothing. Copies are member by member, so two holders copied from
// one another both own the object: whoever copies them settles which one
// deletes it (CMIMENode does, by counting).
template <class T>
class CSafePtr {
public:
    CSafePtr() : m_p(NULL), m_bOwner(true) {}
    CSafePtr(const CSafePtr&) = default;
    CSafePtr& operator=(const CSafePtr&) = default;
    virtual ~CSafePtr() { Reset(); }

    // Deletes the held object (when owned) and holds p, owned.
    void Attach(T* p) {
        Reset();
        m_p = p;
    }
    // Deletes the held object (when owned); holds nothing afterwards.
    void Reset() {
        T* p = m_p;
        const bool bOwner = m_bOwner;
        m_p = NULL;
        m_bOwner = true;
        if (p != NULL && bOwner) delete p;
    }
    // Gives the object up without deleting it.
    T* Detach() {
        T* p = m_p;
        m_p = NULL;
        m_bOwner = true;
        return p;
    }

    [[nodiscard]] T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }

    T* m_p;
    bool m_bOwner;
};

// Owns its fields: a field is deleted when it is removed and when the header
// goes. Pointers returned by the builders and operator[] stay valid until
// then, and a change made through them is written by the next save.
// Duplicate names are kept; nothing is sorted, merged or replaced.
class XWTH_API CMIMEHeader : public CMIMEBase {
public:
    CMIMEHeader();
    CMIMEHeader(const CMIMEHeader&) = delete;
    CMIMEHeader& operator=(const CMIMEHeader&) = delete;
    ~CMIMEHeader() override;

    // The fields with a non-empty value, in order, then CR LF, in one Write.
    void SaveTo(CFile& file) const override;
    // Every builder adds its fields through AddField, and AddSender through
    // AddSenderFields, so a derived class sees every addition.
    virtual CMIMEField* AddField(const char* name, const char* value);
    // "Date:" with MIMEGetDateString(time); COleException* as there.
    virtual CMIMEField* AddDateField(FILETIME& time);
    // "Return-Path:", "Errors-To:", "Reply-To:", then "From:"; returns "From:".
    virtual CMIMEField* AddSender(const char* name, const char* address);
    // "To:" with every address after the first on a line of its own; NULL
    // and no field for an empty list.
    virtual CMIMEField* AddRecipients(CStringArray& list);
    virtual CMIMEField* AddSubject(const char* text);
    virtual CMIMEField* AddMIMEVersion();
    // NULL text: text/plain in the Windows-1252 character set.
    virtual CMIMEField* AddContentType(const char* text);
    // The mailbox separator line "From <sender> <date>"; NULL and no field
    // for an empty sender. COleException* as MIMEGetDateString.
    virtual CMIMEField* AddFrom(const char* sender, FILETIME& time);
    virtual CMIMEField* AddImportance(const char* text);
    // The three reply fields, each the address in angle brackets.
    virtual void AddSenderFields(const char* name, const char* address);
    // The first field whose whole name (colon included) matches, or NULL.
    virtual CMIMEField* operator[](const char* name) const;

protected:
    // CInvalidArgException* for an index outside 0..count-1.
    void RemoveField(int index);
    void RemoveAllFields();

    CArray<CMIMEField*, CMIMEField*> m_arrFields;
};

// The body bytes exactly as set: no terminating NUL, no conversion. Copies
// share the bytes (CMemBlock counts its holders); SetPlainText on one of
// them gives it a block of its own.
class XWTH_API CMIMEBody : public CMIMEBase {
public:
    CMIMEBody();
    CMIMEBody(const CMIMEBody& other);
    CMIMEBody& operator=(const CMIMEBody& other);
    ~CMIMEBody() override;

    // The bytes in one Write; nothing for an empty body.
    void SaveTo(CFile& file) const override;
    // The stream's bytes from its current position, as many as Stat reports
    // for its whole size. _com_error for a failing Stat or Read (its status)
    // and for a short read (E_FAIL). The stream is not rewound, AddRef'd or
    // released.
    virtual void SetPlainText(IStream* stream);
    // The bytes up to the NUL; NULL empties the body.
    virtual void SetPlainText(const char* text);

    CMemBlock m_memText;
};

// One header and one body, owned. Copies share both objects with their
// source; the last node to let go of an object deletes it, and an assignment
// lets go of the target's old objects in the same way.
class XWTH_API CMIMENode : public CMIMEBase {
public:
    CMIMENode();
    CMIMENode(const CMIMENode& other);
    CMIMENode& operator=(const CMIMENode& other);
    ~CMIMENode() override;

    // The header block, then the body bytes.
    void SaveTo(CFile& file) const override;
    [[nodiscard]] virtual CMIMEHeader& GetHeader() const;
    [[nodiscard]] virtual CMIMEBody& GetBody() const;

    CSafePtr<CMIMEHeader> m_pHeader;
    CSafePtr<CMIMEBody> m_pBody;
};

class XWTH_API CMIMEMessage : public CMIMENode {
public:
    CMIMEMessage();
    CMIMEMessage(const CMIMEMessage& other);
    CMIMEMessage& operator=(const CMIMEMessage& other) = default;
    ~CMIMEMessage() override;

    // Writes the message to a new file (or over an existing one), or, with
    // append and an existing file, adds CR LF and the message at its end.
    // False on any failure, with the "XWTH" log line for a framework or
    // unknown exception: a new file is then removed, an existing mailbox cut
    // back to its earlier length. An append is on disk (flushed) when this
    // returns true.
    virtual bool SaveToFile(const char* path, bool append) const;
};

// "name <address>", "name", "<address>" or "", by which of the two is given.
XWTH_API CString MIMEMakePeopleString(const char* name, const char* address);

// A UTC time as the local "Wed Jan 02 02:03:55 1980 -0500": the local time
// with daylight saving applied, then the standard-time offset in whole hours
// (minutes always 00). A local year before 1900 reads as 1970-01-01 00:00:00
// UTC. COleException* (E_INVALIDARG) for a local year from 1900 to 1969,
// for times past 3000 and when the conversion fails.
XWTH_API CString MIMEGetDateString(FILETIME& time);
