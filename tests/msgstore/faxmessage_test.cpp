// The message folder, its lifetime, properties and the global settings.
#include <xwth/faxmessage.h>

#include <Config.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "msgstore/spool_fixture.h"

using msgstore_test::SpoolTest;
using Lines = std::vector<std::string>;

namespace {

const auto* const g_configEnvironment = ::testing::AddGlobalTestEnvironment(new msgstore_test::ConfigEnvironment);

class FaxMessageTest : public SpoolTest {};

TEST_F(FaxMessageTest, ClaimsLowestFreeFolderAndReusesFreedOne) {
    auto* first = new CFaxMessage;
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::CFaxMessage: Create empty FaxMessage",
                                "CFaxMessage::Init: Initialize message"}));
    auto* second = new CFaxMessage;
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000", "FM000001"}));
    EXPECT_TRUE(first->GetUseFaxCoverPage());

    delete first;
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::CFaxMessage: Create empty FaxMessage",
                                "CFaxMessage::Init: Initialize message",
                                "CFaxMessage::~CFaxMessage: Destroy FaxMessage"}));
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000001"}));

    CFaxMessage third;
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000", "FM000001"}));
    delete second;
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000"}));
}

TEST_F(FaxMessageTest, SkipsTakenNamesOfAnyKind) {
    // A folder, a plain file, a gap and a folder: the gap is the lowest free number.
    std::filesystem::create_directory(DiskPath("FM000000"));
    xwth_test::WriteFileBytes(DiskPath("FM000001"), "not a folder");
    std::filesystem::create_directory(DiskPath("FM000003"));
    CFaxMessage message;
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000", "FM000001", "FM000002", "FM000003"}));
    EXPECT_TRUE(message.Delete());
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000", "FM000001", "FM000003"}));
}

TEST_F(FaxMessageTest, MissingSpoolFailsWithoutCreatingAnything) {
    const std::string missing = m_temp.file("missing") + "\\spool";
    SetSpool(missing);
    TakeLog();
    {
        CFaxMessage message;
        EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::CFaxMessage: Create empty FaxMessage",
                                    "CFaxMessage::Init: Initialize message",
                                    "CFaxMessage::Init: Can't create dir: " + missing + "\\FM000000"}));
        EXPECT_FALSE(message.GetUseFaxCoverPage());
        EXPECT_TRUE(message.GetUseHiRes());
        EXPECT_EQ(message.GetID(), 0u);

        CString value("x");
        EXPECT_FALSE(message.SetProp(7, value));
        EXPECT_EQ(CString(message.GetProp(7)), CString(""));
        message.AddFaxAttachment(MakeSource("doc.tif", "x").c_str(), 1, 1, 0, "Doc");
        EXPECT_FALSE(message.Delete());
    }
    EXPECT_FALSE(xwth_test::FileExists(m_temp.file("missing")));
    EXPECT_EQ(Entries(m_temp.path()), WithWinIni({"doc.tif", "spool"}));
}

TEST_F(FaxMessageTest, SpoolLengthLimit) {
    // The whole path stays within 259 characters: a 250-character spool
    // leaves room for "\FMnnnnnn", 251 characters do not, and then nothing
    // is created and the log shows the first path, cut.
    for (const size_t length : {250u, 251u}) {
        std::string spool = m_spool + "/";
        spool += std::string(length - spool.size(), length == 250 ? 'e' : 'd');
        std::filesystem::create_directory(spool);
        SetSpool(spool);
        TakeLog();
        CFaxMessage message;
        const Lines log = TakeLog();
        ASSERT_GE(log.size(), 2u) << length;
        if (length == 250) {
            EXPECT_TRUE(message.GetUseFaxCoverPage());
            EXPECT_EQ(Entries(spool), (Lines{"FM000000"}));
            continue;
        }
        ASSERT_EQ(log.size(), 3u);
        const std::string prefix = "CFaxMessage::Init: Can't create dir: ";
        EXPECT_EQ(log[2].rfind(prefix + spool, 0), 0u) << log[2];
        EXPECT_EQ(log[2].size() - prefix.size(), 259u);
        EXPECT_FALSE(message.GetUseFaxCoverPage());
        EXPECT_TRUE(Entries(spool).empty());
    }
}

TEST_F(FaxMessageTest, PropertiesLiveInPropsIni) {
    CFaxMessage message;
    TakeLog();
    EXPECT_EQ(CString(message.GetProp(7)), CString(""));
    EXPECT_FALSE(xwth_test::FileExists(DiskPath("FM000000/props.ini")));
    EXPECT_TRUE(message.SetProp(7, CString("x")));
    EXPECT_EQ(CString(message.GetProp(7)), CString("x"));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::GetProp: ulProp: 7, buf: ",
                                "CFaxMessage::SetProp: ulProp: 7, szPropValue: x",
                                "CFaxMessage::GetProp: ulProp: 7, buf: x"}));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/props.ini")), "[CustomProp]\r\n0007=x\r\n");

    // Keys are the id as upper-case hexadecimal of at least four digits.
    struct Case {
        UINT id;
        const char* key;
    };
    const Case cases[] = {{45, "002D"}, {0xFFFF, "FFFF"}, {0x10000, "10000"}, {0xABCDEF, "ABCDEF"}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(message.SetProp(cases[i].id, CString("v"))) << "case " << i;
        char buf[16] = {0};
        GetPrivateProfileStringA("CustomProp", cases[i].key, "", buf, sizeof(buf),
                                 DiskPath("FM000000/props.ini").c_str());
        EXPECT_STREQ(buf, "v") << "case " << i;
    }
    message.SetProp(7, CString("y"));
    EXPECT_EQ(CString(message.GetProp(7)), CString("y"));
}

TEST_F(FaxMessageTest, RecipientAccessorsUseTheirIds) {
    CFaxMessage message;
    CString fax("+1 555 0100"), first("Robin"), last("Example"), phone("0200");
    EXPECT_TRUE(message.SetToFax(fax));
    EXPECT_TRUE(message.SetToFirstName(first));
    EXPECT_TRUE(message.SetToLastName(last));
    EXPECT_TRUE(message.SetTargetPhone(phone));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/props.ini")),
              "[CustomProp]\r\n0004=+1 555 0100\r\n0005=Robin\r\n0006=Example\r\n002D=0200\r\n");
    EXPECT_EQ(message.GetToFax(), fax);
    EXPECT_EQ(message.GetToFirstName(), first);
    EXPECT_EQ(message.GetToLastName(), last);
    EXPECT_EQ(message.GetTargetPhone(), phone);
}

TEST_F(FaxMessageTest, LongValueReadsBackAs511Characters) {
    CFaxMessage message;
    const std::string value(600, 'q');
    ASSERT_TRUE(message.SetProp(9, CString(value.c_str())));
    EXPECT_EQ(std::string((LPCSTR)message.GetProp(9)), value.substr(0, 511));
}

TEST_F(FaxMessageTest, GlobalIdsAnswerFromTheConfiguration) {
    CGlobalConfigData& config = CConfigApp::GetConfig();
    struct Case {
        UINT id;
        CConfString* setting;
    };
    const Case cases[] = {
        {33, &config.m_SenderName},       {34, &config.m_SenderCompany}, {35, &config.m_SenderFax},
        {36, &config.m_SenderStationId},  {37, &config.m_SenderHomePhone}, {38, &config.m_SenderEmail},
        {39, &config.m_SenderPhone},      {41, &config.m_SenderCity},    {42, &config.m_SenderAddress},
        {43, &config.m_SenderCountry},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        cases[i].setting->m_strValue.Format("global-%u", cases[i].id);
    }
    CFaxMessage message;
    TakeLog();
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_TRUE(message.SetProp(cases[i].id, CString("local"))) << "case " << i;
        EXPECT_EQ(message.GetProp(cases[i].id), cases[i].setting->m_strValue) << "case " << i;
    }
    // Only the writes were logged: global reads log nothing.
    EXPECT_EQ(TakeLog().size(), std::size(cases));
    const std::string props = xwth_test::ReadFileBytes(DiskPath("FM000000/props.ini"));
    EXPECT_NE(props.find("0021=local\r\n"), std::string::npos);

    // 40 and the settings of the run that are not read stay free properties.
    EXPECT_TRUE(message.SetProp(40, CString("forty")));
    EXPECT_EQ(message.GetProp(40), CString("forty"));
}

TEST_F(FaxMessageTest, PageNameSettingsAreSavedOnlyWhenChanged) {
    const std::string configFile = std::getenv("XWTH_CONFIG");
    std::filesystem::remove(configFile);
    CFaxMessage message;
    CString current = message.GetFaxCoverPageName();
    EXPECT_TRUE(message.SetFaxCoverPageName(current));
    EXPECT_FALSE(xwth_test::FileExists(configFile)) << "an unchanged value must not be saved";

    CString cover("cover-" + CString(current.IsEmpty() ? "a" : "b"));
    EXPECT_TRUE(message.SetFaxCoverPageName(cover));
    EXPECT_EQ(message.GetFaxCoverPageName(), cover);
    char buf[64] = {0};
    GetPrivateProfileStringA("Fax", "CoverPage", "", buf, sizeof(buf), configFile.c_str());
    EXPECT_EQ(CString(buf), cover);

    CString header("header-x");
    EXPECT_TRUE(message.SetFaxCHeaderPageName(header));
    EXPECT_EQ(message.GetFaxHeaderName(), header);
    std::filesystem::remove(configFile);
    EXPECT_TRUE(message.SetFaxCHeaderPageName(header));
    EXPECT_FALSE(xwth_test::FileExists(configFile));
}

TEST_F(FaxMessageTest, SaveChangesNothingOnDisk) {
    CFaxMessage message;
    message.SetProp(1, CString("a"));
    const std::string before = xwth_test::ReadFileBytes(DiskPath("FM000000/props.ini"));
    EXPECT_TRUE(message.Save());
    EXPECT_EQ(Entries(DiskPath("FM000000")), (Lines{"props.ini"}));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/props.ini")), before);
    EXPECT_FALSE(message.IsIncoming());
}

TEST_F(FaxMessageTest, DeleteSweepsTheFolderOnceOnly) {
    auto* message = new CFaxMessage;
    message->SetProp(1, CString("a"));
    xwth_test::WriteFileBytes(DiskPath("FM000000/stray.dat"), "stray");
    EXPECT_TRUE(message->Delete());
    EXPECT_TRUE(SpoolEntries().empty());
    EXPECT_FALSE(message->Delete());

    // The freed number goes to the next message; the first one's destructor
    // (a third Delete) must leave the newcomer's folder alone.
    CFaxMessage newcomer;
    newcomer.SetProp(1, CString("b"));
    delete message;
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000"}));
    EXPECT_EQ(newcomer.GetProp(1), CString("b"));
}

TEST_F(FaxMessageTest, CopyHasItsOwnFolderWithTheSameContent) {
    CFaxMessage original;
    CString fax("123"), first("A"), last("B"), phone("9"), body("text");
    original.SetToFax(fax);
    original.SetToFirstName(first);
    original.SetToLastName(last);
    original.SetTargetPhone(phone);
    original.SetProp(100, CString("free"));
    original.SetID(7);
    original.SetMessageBody(body);
    original.SetUseHiRes(false);
    original.AddFaxAttachment(MakeSource("a.tif", "AAAA").c_str(), 2, 1, 1, "A");
    TakeLog();

    auto* copy = new CFaxMessage(original);
    const Lines log = TakeLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "CFaxMessage::CFaxMessage: Create FaxMessage from other message");
    EXPECT_EQ(Entries(DiskPath("FM000001")), (Lines{"FD000001.tif", "props.ini"}));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000001/FD000001.tif")), "AAAA");
    EXPECT_EQ(copy->GetToFax(), fax);
    EXPECT_EQ(copy->GetToFirstName(), first);
    EXPECT_EQ(copy->GetToLastName(), last);
    EXPECT_EQ(copy->GetTargetPhone(), phone);
    EXPECT_EQ(copy->GetProp(100), CString("free"));
    EXPECT_EQ(copy->GetID(), 7u);
    EXPECT_EQ(copy->GetMessageBody(), body);
    EXPECT_FALSE(copy->GetUseHiRes());
    EXPECT_TRUE(copy->GetUseFaxCoverPage());

    // The same records: the copy's entry still names the original's file.
    ASSERT_EQ(copy->GetAttachmentsCount(), 2);
    EXPECT_EQ(std::string((LPCSTR)copy->GetAttachmentFileName(1)), LibPath("FM000000\\FD000001.tif"));
    EXPECT_EQ(copy->GetAttachmentTitle(1), CString("A"));

    // The copy lets its hold go first: the original's file stays.
    delete copy;
    EXPECT_TRUE(xwth_test::FileExists(DiskPath("FM000000/FD000001.tif")));
    EXPECT_EQ(original.GetAttachmentPages(1), 2u);
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000000"}));
}

TEST_F(FaxMessageTest, CopyOutlivesTheOriginal) {
    auto* original = new CFaxMessage;
    original->AddFaxAttachment(MakeSource("a.tif", "AAAA").c_str(), 2, 1, 1, "A");
    CFaxMessage copy(*original);
    delete original;
    // The record is still valid (ASan watches); its file went with the folder.
    EXPECT_EQ(copy.GetAttachmentPages(1), 2u);
    EXPECT_EQ(copy.GetAttachmentTitle(1), CString("A"));
    EXPECT_TRUE(copy.DeleteAttachment(1));
    EXPECT_EQ(SpoolEntries(), (Lines{"FM000001"}));
}

// The folder goes behind the message's back and the number is claimed
// again, or a stranger makes a folder of that name: either way the first
// message's property writes and reads, attachments, Delete and destructor
// leave it alone and forget their path.
TEST_F(FaxMessageTest, FolderReplacedBehindAMessageIsLeftAlone) {
    for (int replaceBy = 0; replaceBy < 2; ++replaceBy) {
        auto* message = new CFaxMessage;
        message->SetProp(1, CString("mine"));
        std::error_code ec;
        std::filesystem::remove_all(DiskPath("FM000000"), ec);
        if (std::filesystem::exists(DiskPath("FM000000"))) {
            // Windows finishes a removal when the last handle on the folder
            // closes, and the message holds one: the name stays taken (no
            // newcomer gets it) until the message lets its folder go.
            EXPECT_FALSE(message->Delete()) << "case " << replaceBy;
            EXPECT_FALSE(std::filesystem::exists(DiskPath("FM000000"))) << "case " << replaceBy;
            delete message;
            continue;
        }
        auto* newcomer = replaceBy == 0 ? new CFaxMessage : nullptr;
        if (newcomer != nullptr) {
            newcomer->SetProp(1, CString("theirs"));
            newcomer->AddFaxAttachment(MakeSource("b.tif", "BBBB").c_str(), 1, 1, 0, "B");
        } else {
            std::filesystem::create_directory(DiskPath("FM000000"));
            xwth_test::WriteFileBytes(DiskPath("FM000000/keep.dat"), "keep");
        }
        const Lines before = Entries(DiskPath("FM000000"));
        EXPECT_FALSE(message->SetProp(1, CString("mine again"))) << "case " << replaceBy;
        EXPECT_EQ(message->GetProp(1), CString()) << "case " << replaceBy;
        EXPECT_EQ(message->AddFaxAttachment(MakeSource("c.tif", "CCCC").c_str(), 1, 1, 0, "C"), 0)
            << "case " << replaceBy;
        EXPECT_EQ(Entries(DiskPath("FM000000")), before) << "case " << replaceBy;
        EXPECT_FALSE(message->Delete()) << "case " << replaceBy;
        delete message;
        EXPECT_EQ(Entries(DiskPath("FM000000")), before) << "case " << replaceBy;
        EXPECT_FALSE(before.empty()) << "case " << replaceBy;
        if (newcomer != nullptr) {
            EXPECT_EQ(newcomer->GetProp(1), CString("theirs")) << "case " << replaceBy;
            delete newcomer;
        }
        std::filesystem::remove_all(DiskPath("FM000000"));
    }
}

// A relative spool names a folder under the current directory when the
// message is made; a later change of directory moves nothing.
TEST_F(FaxMessageTest, RelativeSpoolIsFixedWhenTheFolderIsClaimed) {
    char saved[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, saved), 0u);
    const std::string elsewhere = m_temp.file("elsewhere");
    std::filesystem::create_directories(elsewhere + "/spool/FM000000");
    xwth_test::WriteFileBytes(elsewhere + "/spool/FM000000/keep.dat", "keep");

    ASSERT_TRUE(SetCurrentDirectoryA(m_temp.path().c_str()));
    SetSpool("spool");
    auto* message = new CFaxMessage;
    message->AddFaxAttachment(MakeSource("a.tif", "AAAA").c_str(), 1, 1, 0, "A");
    const std::string name = (LPCSTR)message->GetAttachmentFileName(1);
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.c_str()));
    delete message;
    ASSERT_TRUE(SetCurrentDirectoryA(saved));

    EXPECT_TRUE(std::filesystem::path(name).is_absolute()) << name;
    EXPECT_TRUE(SpoolEntries().empty());
    EXPECT_EQ(Entries(elsewhere + "/spool/FM000000"), (Lines{"keep.dat"}));
}

}  // namespace
