// CArray and the named arrays: growth, insertion and removal ranges, bad
// indices, element aliasing, typed pointer arrays.
#include <stdint.h>

#include <string>
#include <vector>

#include <afxtempl.h>

#include "afx_test_support.h"

namespace {

using afx_test::Node;
using afx_test::Throws;

template <class ARRAY>
auto Contents(const ARRAY& a) {
    std::vector<std::decay_t<decltype(a[0])>> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(a[i]);
    return v;
}

using Strings = std::vector<CString>;

// Each step runs on the array left by the previous one.
TEST(ArrayTest, EditsFollowTheFrameworkRules) {
    struct Step {
        void (*edit)(CDWordArray&);
        std::vector<DWORD> want;
    };
    const Step steps[] = {
        {[](CDWordArray& a) { EXPECT_EQ(a.Add(1), 0); }, {1}},
        {[](CDWordArray& a) { EXPECT_EQ(a.Add(2), 1); }, {1, 2}},
        {[](CDWordArray& a) { a.InsertAt(0, 9, 2); }, {9, 9, 1, 2}},
        {[](CDWordArray& a) { a.InsertAt(6, 5); }, {9, 9, 1, 2, 0, 0, 5}},  // past the end: zeros up to the index
        {[](CDWordArray& a) { a.RemoveAt(1, 3); }, {9, 0, 0, 5}},
        {[](CDWordArray& a) { a.RemoveAt(3); }, {9, 0, 0}},
        {[](CDWordArray& a) { a.RemoveAt(3, 0); }, {9, 0, 0}},  // an empty range at the end is fine
        {[](CDWordArray& a) { a.SetAtGrow(5, 7); }, {9, 0, 0, 0, 0, 7}},
        {[](CDWordArray& a) { a.SetAt(1, 4); }, {9, 4, 0, 0, 0, 7}},
        {[](CDWordArray& a) { a.SetSize(2); }, {9, 4}},
        {[](CDWordArray& a) { a.SetSize(4); }, {9, 4, 0, 0}},
        {[](CDWordArray& a) { a.InsertAt(4, 8); }, {9, 4, 0, 0, 8}},  // exactly at the end
        {[](CDWordArray& a) { a.RemoveAt(0, 5); }, {}},
    };
    CDWordArray a;
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].edit(a);
        EXPECT_EQ(Contents(a), steps[i].want) << "step " << i;
    }
}

TEST(ArrayTest, BadIndicesAndSizesThrow) {
    CByteArray a;
    a.SetSize(3);
    void (*const invalid[])(CByteArray&) = {
        [](CByteArray& x) { (void)x.GetAt(-1); },      [](CByteArray& x) { (void)x.GetAt(3); },
        [](CByteArray& x) { x.SetAtGrow(-1, 1); },     [](CByteArray& x) { x.InsertAt(-1, 1); },
        [](CByteArray& x) { x.InsertAt(0, 1, 0); },    [](CByteArray& x) { x.RemoveAt(-1); },
        [](CByteArray& x) { x.RemoveAt(3); },          [](CByteArray& x) { x.RemoveAt(1, 3); },
        [](CByteArray& x) { x.RemoveAt(0, -1); },      [](CByteArray& x) { x.SetSize(-1); },
        [](CByteArray& x) { x.InsertAt(0, static_cast<CByteArray*>(NULL)); },
        [](CByteArray& x) { x.Append(x); },
    };
    for (size_t i = 0; i < std::size(invalid); ++i) {
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { invalid[i](a); })) << "case " << i;
        EXPECT_EQ(a.GetSize(), 3) << "case " << i;  // a refused call changes nothing
    }
    // Sizes no allocation can hold (in bytes, past PTRDIFF_MAX: never asked of the heap).
    CDWordArray d;
    d.Add(1);
    EXPECT_TRUE(Throws<CMemoryException>([&] { d.SetSize(PTRDIFF_MAX / 2); }));
    EXPECT_TRUE(Throws<CMemoryException>([&] { d.InsertAt(1, 0, PTRDIFF_MAX); }));
    EXPECT_TRUE(Throws<CMemoryException>([&] { d.SetAtGrow(PTRDIFF_MAX, 0); }));
    EXPECT_EQ(Contents(d), std::vector<DWORD>{1});
}

TEST(ArrayTest, PointerAndStringArraysGrowWithEmptyElements) {
    CPtrArray pointers;
    int x = 0;
    pointers.InsertAt(2, &x);
    EXPECT_EQ(Contents(pointers), (std::vector<void*>{NULL, NULL, &x}));
    CStringArray strings;
    strings.SetAtGrow(2, "c");
    EXPECT_EQ(Contents(strings), (Strings{"", "", "c"}));
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
    b.InsertAt(1, &a);
    EXPECT_EQ(Contents(b), (Strings{"x", "a", "b", "a", "b"}));
    a.InsertAt(1, &a);  // an array into itself
    EXPECT_EQ(Contents(a), (Strings{"a", "a", "b", "b"}));
    a.InsertAt(6, &b);  // past the end
    EXPECT_EQ(Contents(a), (Strings{"a", "a", "b", "b", "", "", "x", "a", "b", "a", "b"}));
    a.Copy(b);
    EXPECT_EQ(Contents(a), Contents(b));
    a.Copy(a);
    EXPECT_EQ(Contents(a), Contents(b));
}

TEST(ArrayTest, GrowthStepAndFreeExtra) {
    CWordArray a;
    a.SetSize(0, 100);
    a.Add(1);
    WORD* before = a.GetData();
    for (int i = 0; i < 99; ++i) a.Add(static_cast<WORD>(i));
    EXPECT_EQ(a.GetData(), before);  // one block of 100 held all of them
    a.SetSize(3);
    a.FreeExtra();
    EXPECT_EQ(Contents(a), (std::vector<WORD>{1, 0, 1}));
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
    EXPECT_TRUE(a[29].empty());
    a.SetSize(3);
    a.FreeExtra();
    EXPECT_EQ(a[0], longText + "3");
}

// The typed wrappers hand out references into the base array.
TEST(ArrayTest, TypedPointerArraysCastBothWays) {
    Node one(1), two(2);
    CTypedPtrArray<CObArray, Node*> objects;
    objects.SetAtGrow(1, &one);
    objects[0] = &two;
    EXPECT_EQ(objects.GetAt(0)->id, 2);
    EXPECT_EQ(static_cast<CObArray&>(objects).GetAt(1), &one);
    CTypedPtrArray<CObArray, Node*> more;
    more.Add(&two);
    objects.InsertAt(1, &more);
    EXPECT_EQ(Contents(objects), (std::vector<Node*>{&two, &two, &one}));
}

}  // namespace
