// The attachment list: files in the folder, the cover-page slot, list edits,
// shared records.
#include <xwth/faxmessage.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgstore/spool_fixture.h"

using msgstore_test::SpoolTest;
using Lines = std::vector<std::string>;

namespace {

class AttachmentsTest : public SpoolTest {
protected:
    // Titles of the entries in list order; the cover-page slot shows as "[cp]".
    static std::string Titles(CFaxMessage& message) {
        std::string out;
        for (int i = 0; i < message.GetAttachmentsCount(); ++i) {
            const CString title = message.GetAttachmentTitle(i);
            out += title.IsEmpty() && message.GetAttachmentFileName(i).IsEmpty() ? "[cp]" : (LPCSTR)title;
            out += i + 1 < message.GetAttachmentsCount() ? " " : "";
        }
        return out;
    }

    // A message whose list is exactly the given titles, one page each and no
    // cover-page slot.
    void Fill(CFaxMessage& message, const std::vector<std::string>& titles) {
        for (const std::string& title : titles) {
            message.AddFaxAttachment(MakeSource(title + ".tif", title).c_str(), 1, 1, 0, title.c_str());
        }
        message.DeleteAttachment(0);
        TakeLog();
    }
};

TEST_F(AttachmentsTest, AddCopiesTheFileUnderTheNextFreeName) {
    CFaxMessage message;
    const std::string a = MakeSource("a.tif", "page data");
    TakeLog();
    EXPECT_EQ(message.AddFaxAttachment(a.c_str(), 2, 1, 0, "A"), 0);
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::AddFaxAttachment: File: " + a +
                                ", Pages: 2, Pos: 1, Res: Lo, Title: A"}));
    ASSERT_EQ(message.GetAttachmentsCount(), 2);
    EXPECT_EQ(message.GetAttachmentFileName(0), CString(""));
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(1)), LibPath("FM000000\\FD000001.tif"));
    EXPECT_EQ(message.GetAttachmentPages(1), 2u);
    EXPECT_FALSE(message.GetAttachmentHiRes(1));
    EXPECT_EQ(message.GetAttachmentTitle(1), CString("A"));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/FD000001.tif")), "page data");

    message.AddFaxAttachment(MakeSource("b.tif", "b").c_str(), 1, 1, 1, "B");
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(2)), LibPath("FM000000\\FD000002.tif"));

    // The position seeds the search only; the record is appended.
    message.AddFaxAttachment(MakeSource("c.tif", "c").c_str(), 1, 16, 1, "C");
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(3)), LibPath("FM000000\\FD000010.tif"));
    EXPECT_EQ(Titles(message), "[cp] A B C");
}

TEST_F(AttachmentsTest, PositionBelowOneFillsTheCoverPageSlot) {
    CFaxMessage message;
    TakeLog();
    message.AddFaxAttachment(MakeSource("cover.tif", "cp").c_str(), 1, 0, 1, NULL);
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::AddFaxAttachment: File: " + m_temp.file("cover.tif") +
                                ", Pages: 1, Pos: 0, Res: Hi, Title: (null)"}));
    ASSERT_EQ(message.GetAttachmentsCount(), 1);
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(0)), LibPath("FM000000\\FD000000.tif"));
    EXPECT_TRUE(message.GetAttachmentHiRes(0));
    EXPECT_EQ(message.GetAttachmentTitle(0), CString(""));

    // Filling it again leaves the earlier file in the folder. The position,
    // as an unsigned number, seeds the name search: -1 starts at FFFFFFFF.
    message.AddFaxAttachment(MakeSource("cover2.tif", "cp2").c_str(), 1, -1, 0, "again");
    EXPECT_EQ(message.GetAttachmentsCount(), 1);
    EXPECT_EQ(Entries(DiskPath("FM000000")), (Lines{"FD000000.tif", "FDFFFFFFFF.tif"}));
    EXPECT_EQ(message.GetAttachmentTitle(0), CString("again"));
}

TEST_F(AttachmentsTest, ExtensionIsTheLastThreeCharacters) {
    struct Case {
        const char* source;
        const char* name;
    };
    // Names that differ in their extension do not collide: both get number 1.
    const Case cases[] = {{"report.tiff", "FD000001.iff"}, {"x.TIF", "FD000001.TIF"}};
    CFaxMessage message;
    for (size_t i = 0; i < std::size(cases); ++i) {
        message.AddFaxAttachment(MakeSource(cases[i].source, "x").c_str(), 1, 1, 0, "t");
        EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName((int)i + 1)),
                  LibPath(std::string("FM000000\\") + cases[i].name))
            << "case " << i;
    }
}

TEST_F(AttachmentsTest, TitlesAndNamesAreCutTo259Characters) {
    CFaxMessage message;
    const std::string title(400, 't');
    message.AddFaxAttachment(MakeSource("a.tif", "x").c_str(), 1, 1, 0, title.c_str());
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentTitle(1)), title.substr(0, 259));
}

TEST_F(AttachmentsTest, CountTotalPages) {
    CFaxMessage message;
    EXPECT_EQ(message.CountTotalPages(), 1u) << "empty list, cover page in use";
    message.SetUseFaxCoverPage(false);
    EXPECT_EQ(message.CountTotalPages(), 0u) << "empty slot, no cover page";

    message.AddFaxAttachment(MakeSource("cp.tif", "x").c_str(), 4, 0, 0, "cp");
    message.AddFaxAttachment(MakeSource("a.tif", "x").c_str(), 2, 1, 0, "a");
    message.AddFaxAttachment(MakeSource("b.tif", "x").c_str(), 3, 1, 0, "b");
    EXPECT_EQ(message.CountTotalPages(), 9u) << "slot counts with its pages";
    message.SetUseFaxCoverPage(true);
    EXPECT_EQ(message.CountTotalPages(), 6u) << "slot counts as one page";
}

TEST_F(AttachmentsTest, IndicesAtOrPastTheEndAreLoggedAndRefused) {
    CFaxMessage message;
    message.AddFaxAttachment(MakeSource("a.tif", "x").c_str(), 1, 1, 0, "A");
    TakeLog();
    EXPECT_EQ(message.GetAttachmentTitle(5), CString(""));
    EXPECT_EQ(message.GetAttachmentFileName(2), CString(""));
    EXPECT_FALSE(message.GetAttachmentHiRes(2));
    EXPECT_EQ(message.GetAttachmentPages(9), 0u);
    EXPECT_FALSE(message.DeleteAttachment(2));
    EXPECT_FALSE(message.SaveAttachment(2, "x"));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::GetAttachmentTitle: Wrong attachment number: 5",
                                "CFaxMessage::GetAttachmentFileName: Wrong attachment number: 2",
                                "CFaxMessage::GetAttachmentHiRes: Wrong attachment number: 2",
                                "CFaxMessage::GetAttachmentPages: Wrong attachment number: 9",
                                "CFaxMessage::DeleteAttachment: iNumber: 2",
                                "CFaxMessage::DeleteAttachment: Wrong number: 2",
                                "CFaxMessage::SaveAttachment: ulAttachNum: 2, lpszFileNameToSave: x",
                                "CFaxMessage::SaveAttachment: Wrong attachment number"}));
    EXPECT_EQ(message.GetAttachmentsCount(), 2);
}

TEST_F(AttachmentsTest, NegativeIndicesThrowTheInvalidArgumentException) {
    CFaxMessage message;
    message.AddFaxAttachment(MakeSource("a.tif", "x").c_str(), 1, 1, 0, "A");
    int thrown = 0;
    const auto expectThrow = [&](auto fn) {
        try {
            fn();
        } catch (CInvalidArgException* e) {
            e->Delete();
            ++thrown;
        }
    };
    expectThrow([&] { (void)message.GetAttachmentTitle(-1); });
    expectThrow([&] { (void)message.GetAttachmentFileName(-1); });
    expectThrow([&] { (void)message.GetAttachmentHiRes(-1); });
    expectThrow([&] { (void)message.GetAttachmentPages(-1); });
    expectThrow([&] { message.DeleteAttachment(-1); });
    EXPECT_EQ(thrown, 5);
    EXPECT_EQ(message.GetAttachmentsCount(), 2);
}

TEST_F(AttachmentsTest, DeleteReleasesTheFileAndTheSlotComesBack) {
    CFaxMessage message;
    message.AddFaxAttachment(MakeSource("a.tif", "x").c_str(), 1, 1, 0, "A");
    TakeLog();
    EXPECT_TRUE(message.DeleteAttachment(1));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::DeleteAttachment: iNumber: 1"}));
    EXPECT_FALSE(xwth_test::FileExists(DiskPath("FM000000/FD000001.tif")));

    EXPECT_TRUE(message.DeleteAttachment(0));
    EXPECT_EQ(message.GetAttachmentsCount(), 0);
    message.SetUseFaxCoverPage(false);
    EXPECT_EQ(message.GetAttachmentsCount(), 1) << "any SetUseFaxCoverPage makes the slot";
    message.SetUseFaxCoverPage(true);
    EXPECT_EQ(message.GetAttachmentsCount(), 1);
}

TEST_F(AttachmentsTest, SaveAttachmentRenamesTheRecordAndKeepsTheOldFile) {
    CFaxMessage message;
    message.AddFaxAttachment(MakeSource("a.tif", "old").c_str(), 3, 1, 1, "A");
    const std::string replacement = MakeSource("new.pdf", "new");
    TakeLog();
    EXPECT_TRUE(message.SaveAttachment(1, replacement.c_str()));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::SaveAttachment: ulAttachNum: 1, lpszFileNameToSave: " + replacement}));
    // The search starts at the entry's index; FD000001.pdf is free although
    // FD000001.tif is taken.
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(1)), LibPath("FM000000\\FD000001.pdf"));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/FD000001.pdf")), "new");
    EXPECT_TRUE(message.SaveAttachment(1, replacement.c_str()));
    EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(1)), LibPath("FM000000\\FD000002.pdf"));
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/FD000001.tif")), "old");
    EXPECT_EQ(message.GetAttachmentPages(1), 3u);
    EXPECT_TRUE(message.GetAttachmentHiRes(1));
    EXPECT_EQ(message.GetAttachmentTitle(1), CString("A"));
}

TEST_F(AttachmentsTest, SwapAttachments) {
    CFaxMessage message;
    Fill(message, {"V", "W"});
    EXPECT_TRUE(message.SwapAttachments(7, 7));
    EXPECT_FALSE(message.SwapAttachments(0, 7));
    EXPECT_FALSE(message.SwapAttachments(-1, 0));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::SwapAttachments: iFirst: 7, iSecond: 7 )",
                                "CFaxMessage::SwapAttachments: iFirst: 0, iSecond: 7 )",
                                "CFaxMessage::SwapAttachments: iFirst: -1, iSecond: 0 )"}));
    EXPECT_TRUE(message.SwapAttachments(1, 0));
    EXPECT_EQ(Titles(message), "W V");
}

TEST_F(AttachmentsTest, MoveAttachmentsAsABlock) {
    struct Case {
        std::vector<DWORD> indices;
        int target;
        const char* want;
        std::vector<DWORD> wantIndices;
    };
    const Case cases[] = {
        {{1, 3}, 4, "V X W Y Z", {1, 2}},
        {{3, 1}, 0, "Y W V X Z", {3, 1}},
        {{4, 0}, -5, "Z V W X Y", {4, 0}},
        {{0}, 99, "W X Y Z V", {0}},
        {{}, 2, "V W X Y Z", {}},
        {{2, 2}, 0, "X Y V W Z", {2, 2}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CFaxMessage message;
        Fill(message, {"V", "W", "X", "Y", "Z"});
        CDWordArray indices;
        for (DWORD index : cases[i].indices) {
            indices.Add(index);
        }
        EXPECT_TRUE(message.MoveAttachments(indices, cases[i].target)) << "case " << i;
        EXPECT_EQ(Titles(message), cases[i].want) << "case " << i;
        std::vector<DWORD> after;
        for (INT_PTR k = 0; k < indices.GetSize(); ++k) {
            after.push_back(indices.GetAt(k));
        }
        EXPECT_EQ(after, cases[i].wantIndices) << "case " << i;
    }
}

TEST_F(AttachmentsTest, MoveWithABadIndexThrowsAndChangesNothing) {
    CFaxMessage message;
    Fill(message, {"V", "W", "X"});
    const std::vector<DWORD> bad[] = {{0, 2, 2}, {3}, {1, (DWORD)-1}};
    for (size_t i = 0; i < std::size(bad); ++i) {
        CDWordArray indices;
        for (DWORD index : bad[i]) {
            indices.Add(index);
        }
        bool thrown = false;
        try {
            message.MoveAttachments(indices, 0);
        } catch (CInvalidArgException* e) {
            e->Delete();
            thrown = true;
        }
        EXPECT_TRUE(thrown) << "case " << i;
        EXPECT_EQ(Titles(message), "V W X") << "case " << i;
        EXPECT_EQ(indices.GetAt(0), bad[i][0]) << "case " << i;
    }
}

TEST_F(AttachmentsTest, LinkedRecordLivesUntilItsLastHolderReleasesIt) {
    CFaxMessage owner;
    owner.AddFaxAttachment(MakeSource("a.tif", "shared").c_str(), 2, 1, 0, "A");
    CFaxMessage other;
    TakeLog();
    EXPECT_FALSE(other.LinkAttachment(&owner, 2));
    EXPECT_FALSE(other.LinkAttachment(NULL, 0));
    EXPECT_TRUE(other.LinkAttachment(&owner, 1));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::LinkAttachment: iAttNum: 2", "CFaxMessage::LinkAttachment: Wron parameters",
                                "CFaxMessage::LinkAttachment: iAttNum: 0", "CFaxMessage::LinkAttachment: Wron parameters",
                                "CFaxMessage::LinkAttachment: iAttNum: 1"}));
    ASSERT_EQ(other.GetAttachmentsCount(), 2);
    EXPECT_EQ(other.GetAttachmentFileName(1), owner.GetAttachmentFileName(1));

    const std::string file = DiskPath("FM000000/FD000001.tif");
    EXPECT_TRUE(owner.DeleteAttachment(1));
    EXPECT_TRUE(xwth_test::FileExists(file)) << "the other message still holds it";
    EXPECT_EQ(other.GetAttachmentPages(1), 2u);
    EXPECT_TRUE(other.DeleteAttachment(1));
    EXPECT_FALSE(xwth_test::FileExists(file)) << "the last holder deletes the file";
}

TEST_F(AttachmentsTest, GrabTakesOverARunOfRecords) {
    CFaxMessage dest;
    Fill(dest, {"D0", "D1", "D2"});
    CFaxMessage src;
    Fill(src, {"S0", "S1"});
    EXPECT_TRUE(dest.GrabAttachments(&src, 1, 0, -1));
    EXPECT_EQ(TakeLog(), (Lines{"CFaxMessage::GrabAttachment: iDestPos = 1 , iSrcPos = 0 , iCount = -1 ",
                                "CFaxMessage::DeleteAttachment: iNumber: 1",
                                "CFaxMessage::DeleteAttachment: iNumber: 2"}));
    EXPECT_EQ(Titles(dest), "D0 S0 S1");
    EXPECT_EQ(src.GetAttachmentsCount(), 0);
    EXPECT_FALSE(xwth_test::FileExists(DiskPath("FM000000/FD000002.tif"))) << "D1 was released";

    // Runs past the end are appended; the taken records keep their files.
    CFaxMessage more;
    Fill(more, {"M0", "M1"});
    EXPECT_TRUE(dest.GrabAttachments(&more, 2, 0, 2));
    EXPECT_EQ(Titles(dest), "D0 S0 M0 M1");
    EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000002/FD000001.tif")), "M0");
}

TEST_F(AttachmentsTest, GrabRefusesBadArgumentsWithoutChangingAnything) {
    CFaxMessage dest;
    Fill(dest, {"D0", "D1"});
    CFaxMessage src;
    Fill(src, {"S0", "S1", "S2"});
    struct Case {
        CFaxMessage* source;
        int destPos, srcPos, count;
        const char* line;
    };
    const Case cases[] = {
        {NULL, 0, 0, 1, "CFaxMessage::GrabAttachments: Invalid message"},
        {&src, 0, 1, 0, "CFaxMessage::GrabAttachments: Wron iCount parameters"},
        {&src, 0, 4, -1, "CFaxMessage::GrabAttachments: Wron iCount parameters"},
        {&src, 0, 1, 5, "CFaxMessage::GrabAttachments: Wron parameters"},
        {&src, 0, -1, 1, "CFaxMessage::GrabAttachments: Wron parameters"},
        {&src, -1, 0, 1, "CFaxMessage::GrabAttachments: Wron parameters"},
        {&src, 3, 0, 1, "CFaxMessage::GrabAttachments: Wron parameters"},
        {&dest, 0, 0, 1, "CFaxMessage::GrabAttachments: Wron parameters"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_FALSE(dest.GrabAttachments(c.source, c.destPos, c.srcPos, c.count)) << "case " << i;
        const Lines log = TakeLog();
        ASSERT_EQ(log.size(), 2u) << "case " << i;
        EXPECT_EQ(log[1], c.line) << "case " << i;
        EXPECT_EQ(Titles(dest), "D0 D1") << "case " << i;
        EXPECT_EQ(Titles(src), "S0 S1 S2") << "case " << i;
    }
    // At the very end is allowed: the records are appended.
    EXPECT_TRUE(dest.GrabAttachments(&src, 2, 2, 1));
    EXPECT_EQ(Titles(dest), "D0 D1 S2");
}

TEST_F(AttachmentsTest, MessageWithoutFolderCopiesNothing) {
    SetSpool(m_temp.file("missing"));
    CFaxMessage message;
    const std::string a = MakeSource("a.tif", "x");
    message.AddFaxAttachment(a.c_str(), 1, 1, 0, "A");
    EXPECT_EQ(message.GetAttachmentsCount(), 1) << "only the slot";
    EXPECT_FALSE(message.SaveAttachment(0, a.c_str()));
    EXPECT_EQ(Entries(m_temp.path()), WithWinIni({"a.tif", "spool"}));
}

// A record outlives the message that made its file (a copy, a link or a
// grab holds it); the number is claimed again and the newcomer's attachment
// gets the same name. The record's last release must leave that file alone.
TEST_F(AttachmentsTest, LastHolderNeverDeletesANewcomersFile) {
    const std::string source = MakeSource("a.tif", "AAAA");
    for (int kind = 0; kind < 3; ++kind) {
        auto* original = new CFaxMessage;
        original->AddFaxAttachment(source.c_str(), 1, 1, 0, "A");
        CFaxMessage* holder = kind == 0 ? new CFaxMessage(*original) : new CFaxMessage;
        if (kind == 1) {
            ASSERT_TRUE(holder->LinkAttachment(original, 1)) << "case " << kind;
        } else if (kind == 2) {
            ASSERT_TRUE(holder->GrabAttachments(original, 0, 1, 1)) << "case " << kind;
        }
        delete original;

        CFaxMessage newcomer;
        newcomer.AddFaxAttachment(MakeSource("b.tif", "BBBB").c_str(), 1, 1, 0, "B");
        ASSERT_EQ(newcomer.GetAttachmentFileName(1), holder->GetAttachmentFileName(kind == 2 ? 0 : 1))
            << "case " << kind;
        delete holder;
        EXPECT_EQ(xwth_test::ReadFileBytes(DiskPath("FM000000/FD000001.tif")), "BBBB") << "case " << kind;
    }
}

}  // namespace
