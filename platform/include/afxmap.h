// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>: the hash map template behind every map
// class, and the HashKey functions it buckets with.
#pragma once

#include <new>

#include <afxobj.h>
#include <afxstr.h>

// The framework's hashes, kept as they are so that maps iterate in the
// framework's order: integers and pointers drop their low four bits, strings
// use h = h * 33 + c over their (signed) characters.
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
    return static_cast<UINT>(((DWORD_PTR)key) >> 4);
}
template <>
inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) {
    if (key == NULL) AfxThrowInvalidArgException();
    UINT nHash = 0;
    for (; *key != '\0'; ++key) nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<signed char>(*key));
    return nHash;
}
template <>
inline UINT AFXAPI HashKey<LPSTR>(LPSTR key) {
    return HashKey<LPCSTR>(key);
}
template <>
inline UINT AFXAPI HashKey<const CString&>(const CString& key) {
    return HashKey<LPCSTR>(key.GetString());
}
template <>
inline UINT AFXAPI HashKey<CString>(CString key) {
    return HashKey<LPCSTR>(key.GetString());
}

// Owns one heap association per key, chained in a fixed number of buckets
// (17 unless InitHashTable says otherwise; the table does not grow, again to
// keep the framework's order). Iteration runs bucket by bucket, newest key
// first within a bucket:
//     for (POSITION pos = map.GetStartPosition(); pos != NULL;)
//         map.GetNextAssoc(pos, key, value);
// Keys compare with ==, so a CString key may be looked up by LPCTSTR.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    using BaseKey = KEY;
    using BaseValue = VALUE;

    // The block size is accepted for compatibility; associations are
    // allocated singly.
    explicit CMap(INT_PTR nBlockSize = 10) noexcept
        : m_pHashTable(NULL), m_nHashTableSize(17), m_nCount(0) {
        (void)nBlockSize;
    }
    ~CMap() override { RemoveAll(); }

    [[nodiscard]] INT_PTR GetCount() const noexcept { return m_nCount; }
    [[nodiscard]] INT_PTR GetSize() const noexcept { return m_nCount; }
    [[nodiscard]] BOOL IsEmpty() const noexcept { return m_nCount == 0; }
    [[nodiscard]] UINT GetHashTableSize() const noexcept { return m_nHashTableSize; }

    // TRUE and the value when the key is present.
    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        UINT nBucket, nHash;
        CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
        if (pAssoc == NULL) return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    // The value for key, added as VALUE() (0, NULL, "") when absent.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    // FALSE when the key was absent.
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll() noexcept;

    [[nodiscard]] POSITION GetStartPosition() const noexcept {
        return m_nCount == 0 ? NULL : BEFORE_START_POSITION;
    }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    // Sets the bucket count of an empty map; a non-empty map or a zero size
    // throws CInvalidArgException*.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);

protected:
    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;

private:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nBucket, UINT& nHash) const {
        nHash = HashKey<ARG_KEY>(key);
        nBucket = nHash % m_nHashTableSize;
        if (m_pHashTable == NULL) return NULL;
        for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext)
            if (pAssoc->nHashValue == nHash && pAssoc->key == key) return pAssoc;
        return NULL;
    }
    void AllocTable() {
        m_pHashTable = new (std::nothrow) CAssoc*[m_nHashTableSize]();
        if (m_pHashTable == NULL) AfxThrowMemoryException();
    }
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
    UINT nBucket, nHash;
    CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
    if (pAssoc != NULL) return pAssoc->value;
    if (m_pHashTable == NULL) AllocTable();
    pAssoc = new (std::nothrow) CAssoc{m_pHashTable[nBucket], nHash, KEY(key), VALUE()};
    if (pAssoc == NULL) AfxThrowMemoryException();
    m_pHashTable[nBucket] = pAssoc;
    ++m_nCount;
    return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
    if (m_pHashTable == NULL) return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key);
    for (CAssoc** link = &m_pHashTable[nHash % m_nHashTableSize]; *link != NULL; link = &(*link)->pNext) {
        CAssoc* pAssoc = *link;
        if (pAssoc->nHashValue == nHash && pAssoc->key == key) {
            *link = pAssoc->pNext;
            delete pAssoc;
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() noexcept {
    if (m_pHashTable != NULL) {
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; ++nBucket) {
            for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc != NULL;) {
                CAssoc* pNext = pAssoc->pNext;
                delete pAssoc;
                pAssoc = pNext;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = NULL;
    }
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const {
    CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
    if (m_pHashTable == NULL || pAssoc == NULL) AfxThrowInvalidArgException();
    if (rNextPosition == BEFORE_START_POSITION) {
        pAssoc = NULL;
        for (UINT nBucket = 0; nBucket < m_nHashTableSize && pAssoc == NULL; ++nBucket)
            pAssoc = m_pHashTable[nBucket];
        if (pAssoc == NULL) AfxThrowInvalidArgException();
    }
    CAssoc* pNext = pAssoc->pNext;
    for (UINT nBucket = pAssoc->nHashValue % m_nHashTableSize + 1; pNext == NULL && nBucket < m_nHashTableSize;
         ++nBucket)
        pNext = m_pHashTable[nBucket];
    rNextPosition = reinterpret_cast<POSITION>(pNext);
    rKey = pAssoc->key;
    rValue = pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow) {
    if (m_nCount != 0 || nHashSize == 0) AfxThrowInvalidArgException();
    delete[] m_pHashTable;
    m_pHashTable = NULL;
    m_nHashTableSize = nHashSize;
    if (bAllocNow) AllocTable();
}
