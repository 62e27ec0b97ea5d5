// SHCreateMemStream: an IStream over a growable block of memory.
#include <shlwapi.h>

#include <atomic>
#include <cstring>
#include <new>
#include <vector>

extern "C" {
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_ISequentialStream = {0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}};
const IID IID_IStream = {0x0000000c, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}

namespace winport {
namespace {

// The stream owns its bytes; the position may lie beyond the end (a write
// there fills the gap with zeros, a read there reads nothing).
class MemStream final : public IStream {
public:
    MemStream() = default;

    bool Init(const BYTE* pInit, UINT cbInit) {
        try {
            if (pInit != nullptr) m_data.assign(pInit, pInit + cbInit);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
            IsEqualIID(riid, IID_IStream)) {
            *ppv = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        if (pv == nullptr) return STG_E_INVALIDPOINTER;
        ULONG n = 0;
        if (m_pos < m_data.size()) n = static_cast<ULONG>(std::min<ULONGLONG>(cb, m_data.size() - m_pos));
        if (n != 0) std::memcpy(pv, m_data.data() + m_pos, n);
        m_pos += n;
        if (pcbRead != nullptr) *pcbRead = n;
        return n == cb ? S_OK : S_FALSE;
    }
    HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
        if (pv == nullptr) return STG_E_INVALIDPOINTER;
        try {
            if (m_pos + cb > m_data.size()) m_data.resize(m_pos + cb);
        } catch (const std::bad_alloc&) {
            if (pcbWritten != nullptr) *pcbWritten = 0;
            return STG_E_MEDIUMFULL;
        }
        if (cb != 0) std::memcpy(m_data.data() + m_pos, pv, cb);
        m_pos += cb;
        if (pcbWritten != nullptr) *pcbWritten = cb;
        return S_OK;
    }
    HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override {
        LONGLONG base;
        switch (dwOrigin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(m_pos); break;
        case STREAM_SEEK_END: base = static_cast<LONGLONG>(m_data.size()); break;
        default: return STG_E_INVALIDFUNCTION;
        }
        const LONGLONG target = base + dlibMove.QuadPart;
        if (target < 0 || target > 0xFFFFFFFFLL) return STG_E_INVALIDFUNCTION;
        m_pos = static_cast<ULONGLONG>(target);
        if (plibNewPosition != nullptr) plibNewPosition->QuadPart = m_pos;
        return S_OK;
    }
    HRESULT SetSize(ULARGE_INTEGER libNewSize) override {
        if (libNewSize.QuadPart > 0xFFFFFFFFull) return STG_E_INVALIDFUNCTION;
        try {
            m_data.resize(static_cast<size_t>(libNewSize.QuadPart));
        } catch (const std::bad_alloc&) {
            return STG_E_MEDIUMFULL;
        }
        return S_OK;
    }
    HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override {
        if (pstm == nullptr) return STG_E_INVALIDPOINTER;
        ULONGLONG n = 0;
        if (m_pos < m_data.size()) n = std::min<ULONGLONG>(cb.QuadPart, m_data.size() - m_pos);
        ULONG written = 0;
        const HRESULT hr = pstm->Write(m_data.data() + m_pos, static_cast<ULONG>(n), &written);
        m_pos += n;
        if (pcbRead != nullptr) pcbRead->QuadPart = n;
        if (pcbWritten != nullptr) pcbWritten->QuadPart = written;
        return hr;
    }
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT Stat(STATSTG* pstatstg, DWORD) override {
        if (pstatstg == nullptr) return STG_E_INVALIDPOINTER;
        std::memset(pstatstg, 0, sizeof *pstatstg);
        pstatstg->type = STGTY_STREAM;
        pstatstg->cbSize.QuadPart = m_data.size();
        return S_OK;
    }
    HRESULT Clone(IStream** ppstm) override {
        if (ppstm == nullptr) return STG_E_INVALIDPOINTER;
        *ppstm = nullptr;
        return E_NOTIMPL;
    }

private:
    ~MemStream() = default;

    std::atomic<ULONG> m_refs{1};
    std::vector<BYTE> m_data;
    ULONGLONG m_pos = 0;
};

}  // namespace
}  // namespace winport

extern "C" WINPORT_API IStream* WINAPI SHCreateMemStream(const BYTE* pInit, UINT cbInit) {
    auto* stream = new (std::nothrow) winport::MemStream();
    if (stream == nullptr) return nullptr;
    if (!stream->Init(pInit, cbInit)) {
        stream->Release();
        return nullptr;
    }
    return stream;
}
