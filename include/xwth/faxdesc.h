// CFaxDesc: the named text fields of a fax description ("TQFM") file.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <xwth/export.h>

// An ordered table of named text fields, kept in memory and stored to or
// loaded from a "TQFM" file. The object owns both arrays; element i of the
// values belongs to element i of the names, and the two always have the same
// length. A field exists once a value has been set for its name; names are
// unique and compared case-sensitively.
//
// Where a call takes a name and an index, the field's key is the name alone
// for an index below 0, else the name followed by the index in decimal:
// ("Page", 3) is the key "Page3", ("Page", -1) the key "Page".
class XWTH_API CFaxDesc {
public:
    CFaxDesc();
    virtual ~CFaxDesc();

    // Replaces names' contents by the field names in table order; always 1.
    int GetFieldNames(CStringArray& names);
    // The field's value, or the empty string when there is no such field.
    [[nodiscard]] CString GetFieldValue(const char* name, int index);
    // Sets the field, appending it when new; always 1.
    int SetFieldValue(const char* name, const char* value, int index);
    // As SetFieldValue, except that an empty value changes nothing (1).
    int SetFieldValueCheckEmpty(const char* name, const CString& value, int index);

    // 0, or -2 when the file cannot be opened for writing.
    int StoreTo(const char* path);
    // 0, -2 when the file cannot be opened, -3 when it is no "TQFM" file;
    // on -2 and -3 the table is left as it was.
    int LoadFrom(const char* path);

private:
    void Release();
    [[nodiscard]] int GetFieldNumber(const char* key);

    CStringArray m_arrNames;
    CStringArray m_arrValues;
};
