// CString: counted storage, clamping, searching, editing, formatting, buffers.
#include <string.h>

#include <string>
#include <utility>

#include <afx.h>

#include "afx_test_support.h"

namespace {

using afx_test::Throws;

// Every byte of the string, embedded NULs included.
std::string Bytes(const CString& s) {
    return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
}

TEST(CStringTest, ConstructsCopiesAndMoves) {
    EXPECT_EQ(Bytes(CString(static_cast<LPCSTR>(NULL))), "");
    EXPECT_EQ(Bytes(CString("abcdef", 3)), "abc");
    EXPECT_EQ(Bytes(CString('x', -3)), "");
    EXPECT_TRUE(Throws<CInvalidArgException>([] { CString s("abc", -1); }));
    // A MAKEINTRESOURCE value names a string resource (none load yet): never read as text.
    EXPECT_TRUE(CString(reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(7))).IsEmpty());

    CString a("a\0b", 3);
    CString b(a);
    b.SetAt(0, 'B');  // copies never share characters
    a += "!";
    EXPECT_EQ(Bytes(a), std::string("a\0b!", 4));
    EXPECT_EQ(Bytes(b), std::string("B\0b", 3));
    CString moved(std::move(b));
    EXPECT_EQ(Bytes(moved), std::string("B\0b", 3));
    EXPECT_TRUE(b.IsEmpty());  // NOLINT(bugprone-use-after-move): moved-from is empty
}

TEST(CStringTest, EmbeddedNulsCountForLengthNotForSearch) {
    CString s("ab\0cd", 5);
    EXPECT_EQ(Bytes(s + s), std::string("ab\0cdab\0cd", 10));
    EXPECT_EQ(Bytes(s.Mid(1, 3)), std::string("b\0c", 3));
    // Searching and comparing read the C string, which ends at the NUL.
    EXPECT_EQ(s.Find('c'), -1);
    EXPECT_EQ(s.Find("cd"), -1);
    EXPECT_EQ(s.Find('c', 3), 3);
    EXPECT_TRUE(s == "ab");
    // Editing sees every byte.
    CString r = s;
    EXPECT_EQ(r.Replace('c', 'C'), 1);
    EXPECT_EQ(r.Remove('\0'), 1);
    EXPECT_EQ(Bytes(r), "abCd");
    EXPECT_EQ(Bytes(CString(s).MakeReverse()), std::string("dc\0ba", 5));
    CString appended("x");
    appended += '\0';
    appended += "y";
    EXPECT_EQ(Bytes(appended), std::string("x\0y", 3));
}

TEST(CStringTest, MidLeftRightClamp) {
    const CString s("hello");
    struct Case {
        CString got;
        const char* want;
    };
    const Case cases[] = {
        {s.Mid(1, 3), "ell"}, {s.Mid(-2, 3), "hel"}, {s.Mid(4, 9), "o"},  {s.Mid(5, 1), ""},
        {s.Mid(9, 2), ""},    {s.Mid(2, -1), ""},    {s.Mid(-4), "hello"}, {s.Mid(9), ""},
        {s.Left(2), "he"},    {s.Left(-1), ""},      {s.Left(9), "hello"}, {s.Right(2), "lo"},
        {s.Right(-1), ""},    {s.Right(9), "hello"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Bytes(cases[i].got), cases[i].want) << "case " << i;
}

TEST(CStringTest, FindsWithinTheRange) {
    const CString s("abcabc");
    const int cases[][2] = {
        {s.Find('b', 2), 4},   {s.Find('b', 5), -1},  {s.Find('b', 6), -1}, {s.Find('b', -1), -1},
        {s.Find("bc", 2), 4},  {s.Find("", 6), 6},    {s.Find("", 7), -1},  {s.Find("abc", -1), -1},
        {s.Find("abcabcd"), -1}, {s.Find(static_cast<LPCTSTR>(NULL)), -1}, {s.ReverseFind('a'), 3},
        {s.ReverseFind('z'), -1}, {s.FindOneOf("xc"), 2}, {s.FindOneOf(""), -1}, {CString().Find(""), 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i][0], cases[i][1]) << "case " << i;
}

TEST(CStringTest, BadIndexThrowsInvalidArg) {
    CString s("abc");
    EXPECT_EQ(s.GetAt(3), '\0');  // the terminator may be read
    EXPECT_EQ(s[static_cast<size_t>(1)], 'b');
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.GetAt(-1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.GetAt(4); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[4]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[static_cast<size_t>(-1)]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[0x100000000LL]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.SetAt(3, 'x'); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.Compare(NULL); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.Truncate(4); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.SpanIncluding(NULL); }));
    EXPECT_EQ(Bytes(s), "abc");
}

TEST(CStringTest, ComparesAsCStrings) {
    struct Case {
        const char *a, *b;
        int cmp, nocase;
    };
    const Case cases[] = {
        {"abc", "abc", 0, 0}, {"abc", "abd", -1, -1}, {"b", "abc", 1, 1}, {"", "a", -1, -1},
        {"ABC", "abc", -1, 0}, {"a_", "AZ", 1, -1},  // '_' sorts after 'Z' but before 'z'
        {"\xe9", "e", 1, 1},                          // bytes compare unsigned
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        CString a(c.a);
        EXPECT_EQ(a.Compare(c.b), c.cmp) << "case " << i;
        EXPECT_EQ(a.CompareNoCase(c.b), c.nocase) << "case " << i;
        EXPECT_EQ(c.b < a, c.cmp > 0) << "case " << i;  // the text on the left turns the sign
    }
    EXPECT_EQ(CString("abc").Collate("abd"), -1);
    EXPECT_EQ(CString("ABC").CollateNoCase("abc"), 0);
}

TEST(CStringTest, ConcatenatesAndAssignsFromItsOwnBuffer) {
    CString s("ab");
    EXPECT_EQ(Bytes("cd" + s + 'e'), "cdabe");
    EXPECT_EQ(Bytes('c' + s + static_cast<LPCTSTR>(NULL)), "cab");
    s += s;
    EXPECT_EQ(Bytes(s), "abab");
    s += s.GetString() + 1;  // a tail of its own buffer
    EXPECT_EQ(Bytes(s), "ababbab");
    s = s.GetString() + 4;
    EXPECT_EQ(Bytes(s), "bab");
    const CString& alias = s;
    s = alias;
    EXPECT_EQ(Bytes(s), "bab");
}

TEST(CStringTest, EditsReturnCountsAndLengths) {
    struct Case {
        const char* text;
        int (*edit)(CString&);
        int wantReturn;
        const char* want;
    };
    const Case cases[] = {
        {"aXbXc", [](CString& s) { return s.Replace("X", "--"); }, 2, "a--b--c"},
        {"aaaa", [](CString& s) { return s.Replace("aa", "b"); }, 2, "bb"},
        {"abc", [](CString& s) { return s.Replace("", "x"); }, 0, "abc"},
        {"abc", [](CString& s) { return s.Replace(NULL, "x"); }, 0, "abc"},
        {"abc", [](CString& s) { return s.Replace("b", NULL); }, 1, "ac"},
        {"aaa", [](CString& s) { return s.Replace('a', 'a'); }, 0, "aaa"},
        {"banana", [](CString& s) { return s.Remove('a'); }, 3, "bnn"},
        {"abc", [](CString& s) { return s.Insert(1, "XY"); }, 5, "aXYbc"},
        {"abc", [](CString& s) { return s.Insert(-5, "XY"); }, 5, "XYabc"},
        {"abc", [](CString& s) { return s.Insert(9, "XY"); }, 5, "abcXY"},
        {"abc", [](CString& s) { return s.Insert(1, static_cast<LPCTSTR>(NULL)); }, 3, "abc"},
        {"ac", [](CString& s) { return s.Insert(1, 'b'); }, 3, "abc"},
        {"abcdef", [](CString& s) { return s.Delete(1, 2); }, 4, "adef"},
        {"abcdef", [](CString& s) { return s.Delete(4, 9); }, 4, "abcd"},
        {"abcdef", [](CString& s) { return s.Delete(-2, 1); }, 5, "bcdef"},
        {"abcdef", [](CString& s) { return s.Delete(2, -1); }, 6, "abcdef"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CString s(cases[i].text);
        EXPECT_EQ(cases[i].edit(s), cases[i].wantReturn) << "case " << i;
        EXPECT_EQ(Bytes(s), cases[i].want) << "case " << i;
    }
}

TEST(CStringTest, TrimsAndChangesCase) {
    struct Case {
        const char *text, *set;  // set NULL: white space
        const char* want;        // TrimLeft|TrimRight|Trim
    };
    const Case cases[] = {
        {" \t\r\n x y \v\f", NULL, "x y \v\f| \t\r\n x y|x y"}, {"   ", NULL, "||"},
        {"<[a]>", "<>[]", "a]>|<[a|a"}, {"<[a]>", "", "<[a]>|<[a]>|<[a]>"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        CString l(c.text), r(c.text), b(c.text);
        if (c.set == NULL) {
            l.TrimLeft(), r.TrimRight(), b.Trim();
        } else {
            l.TrimLeft(c.set), r.TrimRight(c.set), b.Trim(c.set);
        }
        EXPECT_EQ(Bytes(l) + "|" + Bytes(r) + "|" + Bytes(b), c.want) << "case " << i;
    }
    const CString s("--a-b--");
    EXPECT_EQ(Bytes(CString(s).TrimLeft('-')), "a-b--");
    EXPECT_EQ(Bytes(CString(s).TrimRight('-')), "--a-b");
    EXPECT_EQ(Bytes(CString(s).Trim('-')), "a-b");
    EXPECT_EQ(Bytes(CString("Mixed 1 \xc9\xe9").MakeUpper()), "MIXED 1 \xc9\xe9");  // ASCII letters only
    EXPECT_EQ(Bytes(CString("Mixed 1 \xc9\xe9").MakeLower()), "mixed 1 \xc9\xe9");
}

TEST(CStringTest, SpansAndTokens) {
    CString s("123abc456");
    EXPECT_EQ(Bytes(s.SpanIncluding("0123456789")), "123");
    EXPECT_EQ(Bytes(s.SpanExcluding("cb")), "123a");
    EXPECT_EQ(Bytes(s.SpanExcluding("")), "123abc456");

    const CString list(",a,b,,cd,");
    const char* const want[] = {"a", "b", "cd", ""};
    const int wantNext[] = {3, 5, 9, -1};
    int pos = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Bytes(list.Tokenize(",", pos)), want[i]) << "token " << i;
        EXPECT_EQ(pos, wantNext[i]) << "token " << i;
    }
    int rest = 3;
    EXPECT_EQ(Bytes(list.Tokenize("", rest)), "b,,cd,");
    EXPECT_EQ(rest, 3);  // an empty delimiter set does not advance
    int negative = -1;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)list.Tokenize(",", negative); }));
}

TEST(CStringTest, FormatsWithoutLimitIncludingItsOwnText) {
    CString s;
    s.Format("%d|%5s|%-3c|%.2f|%x|%lld|%%", -42, "ab", 'z', 3.14159, 255u, 1LL << 40);
    s.AppendFormat("+%03d", 7);
    EXPECT_EQ(Bytes(s), "-42|   ab|z  |3.14|ff|1099511627776|%+007");
    s.Format("[%5000d]", 1);
    EXPECT_EQ(Bytes(s), "[" + std::string(4999, ' ') + "1]");
    const std::string big(100000, 'q');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(Bytes(s), "<" + big + ">");
    // The argument points into the string being formatted.
    s = CString('x', 300);
    s.Format("%s!", s.GetString());
    EXPECT_EQ(Bytes(s), std::string(300, 'x') + "!");
    s.AppendFormat("%s", s.GetString());
    EXPECT_EQ(s.GetLength(), 602);
}

TEST(CStringTest, BufferRoundTrips) {
    CString s("start");
    char* p = s.GetBuffer(64);
    EXPECT_EQ(strcmp(p, "start"), 0);  // the old text is kept
    EXPECT_GE(s.GetAllocLength(), 64);
    strcpy(p, "rewritten text");
    s.ReleaseBuffer();
    EXPECT_EQ(Bytes(s), "rewritten text");

    p = s.GetBuffer(0);
    memcpy(p, "ab\0d", 4);
    s.ReleaseBuffer(4);  // an explicit length keeps the NUL
    EXPECT_EQ(Bytes(s), std::string("ab\0d", 4));
    p = s.GetBufferSetLength(3);
    EXPECT_EQ(s.GetLength(), 3);
    p[0] = 'x';
    s.ReleaseBuffer(3);
    EXPECT_EQ(Bytes(s), std::string("xb\0", 3));

    // Filled to the brim without a terminator: the length stops at the buffer's end.
    CString full;
    p = full.GetBuffer(8);
    const int nAlloc = full.GetAllocLength();
    memset(p, 'y', static_cast<size_t>(nAlloc));
    full.ReleaseBuffer();
    EXPECT_EQ(full.GetLength(), nAlloc);

    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.GetBuffer(-1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.ReleaseBuffer(s.GetAllocLength() + 1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.ReleaseBuffer(-2); }));

    s.Preallocate(100);
    EXPECT_GE(s.GetAllocLength(), 100);
    s.FreeExtra();
    EXPECT_EQ(s.GetAllocLength(), 3);
    EXPECT_EQ(Bytes(s), std::string("xb\0", 3));
}

}  // namespace
