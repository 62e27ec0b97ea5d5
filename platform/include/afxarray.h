// CArray<TYPE, ARG_TYPE>: the growable array template behind every array class.
#pragma once

#include <stdint.h>

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include <afxobj.h>

// Owns its elements in one heap block of m_nMaxSize slots, the first m_nSize
// of them constructed. Elements move (not bytewise) when the block grows, so
// any TYPE with value semantics works; pointers from GetData or ElementAt stay
// valid only until the next size change.
//
// Indexes out of range throw CInvalidArgException* (GetAt, SetAt, ElementAt,
// operator[], RemoveAt, a negative index anywhere); a size beyond memory
// throws CMemoryException*. Growth:
//   SetSize(n, nGrowBy)  nGrowBy >= 0 replaces the growth step; 0 (the
//                        default) grows by an eighth of the size, at least 4
//   SetAtGrow(i, v)      i past the end grows the array to i + 1
//   InsertAt(i, v, n)    i past the end grows the array to i + n; the slots
//                        between the old end and i hold TYPE() (0, NULL, "")
// An element argument may refer into the array itself.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() noexcept : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    ~CArray() override { Free(); }

    [[nodiscard]] INT_PTR GetSize() const noexcept { return m_nSize; }
    [[nodiscard]] INT_PTR GetCount() const noexcept { return m_nSize; }
    [[nodiscard]] BOOL IsEmpty() const noexcept { return m_nSize == 0; }
    [[nodiscard]] INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }

    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    [[nodiscard]] const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    [[nodiscard]] TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
    [[nodiscard]] const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    [[nodiscard]] TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }

    [[nodiscard]] const TYPE* GetData() const noexcept { return m_pData; }
    [[nodiscard]] TYPE* GetData() noexcept { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    // The index of the new element.
    INT_PTR Add(ARG_TYPE newElement) {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    // Appends a copy of src (not this array itself); returns the index of its
    // first element.
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);

    // nCount copies of newElement at nIndex; nCount must be positive.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    // nCount elements from nIndex; the range must lie inside the array.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    // A copy of *pNewArray (which may be this array) at nStartIndex.
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);

protected:
    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;

private:
    INT_PTR Checked(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
        return nIndex;
    }
    static TYPE* Allocate(INT_PTR nCount) {
        if (nCount < 0 || static_cast<size_t>(nCount) > static_cast<size_t>(PTRDIFF_MAX) / sizeof(TYPE))
            AfxThrowMemoryException();
        void* p = ::operator new(static_cast<size_t>(nCount) * sizeof(TYPE), std::nothrow);
        if (p == NULL) AfxThrowMemoryException();
        return static_cast<TYPE*>(p);
    }
    // Moves the elements into a new block of nNewMax slots and constructs
    // slots up to nNewSize there.
    void Reallocate(INT_PTR nNewMax, INT_PTR nNewSize);
    void Free() noexcept {
        if (m_pData != NULL) {
            std::destroy_n(m_pData, m_nSize);
            ::operator delete(static_cast<void*>(m_pData));
        }
        m_pData = NULL;
        m_nSize = m_nMaxSize = 0;
    }
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax, INT_PTR nNewSize) {
    TYPE* pNew = Allocate(nNewMax);
    INT_PTR nKeep = m_nSize < nNewSize ? m_nSize : nNewSize;
    try {
        std::uninitialized_move_n(m_pData, nKeep, pNew);
        try {
            std::uninitialized_value_construct(pNew + nKeep, pNew + nNewSize);
        } catch (...) {
            std::destroy_n(pNew, nKeep);
            throw;
        }
    } catch (...) {
        ::operator delete(static_cast<void*>(pNew));
        throw;
    }
    Free();
    m_pData = pNew;
    m_nSize = nNewSize;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    if (nNewSize < 0) AfxThrowInvalidArgException();
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        Free();
    } else if (nNewSize <= m_nMaxSize) {
        if (nNewSize > m_nSize)
            std::uninitialized_value_construct(m_pData + m_nSize, m_pData + nNewSize);
        else
            std::destroy(m_pData + nNewSize, m_pData + m_nSize);
        m_nSize = nNewSize;
    } else if (m_pData == NULL) {
        Reallocate(nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy, nNewSize);
    } else {
        INT_PTR nStep = m_nGrowBy;
        if (nStep == 0) nStep = m_nSize / 8 < 4 ? 4 : m_nSize / 8;
        INT_PTR nNewMax = nNewSize;
        if (m_nMaxSize <= PTRDIFF_MAX - nStep && nNewSize < m_nMaxSize + nStep) nNewMax = m_nMaxSize + nStep;
        Reallocate(nNewMax, nNewSize);
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize == m_nMaxSize) return;
    if (m_nSize == 0)
        Free();
    else
        Reallocate(m_nSize, m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    if (nIndex < m_nSize) {
        m_pData[nIndex] = newElement;
        return;
    }
    if (nIndex == PTRDIFF_MAX) AfxThrowMemoryException();
    TYPE value(newElement);  // newElement may live in the block that SetSize replaces
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    if (this == &src) AfxThrowInvalidArgException();
    INT_PTR nOldSize = m_nSize;
    if (src.m_nSize > PTRDIFF_MAX - m_nSize) AfxThrowMemoryException();
    SetSize(m_nSize + src.m_nSize, -1);
    std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData + nOldSize);
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize, -1);
    std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount <= 0) AfxThrowInvalidArgException();
    INT_PTR nOldSize = m_nSize;
    INT_PTR nBase = nIndex > nOldSize ? nIndex : nOldSize;
    if (nCount > PTRDIFF_MAX - nBase) AfxThrowMemoryException();
    TYPE value(newElement);
    SetSize(nBase + nCount, -1);
    if (nIndex < nOldSize)
        std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
    std::fill(m_pData + nIndex, m_pData + nIndex + nCount, value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex)
        AfxThrowInvalidArgException();
    if (nCount == 0) return;
    std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
    std::destroy(m_pData + m_nSize - nCount, m_pData + m_nSize);
    m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    if (pNewArray == NULL || nStartIndex < 0) AfxThrowInvalidArgException();
    if (pNewArray->m_nSize == 0) return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->m_pData[0], pNewArray->m_nSize);
    std::copy(pNewArray->m_pData, pNewArray->m_pData + pNewArray->m_nSize, m_pData + nStartIndex);
}
