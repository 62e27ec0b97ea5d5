// The MIME writer: header bytes of every builder, people and date strings,
// message and mailbox files against the golden files, and the failure paths.
#include <xwth/mime.h>

#include <afxdisp.h>
#include <comdef.h>
#include <shlwapi.h>

#include <functional>
#include <utility>

#include "mime/mime_support.h"
#include "support/wine.h"

namespace {

using mime_test::FillSample;
using mime_test::Golden;
using mime_test::LogCapture;
using mime_test::MakeFileTime;
using mime_test::Zone;
using xwth_test::FileExists;
using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

// Gives the protected list operations to the tests.
class TestHeader : public CMIMEHeader {
public:
    using CMIMEHeader::RemoveField;
    [[nodiscard]] INT_PTR Count() const { return m_arrFields.GetSize(); }
};

std::string Saved(const CMIMEBase& part) {
    TempDir dir;
    {
        CFile file(dir.file("out").c_str(), CFile::modeCreate | CFile::modeWrite);
        part.SaveTo(file);
    }
    return ReadFileBytes(dir.file("out"));
}

TEST(MIMEHeaderTest, BuildersWriteTheirFields) {
    FILETIME ft = MakeFileTime(1980, 1, 2, 2, 3, 55);
    struct Case { std::function<CMIMEField*(CMIMEHeader&)> build; bool returnsField; const char* bytes; };
    const Case cases[] = {
        {[](CMIMEHeader&) { return nullptr; }, false, "\r\n"},
        {[](CMIMEHeader& h) { return h.AddSubject(NULL); }, true, "\r\n"},
        {[](CMIMEHeader& h) { return h.AddSubject(""); }, true, "\r\n"},
        {[](CMIMEHeader& h) { return h.AddSender("", "a@b.c"); }, true,
         "Return-Path: <a@b.c>\r\nErrors-To: <a@b.c>\r\nReply-To: <a@b.c>\r\nFrom: <a@b.c>\r\n\r\n"},
        {[](CMIMEHeader& h) { return h.AddSender("Ann", NULL); }, true, "From: Ann\r\n\r\n"},
        {[](CMIMEHeader& h) { CStringArray a; a.Add("x@y"); return h.AddRecipients(a); }, true, "To: x@y\r\n\r\n"},
        {[](CMIMEHeader& h) { CStringArray a; return h.AddRecipients(a); }, false, "\r\n"},
        {[](CMIMEHeader& h) { return h.AddContentType(NULL); }, true,
         "Content-type: text/plain; charset=\"Windows-1252\"\r\n\r\n"},
        {[](CMIMEHeader& h) { return h.AddContentType(""); }, true, "\r\n"},
        {[&](CMIMEHeader& h) { return h.AddFrom("", ft); }, false, "\r\n"},
        {[&](CMIMEHeader& h) { return h.AddFrom(NULL, ft); }, false, "\r\n"},
        {[](CMIMEHeader& h) { return h.AddMIMEVersion(); }, true, "MIME-Version: 1.0\r\n\r\n"},
        {[](CMIMEHeader& h) { return h.AddField(NULL, "v"); }, true, " v\r\n\r\n"},
        {[](CMIMEHeader& h) {
             CMIMEField* f = h.AddImportance("low");
             f->AddToValue("er");
             f->AddNewLine("next");
             f->AddPart("last");
             return f;
         }, true, "Importance: lower\r\n next,\r\n last\r\n\r\n"},
        {[](CMIMEHeader& h) { CMIMEField* f = h.AddField("A:", "1"); *f = ""; return f; }, true, "\r\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CMIMEHeader header;
        CMIMEField* field = cases[i].build(header);
        EXPECT_EQ(field != nullptr, cases[i].returnsField) << "case " << i;
        EXPECT_EQ(Saved(header), cases[i].bytes) << "case " << i;
        if (field != nullptr) {
            EXPECT_EQ(field->GetSize(), std::strlen(field->m_strName) + std::strlen(*field) + 3) << "case " << i;
        }
    }
}

TEST(MIMEHeaderTest, LookupAndRemoval) {
    TestHeader header;
    CMIMEField* subject = header.AddSubject(NULL);
    header.AddField("subject:", "second");
    EXPECT_EQ(header["SUBJECT:"], subject);
    EXPECT_EQ(header["Subject"], nullptr);
    EXPECT_EQ(header[NULL], nullptr);
    for (int bad : {2, -1}) {
        try {
            header.RemoveField(bad);
            ADD_FAILURE() << bad << ": no exception";
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
    header.RemoveField(0);
    EXPECT_EQ(header.Count(), 1);
    EXPECT_STREQ(*header["Subject:"], "second");
}

TEST(MIMEStringsTest, PeopleString) {
    const struct { const char* name; const char* address; const char* want; } cases[] = {
        {"Ann", "a@b", "Ann <a@b>"}, {NULL, "a@b", "<a@b>"}, {"", "a@b", "<a@b>"},
        {"Ann", NULL, "Ann"},        {"Ann", "", "Ann"},     {NULL, NULL, ""},
        {"\"A, B\"", "a@b", "\"A, B\" <a@b>"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_STREQ(MIMEMakePeopleString(cases[i].name, cases[i].address), cases[i].want) << "case " << i;
    }
}

TEST(MIMEStringsTest, DateStringByZone) {
    const char* const kWineZone = "Wine's kernel32 keeps the zone it started in and ignores TZ set in the process";
    // "EST5EDT,0/0,J365/25" keeps daylight saving all year: the clock shows
    // EDT while the offset stays the standard -0500.
    struct Case { const char* tz; FILETIME ft; const char* want; const char* wine; };
    const Case cases[] = {
        {"GMT0", MakeFileTime(1980, 1, 2, 2, 3, 55), "Wed Jan 02 02:03:55 1980 -0000", nullptr},
        {"EST5", MakeFileTime(1980, 1, 2, 2, 3, 55), "Tue Jan 01 21:03:55 1980 -0500", kWineZone},
        {"CET-1", MakeFileTime(1980, 1, 2, 2, 3, 55), "Wed Jan 02 03:03:55 1980 +0100", kWineZone},
        {"IST-5:30", MakeFileTime(1980, 1, 2, 2, 3, 55), "Wed Jan 02 07:33:55 1980 +0500", kWineZone},
        {"EST5EDT,0/0,J365/25", MakeFileTime(1980, 1, 2, 2, 3, 55), "Tue Jan 01 22:03:55 1980 -0500", kWineZone},
        {"GMT0", MakeFileTime(1899, 12, 31, 23, 59, 59), "Thu Jan 01 00:00:00 1970 -0000", nullptr},
        {"EST5", MakeFileTime(1850, 6, 1, 12, 0, 0), "Wed Dec 31 19:00:00 1969 -0500", nullptr},
        {"GMT0", MakeFileTime(3000, 12, 31, 23, 59, 59), "Wed Dec 31 23:59:59 3000 -0000", nullptr},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Zone zone(cases[i].tz);
        FILETIME ft = cases[i].ft;
        TODO_WINE_EXPECT_STREQ(cases[i].want, MIMEGetDateString(ft).GetString(), cases[i].wine) << "case " << i;
    }
    // 1900 to 1969 and past 3000: the runtime cannot represent the time.
    const FILETIME refused[] = {MakeFileTime(1900, 1, 1, 0, 0, 0), MakeFileTime(1969, 12, 31, 23, 59, 59),
                                MakeFileTime(3001, 1, 1, 0, 0, 0)};
    Zone zone("GMT0");
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        FILETIME ft = refused[i];
        CMIMEHeader header;
        try {
            header.AddDateField(ft);
            ADD_FAILURE() << "case " << i << ": no exception";
        } catch (COleException* e) {
            EXPECT_EQ(static_cast<ULONG>(e->m_sc), 0x80070057u) << "case " << i;
            e->Delete();
        }
        EXPECT_STREQ(Saved(header).c_str(), "\r\n") << "case " << i;
    }
}

TEST(MIMEMessageTest, FilesAndMailboxesMatchTheGoldenBytes) {
    Zone zone("GMT0");
    TempDir dir;
    CMIMEMessage msg;
    FillSample(msg);
    const std::string golden = Golden("message.eml");
    ASSERT_FALSE(golden.empty());
    ASSERT_TRUE(msg.SaveToFile(dir.file("new.eml").c_str(), false));
    EXPECT_EQ(ReadFileBytes(dir.file("new.eml")), golden);

    WriteFileBytes(dir.file("box"), "earlier\n");
    ASSERT_TRUE(msg.SaveToFile(dir.file("box").c_str(), true));
    ASSERT_TRUE(msg.SaveToFile(dir.file("box").c_str(), true));
    EXPECT_EQ(ReadFileBytes(dir.file("box")), "earlier\n\r\n" + golden + "\r\n" + golden);
}

TEST(MIMEMessageTest, SmallFilesByStateAndMode) {
    // before: null means no file.
    struct Case { const char* before; bool append; const char* body; const char* want; };
    const Case cases[] = {
        {nullptr, false, nullptr, "\r\n"}, {nullptr, true, "", "\r\n"},
        {"", true, nullptr, "\r\n\r\n"},   {"old", false, "abc", "\r\nabc"},
        {"old", true, "abc", "old\r\n\r\nabc"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TempDir dir;
        const std::string path = dir.file("m");
        if (cases[i].before != nullptr) WriteFileBytes(path, cases[i].before);
        CMIMEMessage msg;
        msg.GetBody().SetPlainText("to be replaced");
        msg.GetBody().SetPlainText(cases[i].body);
        EXPECT_TRUE(msg.SaveToFile(path.c_str(), cases[i].append)) << "case " << i;
        EXPECT_EQ(ReadFileBytes(path), cases[i].want) << "case " << i;
    }
}

// A stream that answers Stat with a chosen status and reads from a text.
class FakeStream : public IStream {
public:
    FakeStream(HRESULT statResult, const char* text) : m_statResult(statResult), m_text(text) {}
    virtual ~FakeStream() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        const ULONG n = std::min<ULONG>(cb, static_cast<ULONG>(m_text.size()));
        std::memcpy(pv, m_text.data(), n);
        *pcbRead = n;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override {
        EXPECT_EQ(flags, static_cast<DWORD>(STATFLAG_NONAME));
        std::memset(stat, 0, sizeof *stat);
        stat->cbSize.QuadPart = (1ull << 32) + m_text.size();  // only the low 32 bits count
        return m_statResult;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    HRESULT m_statResult;
    std::string m_text;
};

TEST(MIMEBodyTest, StreamBodies) {
    const char text[] = "line one\r\nline two";
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(text), sizeof text - 1);
    ASSERT_NE(stream, nullptr);
    CMIMEBody body;
    body.SetPlainText(stream);
    EXPECT_EQ(Saved(body), text);

    LARGE_INTEGER move;
    move.QuadPart = 3;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, NULL), S_OK);
    FakeStream refusing(STG_E_ACCESSDENIED, "x");
    FakeStream fine(S_OK, "from a fake");
    const struct { IStream* stream; HRESULT want; } cases[] = {
        {stream, E_FAIL}, {&refusing, STG_E_ACCESSDENIED}, {nullptr, E_POINTER}, {&fine, S_OK}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        HRESULT got = S_OK;
        try {
            body.SetPlainText(cases[i].stream);
        } catch (_com_error& e) {
            got = e.Error();
        }
        EXPECT_EQ(static_cast<ULONG>(got), static_cast<ULONG>(cases[i].want)) << "case " << i;
    }
    EXPECT_EQ(Saved(body), "from a fake");
    stream->Release();
}

// Notes where the file stands after the header and after the body.
class PositionMessage : public CMIMEMessage {
public:
    void SaveTo(CFile& file) const override {
        GetHeader().SaveTo(file);
        afterHeader = {file.GetPosition(), file.GetLength()};
        GetBody().SaveTo(file);
        afterBody = {file.GetPosition(), file.GetLength()};
    }
    mutable std::pair<ULONGLONG, ULONGLONG> afterHeader, afterBody;
};

// A message reaches the file whole, also one too big to be held back before
// it is written, and a SaveTo of its own sees the file as it has written it.
TEST(MIMEMessageTest, SaveToSeesItsOwnWrites) {
    const std::size_t bodySizes[] = {3, 100 * 1024};
    for (std::size_t i = 0; i < std::size(bodySizes); ++i) {
        TempDir dir;
        const std::string box = dir.file("box");
        WriteFileBytes(box, "old");
        PositionMessage msg;
        msg.GetHeader().AddSubject("s");
        const std::string body(bodySizes[i], 'b');
        msg.GetBody().SetPlainText(body.c_str());
        ASSERT_TRUE(msg.SaveToFile(box.c_str(), true)) << "case " << i;
        const std::string header = "Subject: s\r\n\r\n";
        const ULONGLONG headerEnd = 3 + 2 + header.size();
        EXPECT_EQ(msg.afterHeader, std::make_pair(headerEnd, headerEnd)) << "case " << i;
        EXPECT_EQ(msg.afterBody, std::make_pair(headerEnd + body.size(), headerEnd + body.size())) << "case " << i;
        EXPECT_EQ(ReadFileBytes(box), "old\r\n" + header + body) << "case " << i;
    }
}

// Writes the header, then fails the way a full disk would.
class FailingMessage : public CMIMEMessage {
public:
    explicit FailingMessage(bool framework) : m_framework(framework) {}
    void SaveTo(CFile& file) const override {
        GetHeader().SaveTo(file);
        if (m_framework) AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL);
        throw 42;
    }

private:
    bool m_framework;
};

TEST(MIMEMessageTest, FailuresLoseNothingAndLeaveNoFile) {
    TempDir dir;
    const std::string box = dir.file("box");
    const std::string missingFolder = dir.file("nofolder") + "\\m.eml";
    const char kFramework[] = "XWTH|CException* in CMIMEMessage::SaveToFile";
    const char kUnknown[] = "XWTH|Unknown Exception in CMIMEMessage::SaveToFile";
    FailingMessage framework(true), unknown(false);
    framework.GetHeader().AddSubject("s");
    unknown.GetHeader().AddSubject("s");
    CMIMEMessage plain;
    // before: the file's content first (null: no file); after: its content
    // afterwards (null: no file).
    struct Case { const CMIMEMessage* msg; std::string path; const char* before; bool append; const char* log; const char* after; };
    const Case cases[] = {
        {&plain, missingFolder, nullptr, false, kFramework, nullptr},
        {&framework, box, nullptr, false, kFramework, nullptr},
        {&unknown, box, nullptr, true, kUnknown, nullptr},
        {&framework, box, "mail one\r\n", true, kFramework, "mail one\r\n"},
        {&unknown, box, "", true, kUnknown, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        if (cases[i].before != nullptr) WriteFileBytes(cases[i].path, cases[i].before);
        LogCapture log;
        EXPECT_FALSE(cases[i].msg->SaveToFile(cases[i].path.c_str(), cases[i].append)) << "case " << i;
        EXPECT_EQ(log.lines, std::vector<std::string>{cases[i].log}) << "case " << i;
        EXPECT_EQ(FileExists(cases[i].path), cases[i].after != nullptr) << "case " << i;
        if (cases[i].after != nullptr) {
            EXPECT_EQ(ReadFileBytes(cases[i].path), cases[i].after) << "case " << i;
        }
        DeleteFileA(cases[i].path.c_str());
    }
}

// Copies share header and body; every object is deleted once (ASan sees a
// double delete or a leak) whatever the order of copies, assignments and
// destruction.
TEST(MIMENodeTest, CopiesShareAndReleaseOnce) {
    auto* a = new CMIMEMessage();
    a->GetHeader().AddSubject("one");
    a->GetBody().SetPlainText("body one");
    CMIMEMessage b(*a);
    EXPECT_EQ(&b.GetHeader(), &a->GetHeader());
    b.GetHeader().AddImportance("high");  // seen through both
    CMIMEMessage c;
    c.GetHeader().AddSubject("two");
    CMIMENode d(c);
    c = b;   // c lets go of "two" (d still holds it)
    c = c;
    c = *a;  // the same objects again
    delete a;
    const std::string both = "Subject: one\r\nImportance: high\r\n\r\nbody one";
    EXPECT_EQ(Saved(b), both);
    EXPECT_EQ(Saved(c), both);
    EXPECT_EQ(Saved(d), "Subject: two\r\n\r\n");
    d = b;  // the last holder of "two" deletes it
    EXPECT_EQ(Saved(d), both);

    CMIMEBody body;
    body.SetPlainText("shared");
    CMIMEBody copy(body);
    copy.SetPlainText("own");
    EXPECT_EQ(Saved(body), "shared");
    EXPECT_EQ(Saved(copy), "own");
}

}  // namespace
