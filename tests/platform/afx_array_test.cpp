// CArray and the named arrays: growth, insertion and removal ranges, bad
// indices, element aliasing, typed pointer arrays.
#include <stdint.h>

#include <string>
#include <vector>

#include <afxtempl.h>

#include "afx_test_support.h"

namespace {

using afx_test::Throws;

template <class ARRAY>
std::vector<DWORD> Contents(const ARRAY& a) {
    std::vector<DWORD> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(static_cast<DWORD>(a.GetAt(i)));
    return v;
}

std::vector<std::string> Strings(const CStringArray& a) {
    std::vector<std::string> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(a[i].GetString());
    return v;
}

// Each step runs on the array left by the previous one.
TEST(ArrayTest, EditsFollowTheFrameworkRules) {
    struct Step {
        const char* op;
        INT_PTR a, b, c;
        std::vector<DWORD> want;
    };
    const Step steps[] = {
        {"Add", 1, 0, 0, {1}},
        {"Add", 2, 0, 0, {1, 2}},
        {"InsertAt", 0, 9, 2, {9, 9, 1, 2}},          // index, value, count
        {"InsertAt", 6, 5, 1, {9, 9, 1, 2, 0, 0, 5}},  // past the end: zeros up to the index
        {"RemoveAt", 1, 3, 0, {9, 0, 0, 5}},
        {"RemoveAt", 3, 1, 0, {9, 0, 0}},
        {"RemoveAt", 3, 0, 0, {9, 0, 0}},              // an empty range at the end is fine
        {"SetAtGrow", 5, 7, 0, {9, 0, 0, 0, 0, 7}},
        {"SetAt", 1, 4, 0, {9, 4, 0, 0, 0, 7}},
        {"SetSize", 2, 0, 0, {9, 4}},
        {"SetSize", 4, 0, 0, {9, 4, 0, 0}},
        {"InsertAt", 4, 8, 1, {9, 4, 0, 0, 8}},        // exactly at the end
        {"RemoveAt", 0, 5, 0, {}},
    };
    CDWordArray a;
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const Step& s = steps[i];
        std::string op = s.op;
        if (op == "Add") {
            INT_PTR nIndex = a.Add(static_cast<DWORD>(s.a));
            EXPECT_EQ(nIndex, a.GetSize() - 1) << "step " << i;
        }
        if (op == "InsertAt") a.InsertAt(s.a, static_cast<DWORD>(s.b), s.c);
        if (op == "RemoveAt") a.RemoveAt(s.a, s.b);
        if (op == "SetAtGrow") a.SetAtGrow(s.a, static_cast<DWORD>(s.b));
        if (op == "SetAt") a.SetAt(s.a, static_cast<DWORD>(s.b));
        if (op == "SetSize") a.SetSize(s.a);
        EXPECT_EQ(Contents(a), s.want) << "step " << i;
        EXPECT_EQ(a.GetUpperBound(), a.GetSize() - 1) << "step " << i;
        EXPECT_EQ(a.GetCount(), a.GetSize()) << "step " << i;
    }
    EXPECT_TRUE(a.IsEmpty());
}

TEST(ArrayTest, BadIndicesThrowInvalidArg) {
    CByteArray a;
    a.SetSize(3);
    struct Case {
        const char* what;
        void (*call)(CByteArray&);
    };
    const Case cases[] = {
        {"GetAt(-1)", [](CByteArray& x) { (void)x.GetAt(-1); }},
        {"GetAt(size)", [](CByteArray& x) { (void)x.GetAt(3); }},
        {"ElementAt(size)", [](CByteArray& x) { (void)x.ElementAt(3); }},
        {"operator[](size)", [](CByteArray& x) { (void)x[3]; }},
        {"SetAt(size)", [](CByteArray& x) { x.SetAt(3, 1); }},
        {"SetAtGrow(-1)", [](CByteArray& x) { x.SetAtGrow(-1, 1); }},
        {"InsertAt(-1)", [](CByteArray& x) { x.InsertAt(-1, 1); }},
        {"InsertAt count 0", [](CByteArray& x) { x.InsertAt(0, 1, 0); }},
        {"RemoveAt(-1)", [](CByteArray& x) { x.RemoveAt(-1); }},
        {"RemoveAt(size)", [](CByteArray& x) { x.RemoveAt(3); }},
        {"RemoveAt past end", [](CByteArray& x) { x.RemoveAt(1, 3); }},
        {"RemoveAt count -1", [](CByteArray& x) { x.RemoveAt(0, -1); }},
        {"SetSize(-1)", [](CByteArray& x) { x.SetSize(-1); }},
        {"InsertAt NULL array", [](CByteArray& x) { x.InsertAt(0, static_cast<CByteArray*>(NULL)); }},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { cases[i].call(a); })) << "case " << i << " " << cases[i].what;
        EXPECT_EQ(a.GetSize(), 3) << "case " << i;  // a refused call changes nothing
    }
}

TEST(ArrayTest, SizeBeyondMemoryThrowsMemoryException) {
    CDWordArray a;
    a.Add(1);
    EXPECT_TRUE(Throws<CMemoryException>([&] { a.SetSize(PTRDIFF_MAX / 2); }));
    EXPECT_TRUE(Throws<CMemoryException>([&] { a.InsertAt(1, 0, PTRDIFF_MAX); }));
    EXPECT_TRUE(Throws<CMemoryException>([&] { a.SetAtGrow(PTRDIFF_MAX, 0); }));
    EXPECT_EQ(Contents(a), std::vector<DWORD>{1});
}

TEST(ArrayTest, PointerAndStringArraysGrowWithEmptyElements) {
    CPtrArray pointers;
    int x = 0;
    pointers.InsertAt(2, &x);
    ASSERT_EQ(pointers.GetSize(), 3);
    EXPECT_EQ(pointers[0], nullptr);
    EXPECT_EQ(pointers[1], nullptr);
    EXPECT_EQ(pointers[2], &x);

    CStringArray strings;
    strings.SetAtGrow(2, "c");
    EXPECT_EQ(Strings(strings), (std::vector<std::string>{"", "", "c"}));
}

TEST(ArrayTest, ElementArgumentMayLiveInTheArray) {
    CStringArray a;
    a.Add("first element, long enough to live on the heap");
    for (int i = 0; i < 40; ++i) a.Add(a[0]);  // each Add may move the block away
    a.InsertAt(1, a[0], 3);
    a.SetAtGrow(100, a[5]);
    EXPECT_EQ(a.GetSize(), 101);
    EXPECT_EQ(a[100], a[0]);
    EXPECT_EQ(a[43], a[0]);
    EXPECT_TRUE(a[99].IsEmpty());
}

TEST(ArrayTest, AppendCopyAndInsertArrays) {
    CStringArray a, b;
    a.Add("a");
    a.Add("b");
    b.Add("x");
    EXPECT_EQ(b.Append(a), 1);
    EXPECT_EQ(Strings(b), (std::vector<std::string>{"x", "a", "b"}));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { b.Append(b); }));

    b.InsertAt(1, &a);
    EXPECT_EQ(Strings(b), (std::vector<std::string>{"x", "a", "b", "a", "b"}));
    a.InsertAt(1, &a);  // an array into itself
    EXPECT_EQ(Strings(a), (std::vector<std::string>{"a", "a", "b", "b"}));
    a.InsertAt(6, &b);  // past the end
    EXPECT_EQ(a.GetSize(), 11);
    EXPECT_TRUE(a[4].IsEmpty());
    EXPECT_EQ(a[6], "x");

    a.Copy(b);
    EXPECT_EQ(Strings(a), Strings(b));
    a.Copy(a);
    EXPECT_EQ(Strings(a), Strings(b));
}

TEST(ArrayTest, GrowthStepAndFreeExtra) {
    CWordArray a;
    a.SetSize(0, 100);
    a.Add(1);
    WORD* before = a.GetData();
    for (int i = 0; i < 99; ++i) a.Add(static_cast<WORD>(i));
    EXPECT_EQ(a.GetData(), before);  // one block of 100 held all of them
    a.SetSize(10);
    a.FreeExtra();
    EXPECT_EQ(a.GetSize(), 10);
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(a[9], 8);
    a.RemoveAll();
    a.FreeExtra();
    EXPECT_EQ(a.GetData(), nullptr);
}

// Elements with their own heap storage: moves, not byte copies, and every
// destructor once (the address sanitizer checks the second half).
TEST(ArrayTest, TemplateHoldsNonTrivialTypes) {
    CArray<std::string> a;
    const std::string longText(100, 'z');
    for (int i = 0; i < 20; ++i) a.Add(longText + std::to_string(i));
    a.InsertAt(5, "inserted", 2);
    a.RemoveAt(0, 3);
    a.SetSize(30);
    ASSERT_EQ(a.GetSize(), 30);
    EXPECT_EQ(a[2], "inserted");
    EXPECT_EQ(a[4], longText + "5");
    EXPECT_EQ(a[18], longText + "19");
    EXPECT_TRUE(a[19].empty());
    EXPECT_TRUE(a[29].empty());
    a.SetSize(3);
    a.FreeExtra();
    EXPECT_EQ(a[0], longText + "3");
}

struct Item : CObject {
    explicit Item(int n) : value(n) {}
    int value;
};

TEST(ArrayTest, TypedPointerArraysCastBothWays) {
    Item one(1), two(2), three(3);
    CTypedPtrArray<CObArray, Item*> objects;
    objects.Add(&one);
    objects.Add(&three);
    objects.InsertAt(1, &two);
    Item* got = objects.GetAt(1);
    EXPECT_EQ(got->value, 2);
    objects[0] = &three;  // through the reference
    EXPECT_EQ(objects[0]->value, 3);
    EXPECT_EQ(objects.ElementAt(2)->value, 3);
    CObArray& base = objects;
    EXPECT_EQ(base.GetAt(1), &two);

    CTypedPtrArray<CPtrArray, int*> numbers;
    int values[3] = {10, 20, 30};
    numbers.SetAtGrow(1, &values[1]);
    CTypedPtrArray<CPtrArray, int*> more;
    more.Add(&values[0]);
    more.Add(&values[2]);
    numbers.InsertAt(0, &more);
    ASSERT_EQ(numbers.GetSize(), 4);
    EXPECT_EQ(*numbers[0], 10);
    EXPECT_EQ(*numbers[1], 30);
    EXPECT_EQ(numbers[2], nullptr);
    EXPECT_EQ(*numbers.GetData()[3], 20);
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)numbers.GetAt(4); }));
}

}  // namespace
