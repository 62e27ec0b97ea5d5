// CList<TYPE, ARG_TYPE>: the doubly linked list template behind every list class.
#pragma once

#include <new>
#include <utility>

#include <afxobj.h>

// Owns one heap node per element. A POSITION is a node's address: it stays
// valid until that element is removed, whatever else is added or removed.
// Head/tail access on an empty list and a NULL POSITION where an element is
// needed throw CInvalidArgException*; exhausted memory throws
// CMemoryException*. Iteration:
//     for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
//         use(list.GetNext(pos));   // returns the element, moves pos on
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    // The block size is accepted for compatibility; nodes are allocated singly.
    explicit CList(INT_PTR nBlockSize = 10) noexcept : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0) {
        (void)nBlockSize;
    }
    ~CList() override { RemoveAll(); }

    [[nodiscard]] INT_PTR GetCount() const noexcept { return m_nCount; }
    [[nodiscard]] INT_PTR GetSize() const noexcept { return m_nCount; }
    [[nodiscard]] BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    [[nodiscard]] TYPE& GetHead() { return Node(m_pNodeHead)->data; }
    [[nodiscard]] const TYPE& GetHead() const { return Node(m_pNodeHead)->data; }
    [[nodiscard]] TYPE& GetTail() { return Node(m_pNodeTail)->data; }
    [[nodiscard]] const TYPE& GetTail() const { return Node(m_pNodeTail)->data; }

    TYPE RemoveHead() {
        CNode* pNode = Node(m_pNodeHead);
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }
    TYPE RemoveTail() {
        CNode* pNode = Node(m_pNodeTail);
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(Pos(m_pNodeHead), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(Pos(m_pNodeTail), newElement); }
    // Copies of the other list's elements, in their order (pNewList may be
    // this list).
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);
    void RemoveAll() noexcept {
        for (CNode* pNode = m_pNodeHead; pNode != NULL;) {
            CNode* pNext = pNode->pNext;
            delete pNode;
            pNode = pNext;
        }
        m_pNodeHead = m_pNodeTail = NULL;
        m_nCount = 0;
    }

    [[nodiscard]] POSITION GetHeadPosition() const noexcept { return Pos(m_pNodeHead); }
    [[nodiscard]] POSITION GetTailPosition() const noexcept { return Pos(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition) {
        CNode* pNode = Node(rPosition);
        rPosition = Pos(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* pNode = Node(rPosition);
        rPosition = Pos(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* pNode = Node(rPosition);
        rPosition = Pos(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* pNode = Node(rPosition);
        rPosition = Pos(pNode->pPrev);
        return pNode->data;
    }

    [[nodiscard]] TYPE& GetAt(POSITION position) { return Node(position)->data; }
    [[nodiscard]] const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { Node(position)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }

    // NULL inserts at the head / at the tail.
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // The first element equal (==) to searchValue after startAfter (from the
    // head when NULL); NULL when none.
    [[nodiscard]] POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const {
        CNode* pNode = startAfter == NULL ? m_pNodeHead : reinterpret_cast<CNode*>(startAfter)->pNext;
        for (; pNode != NULL; pNode = pNode->pNext)
            if (pNode->data == searchValue) return Pos(pNode);
        return NULL;
    }
    // The nIndex-th element's position from the head; NULL when out of range.
    [[nodiscard]] POSITION FindIndex(INT_PTR nIndex) const noexcept {
        if (nIndex < 0 || nIndex >= m_nCount) return NULL;
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0) pNode = pNode->pNext;
        return Pos(pNode);
    }

protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;

private:
    static POSITION Pos(CNode* pNode) noexcept { return reinterpret_cast<POSITION>(pNode); }
    static CNode* Node(POSITION position) {
        if (position == NULL) AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(position);
    }
    static CNode* Node(CNode* pNode) {
        if (pNode == NULL) AfxThrowInvalidArgException();
        return pNode;
    }
    CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement) {
        CNode* pNode = new (std::nothrow) CNode{pNext, pPrev, TYPE(newElement)};
        if (pNode == NULL) AfxThrowMemoryException();
        ++m_nCount;
        return pNode;
    }
    void Unlink(CNode* pNode) noexcept {
        (pNode->pPrev != NULL ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext != NULL ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        delete pNode;
        --m_nCount;
    }
};

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
    CNode* pNext = position == NULL ? m_pNodeHead : reinterpret_cast<CNode*>(position);
    CNode* pPrev = pNext == NULL ? NULL : pNext->pPrev;
    CNode* pNode = NewNode(pPrev, pNext, newElement);
    (pPrev != NULL ? pPrev->pNext : m_pNodeHead) = pNode;
    (pNext != NULL ? pNext->pPrev : m_pNodeTail) = pNode;
    return Pos(pNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
    CNode* pPrev = position == NULL ? m_pNodeTail : reinterpret_cast<CNode*>(position);
    CNode* pNext = pPrev == NULL ? NULL : pPrev->pNext;
    CNode* pNode = NewNode(pPrev, pNext, newElement);
    (pPrev != NULL ? pPrev->pNext : m_pNodeHead) = pNode;
    (pNext != NULL ? pNext->pPrev : m_pNodeTail) = pNode;
    return Pos(pNode);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList) {
    if (pNewList == NULL) AfxThrowInvalidArgException();
    // Walking the source backwards puts its first element first; for this
    // list itself the walk starts at the old tail and stops at the old head.
    CNode* pStop = pNewList->m_pNodeHead;
    for (CNode* pNode = pNewList->m_pNodeTail; pNode != NULL; pNode = pNode->pPrev) {
        AddHead(pNode->data);
        if (pNode == pStop) break;
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList) {
    if (pNewList == NULL) AfxThrowInvalidArgException();
    CNode* pStop = pNewList->m_pNodeTail;
    for (CNode* pNode = pNewList->m_pNodeHead; pNode != NULL; pNode = pNode->pNext) {
        AddTail(pNode->data);
        if (pNode == pStop) break;
    }
}
