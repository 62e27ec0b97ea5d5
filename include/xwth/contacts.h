// Contact and dial records: the toolkit's contact record with the accessors
// this library adds, the derived records, the contact pointer arrays and the
// dial record.
//   tagSKlPerson, tagSKlNickPerson, CSKPersonsPtrArray   (declared with the toolkit)
//   tagSKlExPerson   a contact record of the client's extended kind
//   tagSDialInfo     one dialling: two contacts, the texts dialled, a line
#pragma once

#include <TQTH.h>

#include <xwth/export.h>

// A contact of the extended kind: the base record, nothing overridden.
struct XWTH_API tagSKlExPerson : public tagSKlPerson {
    tagSKlExPerson() = default;
    tagSKlExPerson(const tagSKlExPerson& other);
    tagSKlExPerson& operator=(const tagSKlExPerson& other);
    ~tagSKlExPerson() override;
};

// One dialling, as the client prepares it. A plain record: copies copy every
// field (the contacts through their own assignment); nothing here owns
// anything beyond its fields.
struct XWTH_API tagSDialInfo {
    tagSDialInfo();
    tagSDialInfo(const tagSDialInfo& other);
    const tagSDialInfo& operator=(const tagSDialInfo& other);
    ~tagSDialInfo();

    tagSKlPerson m_Callee;        // who is dialled
    tagSKlPerson m_Caller;        // on whose behalf
    bool m_bUseDialingRules;      // false: the text is dialled as it stands
    CString m_strDialString;      // the text handed to the modem
    CString m_strDisplayNumber;   // the number as shown to the user
    int m_nLineID;                // the line to dial on; -1: the default line
};
