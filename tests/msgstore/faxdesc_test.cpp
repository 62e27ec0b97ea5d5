// CFaxDesc: the field table, and "TQFM" files as written and as loaded.
#include <xwth/faxdesc.h>

#include <gtest/gtest.h>

#include <string>

#include "support/testutil.h"

namespace {

// The table as one comparable text: "[name=value][name=value]".
std::string Fields(CFaxDesc& desc) {
    CStringArray names;
    EXPECT_EQ(desc.GetFieldNames(names), 1);
    std::string out;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        out.append("[").append(names[i]).append("=").append(desc.GetFieldValue(names[i], -1)).append("]");
    }
    return out;
}

// The file a text-mode writer makes of LF-separated lines on this platform.
std::string TextFile(std::string lf) {
#if defined(_WIN32)
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
#else
    return lf;
#endif
}

std::string Golden(const char* name) {
    return xwth_test::ReadFileBytes(std::string(XWTH_TEST_DATA) + "/faxdesc/" + name);
}

TEST(FaxDescTest, KeysFromNameAndIndex) {
    CFaxDesc desc;
    EXPECT_EQ(desc.SetFieldValue("Page", "x", 3), 1);
    desc.SetFieldValue("Page", "twelve", 12);
    desc.SetFieldValue("Page", "base", -1);
    desc.SetFieldValue("page", "lower", -5);
    desc.SetFieldValue("Page", "zero", 0);
    EXPECT_EQ(desc.SetFieldValueCheckEmpty("Empty", CString(), -1), 1);
    EXPECT_EQ(desc.SetFieldValueCheckEmpty("Page", CString("X"), 3), 1);  // replaces, keeps its place
    EXPECT_EQ(Fields(desc), "[Page3=X][Page12=twelve][Page=base][page=lower][Page0=zero]");
    EXPECT_EQ(std::string(desc.GetFieldValue("Page3", -1)), "X");
    EXPECT_EQ(std::string(desc.GetFieldValue("Page", 3)), "X");
    EXPECT_EQ(std::string(desc.GetFieldValue("PAGE", -1)), "");
    EXPECT_EQ(std::string(desc.GetFieldValue("Page", 4)), "");
}

// Every kind of name and value that the format can carry comes back as it
// was, and the file is exactly the golden one.
TEST(FaxDescTest, StoresAndLoadsBack) {
    CFaxDesc desc;
    desc.SetFieldValue("To", "+1 555 0100", -1);
    desc.SetFieldValue("", "empty name", -1);
    desc.SetFieldValue("Blank", "", -1);
    desc.SetFieldValue(" Spaced Name ", "  value with blanks  ", -1);
    desc.SetFieldValue("Subject", "a:b::c", -1);
    desc.SetFieldValue("Page", "cover.tif", 0);
    desc.SetFieldValue("Page", "letter.tif", 12);
    desc.SetFieldValue("Latin1", "Gr\xfc\xdf" "e \xe9t\xe9", -1);
    desc.SetFieldValue("Tab", "a\tb", -1);
    desc.SetFieldValue("Long", std::string(505, 'v').c_str(), -1);  // "Long:" + 505 = 510
    xwth_test::TempDir dir;
    const std::string path = dir.file("desc.tqfm");
    ASSERT_EQ(desc.StoreTo(path.c_str()), 0);
    EXPECT_EQ(xwth_test::ReadFileBytes(path), TextFile(Golden("fields.tqfm")));

    CFaxDesc loaded;
    loaded.SetFieldValue("Old", "gone after the load", -1);
    ASSERT_EQ(loaded.LoadFrom(path.c_str()), 0);
    EXPECT_EQ(Fields(loaded), Fields(desc));

    // Truncates the earlier file, named with the other separator this time.
    const std::string winPath = dir.path() + "\\desc.tqfm";
    CFaxDesc empty;
    ASSERT_EQ(empty.StoreTo(winPath.c_str()), 0);
    EXPECT_EQ(xwth_test::ReadFileBytes(path), TextFile(Golden("empty.tqfm")));
    ASSERT_EQ(loaded.LoadFrom(winPath.c_str()), 0);
    EXPECT_EQ(Fields(loaded), "");
}

TEST(FaxDescTest, LoadsFieldLines) {
    const std::string piece90 = std::string(40, 'n') + ":" + std::string(49, 'w');
    const std::string line600 = "Big:" + std::string(506, 'a') + piece90;
    const struct {
        std::string file;
        std::string want;
    } cases[] = {
        {"TQFM 0.1\nTo:123\nX:1\nTo:456\n", "[To=456][X=1]"},
        {"TQFM 0.1\na:b:c\nKey:\n:x\nName: x\nNoColonHere\n", "[a=b:c][Key=][=x][Name= x]"},
        {"TQFM 0.1\r\nA:1\r\nB:2\r\n", "[A=1][B=2]"},     // CR LF
        {"TQFM 0.1\nA:1\nB:2", "[A=1][B=2]"},             // no final line end
        {"TQFM 0.1\nA:1\r\n\nB:2\rx\n", "[A=1][B=2\rx]"},  // a CR alone is text
        {"TQFM 9.9\nA:1\n", "[A=1]"},                     // the version is not checked
        {"TQFM\nA:1\n", "[A=1]"},                         // nor required
        {"TQFM 0.1 Tail:end\nA:1\n", "[ Tail=end][A=1]"}, // the header line's rest is a line
        {"  TQFM 0.1\nA:1\n", "[A=1]"},
        {"TQFM 0.1\n", ""},
        {std::string("TQFM 0.1\nA:1\0hidden\nB:\0\n", 25), "[A=1][B=]"},  // NUL ends a piece's text
        {"TQFM 0.1\n" + line600 + "\nEnd:1\n",
         "[Big=" + std::string(506, 'a') + "][" + std::string(40, 'n') + "=" + std::string(49, 'w') + "][End=1]"},
        {"TQFM 0.1\n" + std::string(510, 'x') + "Tail:1\n", "[Tail=1]"},
    };
    xwth_test::TempDir dir;
    const std::string path = dir.file("load.tqfm");
    for (size_t i = 0; i < std::size(cases); ++i) {
        xwth_test::WriteFileBytes(path, cases[i].file);
        CFaxDesc desc;
        ASSERT_EQ(desc.LoadFrom(path.c_str()), 0) << "case " << i;
        EXPECT_EQ(Fields(desc), cases[i].want) << "case " << i;
    }
}

TEST(FaxDescTest, RejectedFilesLeaveTheTable) {
    xwth_test::TempDir dir;
    const struct {
        const char* name;
        std::string bytes;  // empty name: the file is not made
        int want;
    } cases[] = {
        {"missing.tqfm", "", -2},
        {"lower.tqfm", "tqfm 0.1\nA:1\n", -3},
        {"other.tqfm", "TQFX 0.1\nA:1\n", -3},
        {"longer.tqfm", "TQFMX 0.1\nA:1\n", -3},
        {"empty.tqfm", "-", -3},
        {"blank.tqfm", " \n\n", -3},
        {"overlong.tqfm", "TQFM" + std::string(5000, 'W') + " 0.1\nA:1\n", -3},
        {"overlong511.tqfm", std::string(511, 'W') + "\nA:1\n", -3},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = dir.file(cases[i].name);
        if (!cases[i].bytes.empty()) {
            xwth_test::WriteFileBytes(path, cases[i].bytes == "-" ? "" : cases[i].bytes);
        }
        CFaxDesc desc;
        desc.SetFieldValue("Kept", "yes", -1);
        EXPECT_EQ(desc.LoadFrom(path.c_str()), cases[i].want) << "case " << i;
        EXPECT_EQ(Fields(desc), "[Kept=yes]") << "case " << i;
    }
    CFaxDesc desc;
    EXPECT_EQ(desc.StoreTo(dir.path().c_str()), -2);  // a folder
    EXPECT_EQ(desc.StoreTo(dir.file("no/such/folder.tqfm").c_str()), -2);
    EXPECT_EQ(desc.LoadFrom(NULL), -2);
}

}  // namespace
