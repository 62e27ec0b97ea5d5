// CMemBlock: a heap block shared by reference count between copies.
//
// The count and the block are one malloc allocation: the count sits in a
// header of max_align_t size in front of the bytes, so the bytes keep malloc's
// alignment and one failed allocation is the only way to run out of memory.
// m_pRefs points at the header (the start of the allocation), m_pBlock behind
// it. The count is updated atomically, so holders of one block may live in
// different threads (one CMemBlock object itself is not for concurrent use).
//
// Sizes and results:
//   CMemBlock()          holds nothing: NULL, Size() 0
//   CMemBlock(n)         n zero-filled bytes; nothing and operator! true when
//                        out of memory (malloc, never an exception)
//   Alloc(n, bZero)      a fresh block of exactly n bytes, zero-filled when
//                        bZero; the old block is released (freed if this was
//                        its last holder); NULL and nothing held when out of
//                        memory
//   Alloc(0, ...)        a real zero-byte block: non-NULL, Size() 0, so that
//                        NULL keeps meaning "out of memory"
#include <windows.h>

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>

#include "TQTH.h"

namespace {

constexpr size_t kHeader = alignof(max_align_t) > sizeof(long) ? alignof(max_align_t) : sizeof(long);

long AddRef(long* refs, long delta) {
    return std::atomic_ref<long>(*refs).fetch_add(delta, std::memory_order_acq_rel) + delta;
}

}  // namespace

CMemBlock::CMemBlock() : m_pBlock(NULL), m_dwSize(0), m_pRefs(NULL) {}

CMemBlock::CMemBlock(DWORD size) : m_pBlock(NULL), m_dwSize(0), m_pRefs(NULL) {
    Alloc(size, true);
}

// The copy operations themselves are the XWTH library's (see
// companion/xwth/copy_operations.cpp); both come down to this.
void CMemBlock::Share(const CMemBlock& other) {
    // Take other's block and count it before letting ours go: with a = a the
    // release would otherwise clear (and with two holders free) what we keep.
    BYTE* const pBlock = other.m_pBlock;
    const DWORD dwSize = other.m_dwSize;
    long* const pRefs = other.m_pRefs;
    if (pRefs != NULL)
        AddRef(pRefs, 1);
    Release();
    m_pBlock = pBlock;
    m_dwSize = dwSize;
    m_pRefs = pRefs;
}

CMemBlock::~CMemBlock() {
    Release();
}

void* CMemBlock::Alloc(DWORD size, bool bZero) {
    Release();
    if (static_cast<size_t>(size) > SIZE_MAX - kHeader)  // only on 32-bit targets
        return NULL;
    void* raw = malloc(kHeader + size);
    if (raw == NULL)
        return NULL;
    m_pRefs = static_cast<long*>(raw);
    *m_pRefs = 1;
    m_pBlock = static_cast<BYTE*>(raw) + kHeader;
    m_dwSize = size;
    if (bZero)
        memset(m_pBlock, 0, size);
    return m_pBlock;
}

void CMemBlock::Free() {
    Release();
}

// Leaves this object holding nothing; frees the block when this was its last
// holder.
void CMemBlock::Release() {
    if (m_pRefs != NULL && AddRef(m_pRefs, -1) == 0)
        free(m_pRefs);
    m_pBlock = NULL;
    m_dwSize = 0;
    m_pRefs = NULL;
}
