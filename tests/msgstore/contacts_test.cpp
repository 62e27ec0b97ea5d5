// Contact records, the contact pointer arrays and the dial record.
#include <xwth/contacts.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Every field of a record in one comparable text.
std::string Describe(const tagSKlPerson& p) {
    std::string s;
    for (const CString* t : {&p.m_strAddress, &p.m_strName, &p.m_strFirstName, &p.m_strCompany, &p.m_strLastName,
                             &p.m_strEntryID, &p.m_strNote}) {
        s.append("[").append(*t).append("]");
    }
    return s + std::to_string(p.m_dwFlags) + "/" + std::to_string(p.m_dwAddressTag);
}

tagSKlPerson Filled(const char* tag) {
    tagSKlPerson p(("name " + std::string(tag)).c_str(), "+1 555 0100", "entry", 7, "note");
    p.SetFirstLastName("Ann", "Lee");
    p.m_strCompany = "Company";
    p.m_dwFlags = 3;
    return p;
}

// Exposes the protected virtuals, called through the base so that the
// virtual table decides.
struct Views : tagSKlPerson {
    static CString Sip(const tagSKlPerson& p, const char* sip, bool host) {
        return (p.*(&Views::GetViewFromSIP))(sip, host);
    }
    static CString Event(tagSKlPerson& p, const char* pattern) { return (p.*(&Views::FormatEventCmdLine))(pattern); }
};

TEST(ContactsTest, CopiesKeepEveryField) {
    const tagSKlPerson source = Filled("a");
    const std::string want = Describe(source);
    EXPECT_EQ(want, "[+1 555 0100][name a][Ann][Company][Lee][entry][note]3/7");

    tagSKlExPerson ex;
    static_cast<tagSKlPerson&>(ex) = source;
    const tagSKlExPerson exCopy(ex);
    tagSKlExPerson exAssigned;
    exAssigned = exCopy;
    const tagSKlNickPerson nickFromBase(source);
    const tagSKlNickPerson nickCopy(nickFromBase);
    tagSKlNickPerson nickAssigned;
    nickAssigned = nickCopy;
    tagSKlPerson self = source;
    self = *&self;
    const tagSKlPerson* copies[] = {&ex, &exCopy, &exAssigned, &nickFromBase, &nickCopy, &nickAssigned, &self};
    for (size_t i = 0; i < std::size(copies); ++i) {
        EXPECT_EQ(Describe(*copies[i]), want) << "copy " << i;
    }

    const tagSKlNickPerson nick("Nick", "a@b.example", "id", 2);
    EXPECT_EQ(Describe(nick), "[a@b.example][Nick][][][][id][]0/2");
}

TEST(ContactsTest, AccessorsWriteTheirOwnFields) {
    tagSKlPerson p;
    EXPECT_EQ(Describe(p), "[][][][][][][]0/0");
    p.SetEmail("ann@example.org", 2);
    p.SetNumber("+1 555 0199", 1);  // the same field: the number replaces the address
    EXPECT_EQ(std::string(p.GetEmail()), "+1 555 0199");
    EXPECT_EQ(p.GetAddressTag(), 1u);
    p.SetName("Ann Lee");
    p.SetFirstLastName("Ann", NULL);
    p.SetEntryID("00AB");
    p.SetAddressTag(9);
    EXPECT_EQ(Describe(p), "[+1 555 0199][Ann Lee][Ann][][][00AB][]0/9");
    EXPECT_EQ(std::string(p.GetFirstName()) + "|" + std::string(p.GetLastName()) + "|" + std::string(p.GetEntryID()),
              "Ann||00AB");
    EXPECT_EQ(static_cast<tagSKlPerson*>(p), &p);
}

TEST(ContactsTest, DisplayTexts) {
    tagSKlPerson named("Ann Lee", "a@b", "", 2, NULL);
    tagSKlPerson split;
    split.SetFirstLastName("Ann", "Lee");
    split.SetEmail("a@b", 2);
    tagSKlPerson lastOnly;
    lastOnly.SetFirstLastName("", "Lee");
    tagSKlPerson bare;
    bare.SetNumber("+1 555", 1);
    const struct {
        const tagSKlPerson* person;
        int max;
        bool withAddress, addressFirst;
        const char* want;
    } cases[] = {
        {&named, -1, false, false, "Ann Lee"},   {&named, -1, true, false, "Ann Lee <a@b>"},
        {&named, -1, true, true, "a@b (Ann Lee)"}, {&named, 5, true, false, "Ann L"},
        {&named, 0, true, false, ""},           {&split, -1, true, false, "Ann Lee <a@b>"},
        {&lastOnly, -1, true, false, "Lee"},     {&bare, -1, false, false, "+1 555"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_STREQ(cases[i].person->GetAsString(cases[i].max, cases[i].withAddress, cases[i].addressFirst),
                     cases[i].want)
            << "case " << i;
    }
    EXPECT_STREQ(tagSKlPerson::SafeGetAsString(&named), "Ann Lee <a@b>");
    EXPECT_STREQ(tagSKlPerson::SafeGetAsString(NULL), "<NULL>");
}

TEST(ContactsTest, VirtualViewsFollowTheRecordKind) {
    tagSKlPerson base("", "a@b", "E1", 2, NULL);
    tagSKlExPerson ex;
    static_cast<tagSKlPerson&>(ex) = base;
    tagSKlNickPerson nick("Nicky", "a@b", "E1", 2);
    tagSKlNickPerson nameless;
    const struct {
        const tagSKlPerson* person;
        const char* sip;
        bool host;
        const char* want;
    } cases[] = {
        {&base, "sip:ann@host.example;transport=tcp", true, "ann@host.example"},
        {&base, "SIP:ann@host.example", false, "ann"},
        {&base, "ann", true, "ann"},
        {&base, NULL, true, ""},
        {&ex, "sip:ann@host", false, "ann"},
        {&nick, "sip:ann@host", true, "Nicky"},
        {&nameless, "sip:ann@host", true, "ann@host"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_STREQ(Views::Sip(*cases[i].person, cases[i].sip, cases[i].host), cases[i].want) << "case " << i;
    }
    EXPECT_STREQ(Views::Event(nick, "notify %n %a %e 100%% %x%"), "notify Nicky a@b E1 100% %x%");
    EXPECT_STREQ(Views::Event(ex, "%n|%a"), "|a@b");
}

TEST(ContactsTest, PointerArraysNeverFreeTheirRecords) {
    tagSKlPerson a = Filled("a"), b = Filled("b"), c = Filled("c");
    {
        CSKPersonsPtrArray list;
        EXPECT_EQ(list.Add(&a), 0);
        EXPECT_EQ(list.Add(&b), 1);
        list.InsertAt(1, &c, 2);
        list.SetAtGrow(5, &a);  // slot 4 stays NULL
        CTypedPtrArray<CPtrArray, tagSKlPerson*> other;
        other.Add(&b);
        EXPECT_EQ(other.Append(list), 1);
        other.InsertAt(0, &list);
        list.SetAt(4, &b);
        list.ElementAt(0) = &c;
        list[1] = &a;
        std::string order;
        for (INT_PTR i = 0; i < other.GetSize(); ++i) {
            const tagSKlPerson* p = static_cast<const CTypedPtrArray<CPtrArray, tagSKlPerson*>&>(other)[i];
            order += p == &a ? 'a' : p == &b ? 'b' : p == &c ? 'c' : '-';
        }
        EXPECT_EQ(order, "accb-abaccb-a");
        CTypedPtrArray<CPtrArray, tagSKlPerson*> copy;
        copy.Copy(list);
        EXPECT_EQ(copy.GetAt(0), &c);
        EXPECT_EQ(copy.GetAt(4), &b);
        list.RemoveAll();
    }
    // The arrays are gone; the records are whole (ASan would see a free).
    EXPECT_EQ(Describe(a), Describe(Filled("a")));
    EXPECT_EQ(Describe(b), Describe(Filled("b")));

    auto* heap = new tagSKlNickPerson("Heap", "x", "y", 1);
    {
        auto* list = new CSKPersonsPtrArray;
        list->Add(heap);
        delete list;
    }
    EXPECT_STREQ(heap->m_strName, "Heap");
    delete heap;
}

TEST(ContactsTest, OutOfRangeIndexesThrow) {
    tagSKlPerson a;
    CSKPersonsPtrArray list;
    list.Add(&a);
    const auto& constList = list;
    for (INT_PTR index : {INT_PTR(-1), INT_PTR(1), INT_PTR(1000)}) {
        const auto expectThrow = [&](auto call, const char* what) {
            try {
                call();
                ADD_FAILURE() << what << " " << index << " did not throw";
            } catch (CInvalidArgException* e) {
                e->Delete();
            }
        };
        expectThrow([&] { (void)list.GetAt(index); }, "GetAt");
        expectThrow([&] { (void)list.ElementAt(index); }, "ElementAt");
        expectThrow([&] { list.SetAt(index, &a); }, "SetAt");
        expectThrow([&] { (void)list[index]; }, "operator[]");
        expectThrow([&] { (void)constList[index]; }, "const operator[]");
    }
    EXPECT_EQ(list.GetSize(), 1);
    EXPECT_EQ(list.GetAt(0), &a);
}

TEST(DialInfoTest, CopiesKeepEveryField) {
    const tagSDialInfo blank;
    EXPECT_FALSE(blank.m_bUseDialingRules);
    EXPECT_TRUE(blank.m_strDialString.IsEmpty());
    EXPECT_TRUE(blank.m_strDisplayNumber.IsEmpty());
    EXPECT_EQ(blank.m_nLineID, -1);
    EXPECT_EQ(Describe(blank.m_Callee), Describe(tagSKlPerson()));

    tagSDialInfo info;
    info.m_Callee = Filled("callee");
    info.m_Caller = Filled("caller");
    info.m_bUseDialingRules = true;
    info.m_strDialString = "9,5550100";
    info.m_strDisplayNumber = "+1 555 0100";
    info.m_nLineID = 2;
    const auto same = [](const tagSDialInfo& x, const tagSDialInfo& y) {
        return Describe(x.m_Callee) == Describe(y.m_Callee) && Describe(x.m_Caller) == Describe(y.m_Caller) &&
               x.m_bUseDialingRules == y.m_bUseDialingRules && x.m_strDialString == y.m_strDialString &&
               x.m_strDisplayNumber == y.m_strDisplayNumber && x.m_nLineID == y.m_nLineID;
    };
    const tagSDialInfo copy(info);
    tagSDialInfo assigned;
    const tagSDialInfo& result = (assigned = info);
    EXPECT_EQ(&result, &assigned);
    EXPECT_TRUE(same(copy, info));
    EXPECT_TRUE(same(assigned, info));
    const tagSDialInfo blankCopy(blank);
    EXPECT_TRUE(same(blankCopy, blank));
    assigned = blank;
    EXPECT_TRUE(same(assigned, blank));
}

}  // namespace
