// Contact records, the contact pointer arrays and the dial record.
#include <xwth/contacts.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

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

tagSKlPerson Filled(const char* name) {
    tagSKlPerson p(name, "+1 555 0100", "entry", 7, "note");
    p.SetFirstLastName("Ann", "Lee");
    p.m_strCompany = "Company";
    p.m_dwFlags = 3;
    return p;
}

// Calls the protected virtuals through the base, so the virtual table decides.
struct Views : tagSKlPerson {
    static CString Sip(const tagSKlPerson& p, const char* sip, bool host) {
        return (p.*(&Views::GetViewFromSIP))(sip, host);
    }
    static CString Event(tagSKlPerson& p, const char* pattern) { return (p.*(&Views::FormatEventCmdLine))(pattern); }
};

TEST(ContactsTest, CopiesKeepEveryField) {
    const tagSKlPerson source = Filled("Ann Lee");
    const std::string want = Describe(source);
    EXPECT_EQ(want, "[+1 555 0100][Ann Lee][Ann][Company][Lee][entry][note]3/7");
    tagSKlExPerson ex;
    static_cast<tagSKlPerson&>(ex) = source;
    const tagSKlExPerson exCopy(ex);
    tagSKlExPerson exAssigned;
    exAssigned = exCopy;
    const tagSKlNickPerson nickFromBase(source), nickCopy(nickFromBase);
    tagSKlNickPerson nickAssigned;
    nickAssigned = nickCopy;
    tagSKlPerson self = source;
    self = *&self;
    const tagSKlPerson* copies[] = {&ex, &exCopy, &exAssigned, &nickFromBase, &nickCopy, &nickAssigned, &self};
    for (size_t i = 0; i < std::size(copies); ++i) {
        EXPECT_EQ(Describe(*copies[i]), want) << "copy " << i;
    }
    EXPECT_EQ(Describe(tagSKlNickPerson("Nick", "a@b", "id", 2)), "[a@b][Nick][][][][id][]0/2");
}

TEST(ContactsTest, AccessorsWriteTheirOwnFields) {
    tagSKlPerson p;
    p.SetEmail("ann@example.org", 2);
    p.SetNumber("+1 555 0199", 1);  // the one address field: the number replaces the e-mail address
    EXPECT_STREQ(p.GetEmail(), "+1 555 0199");
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

TEST(ContactsTest, DisplayTextsAndViews) {
    const tagSKlPerson named("Ann Lee", "a@b", "E1", 2, NULL);
    tagSKlPerson split;
    split.SetFirstLastName("", "Lee");
    split.SetEmail("a@b", 2);
    const std::pair<CString, const char*> texts[] = {
        {named.GetAsString(-1, false, false), "Ann Lee"},   {named.GetAsString(-1, true, true), "a@b (Ann Lee)"},
        {named.GetAsString(5, true, false), "Ann L"},       {split.GetAsString(-1, true, false), "Lee <a@b>"},
        {tagSKlPerson::SafeGetAsString(&named), "Ann Lee <a@b>"}, {tagSKlPerson::SafeGetAsString(NULL), "<NULL>"},
    };
    for (size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_STREQ(texts[i].first, texts[i].second) << "text " << i;
    }

    tagSKlPerson base("", "a@b", "E1", 2, NULL);
    tagSKlExPerson ex;
    static_cast<tagSKlPerson&>(ex) = base;
    const tagSKlNickPerson nick("Nicky", "a@b", "E1", 2), nameless;
    EXPECT_STREQ(Views::Sip(base, "sip:ann@host.example;transport=tcp", true), "ann@host.example");
    EXPECT_STREQ(Views::Sip(ex, "SIP:ann@host", false), "ann");
    EXPECT_STREQ(Views::Sip(nick, "sip:ann@host", true), "Nicky");  // the nickname overrides
    EXPECT_STREQ(Views::Sip(nameless, "sip:ann@host", true), "ann@host");
    EXPECT_STREQ(Views::Event(ex, "notify %n %a %e 100%% %x%"), "notify  a@b E1 100% %x%");
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
        other.Copy(list);
        EXPECT_EQ(other.GetAt(0), &c);
        EXPECT_EQ(other.GetAt(4), &b);
        list.RemoveAll();
    }
    // The arrays are gone, the records whole (ASan would report a free).
    EXPECT_EQ(Describe(a) + Describe(b), Describe(Filled("a")) + Describe(Filled("b")));
    auto* heap = new tagSKlNickPerson("Heap", "x", "y", 1);
    {
        CSKPersonsPtrArray* list = new CSKPersonsPtrArray;
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

std::string Describe(const tagSDialInfo& d) {
    return Describe(d.m_Callee) + Describe(d.m_Caller) + (d.m_bUseDialingRules ? "+" : "-") + "[" +
           std::string(d.m_strDialString) + "][" + std::string(d.m_strDisplayNumber) + "]" + std::to_string(d.m_nLineID);
}

TEST(DialInfoTest, CopiesKeepEveryField) {
    const tagSDialInfo blank;
    const std::string empty = Describe(tagSKlPerson());
    EXPECT_EQ(Describe(blank), empty + empty + "-[][]-1");
    tagSDialInfo info;
    info.m_Callee = Filled("callee");
    info.m_Caller = Filled("caller");
    info.m_bUseDialingRules = true;
    info.m_strDialString = "9,5550100";
    info.m_strDisplayNumber = "+1 555 0100";
    info.m_nLineID = 2;
    const tagSDialInfo copy(info);
    tagSDialInfo assigned;
    EXPECT_EQ(&(assigned = info), &assigned);
    EXPECT_EQ(Describe(copy), Describe(info));
    EXPECT_EQ(Describe(assigned), Describe(info));
    EXPECT_EQ(Describe(tagSDialInfo(blank)), Describe(blank));
    assigned = blank;
    EXPECT_EQ(Describe(assigned), Describe(blank));
}

}  // namespace
