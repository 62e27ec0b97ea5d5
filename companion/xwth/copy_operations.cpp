// The copy operations of the base toolkit's CMemBlock and CChangeCurDir.
// Clients import them from this library rather than from the toolkit, so they
// are compiled into XWTH; each is made of a private operation of the toolkit,
// which owns the classes' data and their lifetime rules.
#include <TQTH.h>

// A copy shares the block: pointer and size are copied and the block counts
// one more holder, so the last of the copies frees it.
CMemBlock::CMemBlock(const CMemBlock& other) : CMemBlock() {
    Share(other);
}

CMemBlock& CMemBlock::operator=(const CMemBlock& other) {
    Share(other);
    return *this;
}

// A copy takes over the remembered folder and the duty to restore it.
CChangeCurDir::CChangeCurDir(const CChangeCurDir& other) : CChangeCurDir(other.m_strSaved, other.m_dwChanged) {}

CChangeCurDir& CChangeCurDir::operator=(const CChangeCurDir& other) {
    m_strSaved = other.m_strSaved;
    m_dwChanged = other.m_dwChanged;
    return *this;
}
