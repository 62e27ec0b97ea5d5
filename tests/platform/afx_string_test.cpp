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

TEST(CStringTest, ConstructsFromEachSource) {
    EXPECT_EQ(Bytes(CString()), "");
    EXPECT_EQ(Bytes(CString("abc")), "abc");
    EXPECT_EQ(Bytes(CString(static_cast<LPCSTR>(NULL))), "");
    EXPECT_EQ(Bytes(CString("abcdef", 3)), "abc");
    EXPECT_EQ(Bytes(CString("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Bytes(CString('x', 4)), "xxxx");
    EXPECT_EQ(Bytes(CString('x', 0)), "");
    EXPECT_EQ(Bytes(CString('x', -3)), "");
    EXPECT_TRUE(Throws<CInvalidArgException>([] { CString s("abc", -1); }));

    CString original("a\0b", 3);
    CString copy(original);
    EXPECT_EQ(Bytes(copy), Bytes(original));
    CString moved(std::move(copy));
    EXPECT_EQ(Bytes(moved), std::string("a\0b", 3));
    EXPECT_TRUE(copy.IsEmpty());  // NOLINT(bugprone-use-after-move): moved-from is empty
}

TEST(CStringTest, CopiesAreIndependent) {
    CString a("shared?");
    CString b = a;
    b.SetAt(0, 'S');
    a += "!";
    EXPECT_EQ(Bytes(a), "shared?!");
    EXPECT_EQ(Bytes(b), "Shared?");
}

TEST(CStringTest, EmbeddedNulsCountForLengthNotForSearch) {
    CString s("ab\0cd", 5);
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(Bytes(s + s), std::string("ab\0cdab\0cd", 10));
    EXPECT_EQ(Bytes(s.Mid(1, 3)), std::string("b\0c", 3));
    EXPECT_EQ(Bytes(s.Right(2)), "cd");
    // Searching and comparing read the C string, which ends at the NUL.
    EXPECT_EQ(s.Find('c'), -1);
    EXPECT_EQ(s.Find("cd"), -1);
    EXPECT_EQ(s.Find('c', 3), 3);
    EXPECT_TRUE(s == "ab");
    // Editing sees every byte.
    CString r = s;
    EXPECT_EQ(r.Replace('c', 'C'), 1);
    EXPECT_EQ(Bytes(r), std::string("ab\0Cd", 5));
    EXPECT_EQ(r.Remove('\0'), 1);
    EXPECT_EQ(Bytes(r), "abCd");
    CString rev = s;
    EXPECT_EQ(Bytes(rev.MakeReverse()), std::string("dc\0ba", 5));
    CString appended("x");
    appended += '\0';
    appended += "y";
    EXPECT_EQ(Bytes(appended), std::string("x\0y", 3));
}

TEST(CStringTest, MidLeftRightClamp) {
    const CString s("hello");
    struct Case {
        int which;  // 0 Mid(a, b), 1 Mid(a), 2 Left(a), 3 Right(a)
        int a, b;
        const char* want;
    };
    const Case cases[] = {
        {0, 1, 3, "ell"}, {0, -2, 3, "hel"}, {0, 4, 9, "o"},    {0, 5, 1, ""},      {0, 9, 2, ""},
        {0, 2, -1, ""},   {0, 0, 5, "hello"}, {1, 2, 0, "llo"}, {1, -4, 0, "hello"}, {1, 5, 0, ""},
        {1, 9, 0, ""},    {2, 2, 0, "he"},   {2, -1, 0, ""},    {2, 0, 0, ""},      {2, 9, 0, "hello"},
        {3, 2, 0, "lo"},  {3, -1, 0, ""},    {3, 5, 0, "hello"}, {3, 9, 0, "hello"},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        CString got = c.which == 0 ? s.Mid(c.a, c.b) : c.which == 1 ? s.Mid(c.a) : c.which == 2 ? s.Left(c.a) : s.Right(c.a);
        EXPECT_EQ(Bytes(got), c.want) << "case " << i;
    }
}

TEST(CStringTest, FindEdgeCases) {
    const CString s("abcabc");
    struct Case {
        const char* sub;  // NULL: search for ch
        char ch;
        int start;
        int want;
    };
    const Case cases[] = {
        {NULL, 'b', 0, 1},   {NULL, 'b', 2, 4},   {NULL, 'b', 5, -1},  {NULL, 'b', 6, -1},
        {NULL, 'b', -1, -1}, {NULL, 'z', 0, -1},  {"ca", 0, 0, 2},     {"bc", 0, 2, 4},
        {"bc", 0, 5, -1},    {"", 0, 0, 0},       {"", 0, 6, 6},       {"", 0, 7, -1},
        {"abc", 0, -1, -1},  {"abcabcd", 0, 0, -1},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        int got = c.sub == NULL ? s.Find(c.ch, c.start) : s.Find(c.sub, c.start);
        EXPECT_EQ(got, c.want) << "case " << i;
    }
    EXPECT_EQ(s.Find(static_cast<LPCTSTR>(NULL)), -1);
    EXPECT_EQ(s.ReverseFind('a'), 3);
    EXPECT_EQ(s.ReverseFind('z'), -1);
    EXPECT_EQ(s.FindOneOf("xc"), 2);
    EXPECT_EQ(s.FindOneOf("xyz"), -1);
    EXPECT_EQ(s.FindOneOf(""), -1);
    EXPECT_EQ(CString().Find(""), 0);
    EXPECT_EQ(CString().Find('a'), -1);
}

TEST(CStringTest, BadIndexThrowsInvalidArg) {
    CString s("abc");
    EXPECT_EQ(s.GetAt(2), 'c');
    EXPECT_EQ(s.GetAt(3), '\0');  // the terminator may be read
    EXPECT_EQ(s[0], 'a');
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.GetAt(-1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.GetAt(4); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[4]; }));
    // Any integer type indexes, with the same checks.
    EXPECT_EQ(s[static_cast<size_t>(1)], 'b');
    EXPECT_EQ(s[static_cast<INT_PTR>(2)], 'c');
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[static_cast<size_t>(-1)]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[static_cast<INT_PTR>(-1)]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[0x100000000LL]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.SetAt(3, 'x'); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.SetAt(-1, 'x'); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.Compare(NULL); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.Truncate(4); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s.SpanIncluding(NULL); }));
    EXPECT_EQ(Bytes(s), "abc");
}

TEST(CStringTest, ComparesAsCStrings) {
    struct Case {
        const char* a;
        const char* b;
        int cmp;
        int nocase;
    };
    const Case cases[] = {
        {"abc", "abc", 0, 0}, {"abc", "abd", -1, -1}, {"b", "abc", 1, 1}, {"", "a", -1, -1},
        {"ABC", "abc", -1, 0}, {"a_", "AZ", 1, -1},    // '_' sorts after 'Z' but before 'z'
        {"\xe9", "e", 1, 1},                            // bytes compare unsigned
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        CString a(c.a);
        EXPECT_EQ(a.Compare(c.b), c.cmp) << "case " << i;
        EXPECT_EQ(a.CompareNoCase(c.b), c.nocase) << "case " << i;
        EXPECT_EQ(a == c.b, c.cmp == 0) << "case " << i;
        EXPECT_EQ(c.b == a, c.cmp == 0) << "case " << i;
        EXPECT_EQ(a != CString(c.b), c.cmp != 0) << "case " << i;
        EXPECT_EQ(a < c.b, c.cmp < 0) << "case " << i;
        EXPECT_EQ(c.b < a, c.cmp > 0) << "case " << i;
        EXPECT_EQ(a >= c.b, c.cmp >= 0) << "case " << i;
        EXPECT_EQ(a <= c.b, c.cmp <= 0) << "case " << i;
        EXPECT_EQ(a > CString(c.b), c.cmp > 0) << "case " << i;
    }
    EXPECT_EQ(CString("abc").Collate("abd"), -1);
    EXPECT_EQ(CString("ABC").CollateNoCase("abc"), 0);
}

TEST(CStringTest, ConcatenatesEveryCombination) {
    CString s("ab");
    EXPECT_EQ(Bytes(s + CString("cd")), "abcd");
    EXPECT_EQ(Bytes(s + "cd"), "abcd");
    EXPECT_EQ(Bytes("cd" + s), "cdab");
    EXPECT_EQ(Bytes(s + 'c'), "abc");
    EXPECT_EQ(Bytes('c' + s), "cab");
    EXPECT_EQ(Bytes(s + static_cast<LPCTSTR>(NULL)), "ab");
    s += s;  // appending itself
    EXPECT_EQ(Bytes(s), "abab");
    s += s.GetString() + 1;  // appending a tail of its own buffer
    EXPECT_EQ(Bytes(s), "ababbab");
    CString grown;
    for (int i = 0; i < 1000; ++i) grown += static_cast<char>('a' + i % 26);
    EXPECT_EQ(grown.GetLength(), 1000);
    EXPECT_EQ(grown[999], static_cast<char>('a' + 999 % 26));
}

TEST(CStringTest, AssignsFromOwnBuffer) {
    CString s("hello world");
    s = s.GetString() + 6;
    EXPECT_EQ(Bytes(s), "world");
    const CString& alias = s;
    s = alias;
    EXPECT_EQ(Bytes(s), "world");
    s = 'z';
    EXPECT_EQ(Bytes(s), "z");
}

TEST(CStringTest, ReplaceRemoveInsertDelete) {
    struct Case {
        const char* text;
        int op;  // 0 Replace(a, b), 1 Remove(a[0]), 2 Insert(n, a), 3 Delete(n, m)
        const char* a;
        const char* b;
        int n, m;
        int wantReturn;
        const char* want;
    };
    const Case cases[] = {
        {"aXbXc", 0, "X", "--", 0, 0, 2, "a--b--c"},
        {"aaaa", 0, "aa", "b", 0, 0, 2, "bb"},
        {"aaa", 0, "aa", "b", 0, 0, 1, "ba"},
        {"abc", 0, "", "x", 0, 0, 0, "abc"},
        {"abc", 0, NULL, "x", 0, 0, 0, "abc"},
        {"abc", 0, "b", NULL, 0, 0, 1, "ac"},
        {"abc", 0, "z", "y", 0, 0, 0, "abc"},
        {"banana", 1, "a", NULL, 0, 0, 3, "bnn"},
        {"abc", 2, "XY", NULL, 1, 0, 5, "aXYbc"},
        {"abc", 2, "XY", NULL, -5, 0, 5, "XYabc"},
        {"abc", 2, "XY", NULL, 9, 0, 5, "abcXY"},
        {"abc", 2, NULL, NULL, 1, 0, 3, "abc"},
        {"abcdef", 3, NULL, NULL, 1, 2, 4, "adef"},
        {"abcdef", 3, NULL, NULL, 4, 9, 4, "abcd"},
        {"abcdef", 3, NULL, NULL, -2, 1, 5, "bcdef"},
        {"abcdef", 3, NULL, NULL, 2, -1, 6, "abcdef"},
        {"abcdef", 3, NULL, NULL, 9, 1, 6, "abcdef"},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        CString s(c.text);
        int got = c.op == 0   ? s.Replace(c.a, c.b)
                  : c.op == 1 ? s.Remove(c.a[0])
                  : c.op == 2 ? s.Insert(c.n, c.a)
                              : s.Delete(c.n, c.m);
        EXPECT_EQ(got, c.wantReturn) << "case " << i;
        EXPECT_EQ(Bytes(s), c.want) << "case " << i;
    }
    CString same("aaa");
    EXPECT_EQ(same.Replace('a', 'a'), 0);
    CString withChar("ac");
    EXPECT_EQ(withChar.Insert(1, 'b'), 3);
    EXPECT_EQ(Bytes(withChar), "abc");
}

TEST(CStringTest, TrimsWhitespaceCharsAndSets) {
    struct Case {
        const char* text;
        int which;  // 0 whitespace, 1 the char set[0], 2 the set
        const char* set;
        const char* wantLeft;
        const char* wantRight;
        const char* wantBoth;
    };
    const Case cases[] = {
        {" \t\r\n x y \v\f", 0, NULL, "x y \v\f", " \t\r\n x y", "x y"},
        {"   ", 0, NULL, "", "", ""},
        {"", 0, NULL, "", "", ""},
        {"xx", 0, NULL, "xx", "xx", "xx"},
        {"--a-b--", 1, "-", "a-b--", "--a-b", "a-b"},
        {"<[a]>", 2, "<>[]", "a]>", "<[a", "a"},
        {"<[a]>", 2, "", "<[a]>", "<[a]>", "<[a]>"},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        CString left(c.text), right(c.text), both(c.text);
        if (c.which == 0) {
            left.TrimLeft();
            right.TrimRight();
            both.Trim();
        } else if (c.which == 1) {
            left.TrimLeft(c.set[0]);
            right.TrimRight(c.set[0]);
            both.Trim(c.set[0]);
        } else {
            left.TrimLeft(c.set);
            right.TrimRight(c.set);
            both.Trim(c.set);
        }
        EXPECT_EQ(Bytes(left), c.wantLeft) << "case " << i;
        EXPECT_EQ(Bytes(right), c.wantRight) << "case " << i;
        EXPECT_EQ(Bytes(both), c.wantBoth) << "case " << i;
    }
}

TEST(CStringTest, ChangesCaseOfAsciiOnly) {
    CString s("Mixed Case 123 \xc9\xe9");
    EXPECT_EQ(Bytes(CString(s).MakeUpper()), "MIXED CASE 123 \xc9\xe9");
    EXPECT_EQ(Bytes(CString(s).MakeLower()), "mixed case 123 \xc9\xe9");
    EXPECT_EQ(Bytes(CString("abc").MakeReverse()), "cba");
}

TEST(CStringTest, SpansAndTokens) {
    CString s("123abc456");
    EXPECT_EQ(Bytes(s.SpanIncluding("0123456789")), "123");
    EXPECT_EQ(Bytes(s.SpanIncluding("x")), "");
    EXPECT_EQ(Bytes(s.SpanExcluding("cb")), "123a");
    EXPECT_EQ(Bytes(s.SpanExcluding("")), "123abc456");

    const CString list(",a,b,,cd,");
    const char* const want[] = {"a", "b", "cd"};
    const int wantNext[] = {3, 5, 9};
    int pos = 0;
    for (int i = 0; i < 3; ++i) {
        CString token = list.Tokenize(",", pos);
        EXPECT_EQ(Bytes(token), want[i]) << "token " << i;
        EXPECT_EQ(pos, wantNext[i]) << "token " << i;
    }
    EXPECT_EQ(Bytes(list.Tokenize(",", pos)), "");
    EXPECT_EQ(pos, -1);

    int rest = 3;
    EXPECT_EQ(Bytes(list.Tokenize("", rest)), "b,,cd,");
    EXPECT_EQ(rest, 3);  // an empty delimiter set does not advance
    int negative = -1;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)list.Tokenize(",", negative); }));
}

TEST(CStringTest, FormatsLikePrintf) {
    CString s;
    s.Format("%d|%5s|%-3c|%.2f|%x|%lld|%%", -42, "ab", 'z', 3.14159, 255u, 1LL << 40);
    EXPECT_EQ(Bytes(s), "-42|   ab|z  |3.14|ff|1099511627776|%");
    s.AppendFormat("+%03d", 7);
    EXPECT_EQ(Bytes(s), "-42|   ab|z  |3.14|ff|1099511627776|%+007");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringTest, FormatsLongOutputAndItsOwnText) {
    CString s;
    s.Format("[%5000d]", 1);
    ASSERT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s[0], '[');
    EXPECT_EQ(s[4999], ' ');
    EXPECT_EQ(Bytes(s.Right(2)), "1]");

    std::string big(100000, 'q');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(Bytes(s), "<" + big + ">");

    // The argument points into the string being formatted.
    s = "abc";
    s.Format("%s-%s", s.GetString(), s.GetString());
    EXPECT_EQ(Bytes(s), "abc-abc");
    s = CString('x', 300);
    s.Format("%s!", s.GetString());
    EXPECT_EQ(Bytes(s), std::string(300, 'x') + "!");
    s.AppendFormat("%s", s.GetString());
    EXPECT_EQ(s.GetLength(), 602);
}

TEST(CStringTest, BufferRoundTrips) {
    CString s("start");
    char* p = s.GetBuffer(64);
    ASSERT_NE(p, nullptr);
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

    CString empty;
    p = empty.GetBuffer(0);
    p[0] = '\0';
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());

    // A buffer filled to the brim without a terminator: the length stops at
    // the buffer's end.
    CString full;
    p = full.GetBuffer(8);
    int nAlloc = full.GetAllocLength();
    memset(p, 'y', static_cast<size_t>(nAlloc));
    full.ReleaseBuffer();
    EXPECT_EQ(full.GetLength(), nAlloc);

    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.GetBuffer(-1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.ReleaseBuffer(s.GetAllocLength() + 1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.ReleaseBuffer(-2); }));
}

TEST(CStringTest, StorageCalls) {
    CString s("abc");
    s.Preallocate(100);
    EXPECT_GE(s.GetAllocLength(), 100);
    s.FreeExtra();
    EXPECT_EQ(s.GetAllocLength(), 3);
    EXPECT_EQ(Bytes(s), "abc");
    s.Empty();
    EXPECT_EQ(s.GetString()[0], '\0');
}

TEST(CStringTest, StringResourcesAreNotLoadedYet) {
    CString s("kept");
    EXPECT_FALSE(s.LoadString(1));
    EXPECT_EQ(Bytes(s), "kept");
    CString fromId(reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(7)));
    EXPECT_TRUE(fromId.IsEmpty());
}

}  // namespace
