// CList and CMap and their named and typed forms: positions, search, order.
#include <string>
#include <vector>

#include <afxtempl.h>

#include "afx_test_support.h"

namespace {

using afx_test::Node;
using afx_test::Throws;
using Texts = std::vector<std::string>;

// The elements head to tail, checked against the walk from the tail.
Texts Forward(const CStringList& list) {
    Texts v, back;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) v.push_back(list.GetNext(pos).GetString());
    for (POSITION pos = list.GetTailPosition(); pos != NULL;) back.insert(back.begin(), list.GetPrev(pos).GetString());
    EXPECT_EQ(back, v) << "the walk backwards disagrees";
    EXPECT_EQ(list.GetCount(), static_cast<INT_PTR>(v.size()));
    return v;
}

TEST(ListTest, PositionsSurviveInsertsAndRemovals) {
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION posC = list.AddTail("c");
    list.InsertBefore(posC, "b2");
    list.InsertAfter(posC, "d");
    list.InsertBefore(NULL, "head");
    list.InsertAfter(NULL, "tail");
    EXPECT_EQ(Forward(list), (Texts{"head", "a", "b", "b2", "c", "d", "tail"}));
    list.SetAt(posC, "C");
    EXPECT_EQ(list.GetAt(list.FindIndex(4)), "C");

    EXPECT_EQ(list.RemoveHead(), "head");
    EXPECT_EQ(list.RemoveTail(), "tail");
    list.RemoveAt(list.Find("b2"));
    EXPECT_EQ(list.GetAt(posC), "C");  // untouched by removing its neighbour
    EXPECT_EQ(Forward(list), (Texts{"a", "b", "C", "d"}));
    list.RemoveAll();
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);

    // Every access goes through one check of the node: a few paths to it.
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)list.GetHead(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)list.RemoveTail(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { list.RemoveAt(NULL); }));
}

TEST(ListTest, FindsByValueAndIndex) {
    CStringList list;
    for (const char* s : {"x", "y", "x", "z"}) list.AddTail(s);
    struct Case {
        const char* value;
        int afterIndex;  // -1: from the head
        int wantIndex;   // -1: not found
    };
    const Case cases[] = {{"x", -1, 0}, {"x", 0, 2}, {"x", 2, -1}, {"z", 1, 3}, {"w", -1, -1}, {"y", 3, -1}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        POSITION after = c.afterIndex < 0 ? NULL : list.FindIndex(c.afterIndex);
        POSITION want = c.wantIndex < 0 ? NULL : list.FindIndex(c.wantIndex);
        EXPECT_EQ(list.Find(c.value, after), want) << "case " << i;
    }
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    EXPECT_EQ(list.FindIndex(4), nullptr);
}

TEST(ListTest, AppendsWholeListsIncludingItself) {
    CStringList a, b;
    a.AddTail("1");
    a.AddTail("2");
    b.AddTail("x");
    b.AddTail(&a);
    b.AddHead(&a);
    EXPECT_EQ(Forward(b), (Texts{"1", "2", "x", "1", "2"}));
    a.AddTail(&a);
    EXPECT_EQ(Forward(a), (Texts{"1", "2", "1", "2"}));
    a.AddHead(&a);
    EXPECT_EQ(Forward(a), (Texts{"1", "2", "1", "2", "1", "2", "1", "2"}));
}

// The typed wrappers hand out references into the base collections.
TEST(ListTest, TypedPointerListsAndMapsCast) {
    Node n1(1), n2(2), n3(3);
    CTypedPtrList<CObList, Node*> nodes;
    nodes.AddTail(&n1);
    nodes.GetHead() = &n3;
    EXPECT_EQ(nodes.RemoveHead()->id, 3);

    CTypedPtrMap<CMapStringToOb, CString, Node*> named;
    named["b"] = &n2;
    Node* found = NULL;
    EXPECT_TRUE(named.Lookup("b", found));
    EXPECT_EQ(found, &n2);
    POSITION pos = named.GetStartPosition();
    CString key;
    named.GetNextAssoc(pos, key, found);
    EXPECT_EQ(key, "b");
    EXPECT_EQ(found->id, 2);
}

TEST(MapTest, StoresLooksUpAndRemoves) {
    CMapStringToString map;
    map.SetAt("one", "1");
    map.SetAt("two", "2");
    map["three"] = "3";
    map.SetAt("one", "uno");  // replaces
    EXPECT_EQ(map.GetCount(), 3);
    struct Case {
        const char* key;
        bool found;
        const char* value;
    };
    const Case cases[] = {
        {"one", true, "uno"}, {"two", true, "2"}, {"three", true, "3"}, {"ONE", false, ""}, {"", false, ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CString value;
        EXPECT_EQ(map.Lookup(cases[i].key, value) != FALSE, cases[i].found) << "case " << i;
        EXPECT_EQ(value, cases[i].value) << "case " << i;
    }
    EXPECT_TRUE(map.RemoveKey("two"));
    EXPECT_FALSE(map.RemoveKey("two"));
    EXPECT_EQ(map["missing"], "");  // operator[] adds an empty value
    EXPECT_EQ(map.GetCount(), 3);
    map.RemoveAll();
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map.SetAt("again", "ok");
    EXPECT_EQ(map["again"], "ok");
}

TEST(MapTest, IteratesEveryKeyOnceInBucketOrder) {
    CMapWordToPtr map;
    int values[6];
    // Keys 0x10, 0x20, 0x30 fall in buckets 1, 2, 3; keys 1, 2, 3 all in bucket 0.
    const WORD keys[] = {0x30, 0x20, 0x10, 1, 2, 3};
    for (int i = 0; i < 6; ++i) map.SetAt(keys[i], &values[i]);
    std::vector<WORD> gotKeys;
    std::vector<void*> got;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        WORD key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        gotKeys.push_back(key);
        got.push_back(value);
    }
    EXPECT_EQ(gotKeys, (std::vector<WORD>{3, 2, 1, 0x10, 0x20, 0x30}));  // bucket order, newest first inside one
    EXPECT_EQ(got, (std::vector<void*>{&values[5], &values[4], &values[3], &values[2], &values[1], &values[0]}));
}

TEST(MapTest, HashTableSizeAndBadCalls) {
    CMapStringToPtr map;
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    map.InitHashTable(101);
    EXPECT_EQ(map.GetHashTableSize(), 101u);
    for (INT_PTR i = 0; i < 500; ++i)
        map.SetAt(CString("key") + std::to_string(i).c_str(), reinterpret_cast<void*>(i + 1));
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos != NULL; ++visited) {
        CString key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, CString("key") + std::to_string(reinterpret_cast<INT_PTR>(value) - 1).c_str());
    }
    EXPECT_EQ(visited, 500);

    EXPECT_TRUE(Throws<CInvalidArgException>([&] { map.InitHashTable(7); }));  // not empty
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { map.SetAt(NULL, NULL); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] {
        POSITION pos = NULL;
        CString key;
        void* v;
        map.GetNextAssoc(pos, key, v);
    }));
    CMapStringToPtr empty;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { empty.InitHashTable(0); }));
}

}  // namespace
