// CList and CMap and their named and typed forms: positions, search, order.
#include <string>
#include <vector>

#include <afxtempl.h>

#include "afx_test_support.h"

namespace {

using afx_test::Throws;

std::vector<std::string> Forward(const CStringList& list) {
    std::vector<std::string> v;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) v.push_back(list.GetNext(pos).GetString());
    return v;
}

std::vector<std::string> Backward(const CStringList& list) {
    std::vector<std::string> v;
    for (POSITION pos = list.GetTailPosition(); pos != NULL;) v.push_back(list.GetPrev(pos).GetString());
    return v;
}

using Texts = std::vector<std::string>;

TEST(ListTest, AddsInsertsAndWalksBothWays) {
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION posC = list.AddTail("c");
    list.InsertBefore(posC, "b2");
    list.InsertAfter(posC, "d");
    list.InsertBefore(NULL, "head");
    list.InsertAfter(NULL, "tail");
    EXPECT_EQ(Forward(list), (Texts{"head", "a", "b", "b2", "c", "d", "tail"}));
    EXPECT_EQ(Backward(list), (Texts{"tail", "d", "c", "b2", "b", "a", "head"}));
    EXPECT_EQ(list.GetCount(), 7);
    EXPECT_EQ(list.GetHead(), "head");
    EXPECT_EQ(list.GetTail(), "tail");
    EXPECT_EQ(list.GetAt(posC), "c");
    list.SetAt(posC, "C");
    EXPECT_EQ(list.GetAt(list.FindIndex(4)), "C");  // the position still names that element
}

TEST(ListTest, RemovesAtHeadTailAndPosition) {
    CStringList list;
    for (const char* s : {"1", "2", "3", "4"}) list.AddTail(s);
    EXPECT_EQ(list.RemoveHead(), "1");
    EXPECT_EQ(list.RemoveTail(), "4");
    POSITION pos3 = list.Find("3");
    list.RemoveAt(list.Find("2"));
    EXPECT_EQ(list.GetAt(pos3), "3");  // untouched by removing its neighbour
    EXPECT_EQ(Forward(list), (Texts{"3"}));
    list.RemoveAt(pos3);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);

    struct Case {
        const char* what;
        void (*call)(CStringList&);
    };
    const Case cases[] = {
        {"GetHead", [](CStringList& l) { (void)l.GetHead(); }},
        {"GetTail", [](CStringList& l) { (void)l.GetTail(); }},
        {"RemoveHead", [](CStringList& l) { (void)l.RemoveHead(); }},
        {"RemoveTail", [](CStringList& l) { (void)l.RemoveTail(); }},
        {"GetAt(NULL)", [](CStringList& l) { (void)l.GetAt(NULL); }},
        {"RemoveAt(NULL)", [](CStringList& l) { l.RemoveAt(NULL); }},
        {"GetNext(NULL)", [](CStringList& l) {
             POSITION pos = NULL;
             (void)l.GetNext(pos);
         }},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { cases[i].call(list); })) << "case " << i << " " << cases[i].what;
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
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
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
    EXPECT_EQ(a.GetCount(), 8);
    EXPECT_EQ(Forward(a), (Texts{"1", "2", "1", "2", "1", "2", "1", "2"}));
    a.RemoveAll();
    EXPECT_EQ(a.GetCount(), 0);
}

struct Node : CObject {
    explicit Node(int n) : id(n) {}
    int id;
};

TEST(ListTest, TypedPointerListsCast) {
    Node n1(1), n2(2), n3(3);
    CTypedPtrList<CObList, Node*> nodes;
    nodes.AddTail(&n2);
    nodes.AddHead(&n1);
    nodes.InsertAfter(nodes.GetTailPosition(), &n3);
    std::vector<int> ids;
    for (POSITION pos = nodes.GetHeadPosition(); pos != NULL;) ids.push_back(nodes.GetNext(pos)->id);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(nodes.GetHead()->id, 1);
    EXPECT_EQ(nodes.RemoveTail()->id, 3);
    nodes.GetHead() = &n3;
    EXPECT_EQ(nodes.GetAt(nodes.GetHeadPosition())->id, 3);
    EXPECT_NE(nodes.Find(&n2), nullptr);

    CPtrList plain;
    int value = 5;
    plain.AddTail(&value);
    EXPECT_EQ(plain.GetHead(), &value);
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
    const Case cases[] = {{"one", true, "uno"}, {"two", true, "2"}, {"three", true, "3"}, {"ONE", false, ""}, {"", false, ""}};
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        CString value;
        EXPECT_EQ(map.Lookup(cases[i].key, value) != FALSE, cases[i].found) << "case " << i;
        EXPECT_EQ(value, cases[i].value) << "case " << i;
    }
    EXPECT_TRUE(map.RemoveKey("two"));
    EXPECT_FALSE(map.RemoveKey("two"));
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_EQ(map["missing"], "");  // operator[] adds an empty value
    EXPECT_EQ(map.GetCount(), 3);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map.SetAt("again", "ok");
    EXPECT_EQ(map["again"], "ok");
}

TEST(MapTest, IteratesEveryKeyOnceInBucketOrder) {
    CMapWordToPtr map;
    int values[6];
    // Keys 0x10, 0x20, 0x30 fall in buckets 1, 2, 3; keys 1, 2, 3 all in bucket 0.
    map.SetAt(0x30, &values[0]);
    map.SetAt(0x20, &values[1]);
    map.SetAt(0x10, &values[2]);
    map.SetAt(1, &values[3]);
    map.SetAt(2, &values[4]);
    map.SetAt(3, &values[5]);
    std::vector<WORD> keys;
    std::vector<void*> got;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        WORD key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
        got.push_back(value);
    }
    EXPECT_EQ(keys, (std::vector<WORD>{3, 2, 1, 0x10, 0x20, 0x30}));  // bucket order, newest first inside one
    EXPECT_EQ(got, (std::vector<void*>{&values[5], &values[4], &values[3], &values[2], &values[1], &values[0]}));
}

TEST(MapTest, HashTableSizeAndBadCalls) {
    CMapStringToPtr map;
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    map.InitHashTable(101);
    EXPECT_EQ(map.GetHashTableSize(), 101u);
    for (int i = 0; i < 500; ++i) {
        CString key;
        key.Format("key%d", i);
        map.SetAt(key, reinterpret_cast<void*>(static_cast<INT_PTR>(i + 1)));
    }
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos != NULL; ++visited) {
        CString key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, CString("key") + std::to_string(reinterpret_cast<INT_PTR>(value) - 1).c_str());
    }
    EXPECT_EQ(visited, 500);
    void* value = NULL;
    EXPECT_TRUE(map.Lookup("key499", value));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(value), 500);

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

TEST(MapTest, TemplateAndTypedMaps) {
    CMap<int, int, CString, LPCTSTR> byNumber;
    byNumber[7] = "seven";
    byNumber.SetAt(-1, "minus one");
    CString text;
    EXPECT_TRUE(byNumber.Lookup(-1, text));
    EXPECT_EQ(text, "minus one");

    Node a(1), b(2);
    CTypedPtrMap<CMapStringToOb, CString, Node*> named;
    named.SetAt("a", &a);
    named["b"] = &b;
    Node* found = NULL;
    EXPECT_TRUE(named.Lookup("b", found));
    EXPECT_EQ(found->id, 2);
    EXPECT_FALSE(named.Lookup("c", found));
    POSITION pos = named.GetStartPosition();
    CString key;
    Node* value = NULL;
    int sum = 0;
    while (pos != NULL) {
        named.GetNextAssoc(pos, key, value);
        sum += value->id;
    }
    EXPECT_EQ(sum, 3);
    EXPECT_TRUE(named.RemoveKey("a"));
    EXPECT_EQ(named.GetCount(), 1);
}

}  // namespace
