// CFaxDesc: a "TQFM" fax description file.
//
// The file is text, one field per line after a header line:
//
//   TQFM 0.1
//   To:+1 555 0100
//   Page3:cover.tif
//
// written in text mode (so with CR LF on Windows) and read in text mode. A
// line is name, colon, value; nothing is quoted, so a value with a line
// break or a name with a colon does not survive a store and a load.
//
// Loading, line by line (the table is the same in the tests):
//
//   line                 field
//   To:123 ... To:456    To = "456", at the position of the first To line
//   a:b:c                a = "b:c"            (the first colon splits)
//   Key:                 Key = ""
//   :x                   "" = "x"
//   Name: x              Name = " x"          (blanks are kept)
//   NoColonHere          none                 (passed over silently)
//
// Lines are read in pieces of at most 510 characters; each piece of a longer
// line counts as a line of its own. A NUL byte ends the text of its piece.
// One trailing line feed is dropped, and the carriage return before it, so
// that both builds read a file written by either the same way (the Windows
// runtime's text mode removes that CR itself).
#include <xwth/faxdesc.h>

#include <share.h>
#include <stdio.h>
#include <string.h>

namespace {

const char kHeaderWord[] = "TQFM";
constexpr int kVersionMajor = 0;
constexpr int kVersionMinor = 1;

// The read buffer holds 510 characters of a line, its terminator and a spare byte.
constexpr int kLineBuffer = 512;
constexpr int kLinePiece = 510;

CString MakeKey(const char* name, int index) {
    CString key;
    if (index < 0) {
        key = name != NULL ? name : "";
    } else {
        key.Format("%s%1d", name != NULL ? name : "", index);
    }
    return key;
}

// Drops one trailing line end (LF or CR LF) from a line of length len.
void DropLineEnd(char* line, size_t len) {
    if (len > 0 && line[len - 1] == '\n') {
        line[--len] = '\0';
        if (len > 0 && line[len - 1] == '\r') {
            line[len - 1] = '\0';
        }
    }
}

}  // namespace

CFaxDesc::CFaxDesc() {}

CFaxDesc::~CFaxDesc() {
    Release();
}

void CFaxDesc::Release() {
    m_arrNames.RemoveAll();
    m_arrValues.RemoveAll();
}

int CFaxDesc::GetFieldNames(CStringArray& names) {
    names.Copy(m_arrNames);
    return 1;
}

int CFaxDesc::GetFieldNumber(const char* key) {
    for (INT_PTR i = 0; i < m_arrNames.GetSize(); ++i) {
        if (strcmp(m_arrNames[i], key) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CString CFaxDesc::GetFieldValue(const char* name, int index) {
    const int field = GetFieldNumber(MakeKey(name, index));
    return field >= 0 ? m_arrValues[field] : CString();
}

int CFaxDesc::SetFieldValue(const char* name, const char* value, int index) {
    const CString key = MakeKey(name, index);
    const char* text = value != NULL ? value : "";
    const int field = GetFieldNumber(key);
    if (field >= 0) {
        m_arrValues[field] = text;
    } else {
        // Grow the values first: should the second Add fail, the names are
        // put back so the two arrays keep one length.
        m_arrValues.Add(text);
        try {
            m_arrNames.Add(key);
        } catch (...) {
            m_arrValues.RemoveAt(m_arrValues.GetSize() - 1);
            throw;
        }
    }
    return 1;
}

int CFaxDesc::SetFieldValueCheckEmpty(const char* name, const CString& value, int index) {
    if (value.IsEmpty()) {
        return 1;
    }
    return SetFieldValue(name, value, index);
}

int CFaxDesc::StoreTo(const char* path) {
    FILE* f = path != NULL ? _fsopen(path, "w+", _SH_DENYNO) : NULL;
    if (f == NULL) {
        return -2;
    }
    fprintf(f, "%s %d.%d\n", kHeaderWord, kVersionMajor, kVersionMinor);
    for (INT_PTR i = 0; i < m_arrNames.GetSize(); ++i) {
        fprintf(f, "%s:%s\n", (LPCSTR)m_arrNames[i], (LPCSTR)m_arrValues[i]);
    }
    fclose(f);
    return 0;
}

int CFaxDesc::LoadFrom(const char* path) {
    FILE* f = path != NULL ? _fsopen(path, "rt", _SH_DENYNO) : NULL;
    if (f == NULL) {
        return -2;
    }
    // The word is read bounded to its buffer: a longer first word is read in
    // part, which is not the header word either.
    char word[kLineBuffer] = {0};
    int major = 0, minor = 0;
    if (fscanf(f, "%511s %d.%d", word, &major, &minor) < 1 || strcmp(word, kHeaderWord) != 0) {
        fclose(f);
        return -3;
    }
    Release();
    char line[kLineBuffer] = {0};
    while (fgets(line, kLinePiece + 1, f) != NULL) {
        DropLineEnd(line, strlen(line));
        if (char* colon = strchr(line, ':')) {
            *colon = '\0';
            SetFieldValue(line, colon + 1, -1);
        }
    }
    fclose(f);
    return 0;
}
