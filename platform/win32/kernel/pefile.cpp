// Reading PE images as data: the headers a loader checks before it trusts a
// file, the section table that turns relative addresses into file offsets,
// and the three-level resource tree.
//
//   DOS header     "MZ", e_lfanew at 0x3C -> "PE\0\0"
//   file header    20 bytes: sections at +2, optional-header size at +16
//   optional hdr   magic 0x10B (PE32): directory count at +92, directories at +96
//                  magic 0x20B (PE32+): directory count at +108, directories at +112
//   sections       40 bytes each: virtual address +12, raw size +16, raw offset +20
//   resource dir   16 bytes, then 8-byte entries (named ones first): name or
//                  id, and an offset from the root with the high bit set for a
//                  subdirectory; a leaf is a 16-byte data entry {rva, size, cp, 0}
#include "win32/kernel/pefile.h"

#include "win32/kernel/ansicp.h"

#include <cstring>

namespace winport {
namespace {

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kNameFlag = 0x80000000u;
// The Windows loader refuses more sections than this.
constexpr std::uint32_t kMaxSections = 96;
constexpr WORD kLangNeutral = 0x0000;
constexpr WORD kLangEnglishUs = 0x0409;

}  // namespace

bool ResourceKeyFromArgument(LPCSTR arg, ResourceKey& key) {
    key = ResourceKey();
    if (IS_INTRESOURCE(arg)) {
        key.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(arg));
        return true;
    }
    if (arg[0] == '#') {
        std::uint32_t value = 0;
        const char* p = arg + 1;
        if (*p == '\0') {
            return false;
        }
        for (; *p != '\0'; ++p) {
            if (*p < '0' || *p > '9') {
                return false;
            }
            value = value * 10 + static_cast<std::uint32_t>(*p - '0');
            if (value > 0xFFFF) {
                return false;
            }
        }
        key.id = static_cast<WORD>(value);
        return true;
    }
    key.isId = false;
    key.name = AnsiToUtf16(arg);
    for (char16_t& c : key.name) {
        c = Utf16ToUpper(c);
    }
    return true;
}

std::uint16_t PeImage::U16(std::size_t offset) const {
    return static_cast<std::uint16_t>(m_bytes[offset] | (m_bytes[offset + 1] << 8));
}

std::uint32_t PeImage::U32(std::size_t offset) const {
    return static_cast<std::uint32_t>(m_bytes[offset]) | (static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24);
}

bool PeImage::Load(std::vector<std::uint8_t> bytes) {
    m_bytes = std::move(bytes);
    m_sections.clear();
    m_resourceRva = 0;

    if (!Has(0, 0x40) || m_bytes[0] != 'M' || m_bytes[1] != 'Z') {
        return false;
    }
    const std::uint64_t pe = U32(0x3C);
    if (!Has(pe, 24) || std::memcmp(&m_bytes[pe], "PE\0\0", 4) != 0) {
        return false;
    }
    const std::uint32_t sectionCount = U16(pe + 6);
    const std::uint32_t optionalSize = U16(pe + 20);
    const std::uint64_t optional = pe + 24;
    if (sectionCount > kMaxSections || !Has(optional, optionalSize) || optionalSize < 2) {
        return false;
    }
    std::uint64_t countField = 0;
    switch (U16(optional)) {
    case kMagicPe32:
        countField = 92;
        break;
    case kMagicPe32Plus:
        countField = 108;
        break;
    default:
        return false;
    }
    if (optionalSize < countField + 4) {
        return false;
    }
    const std::uint32_t directoryCount = U32(optional + countField);
    const std::uint64_t directories = optional + countField + 4;
    const std::uint64_t sections = optional + optionalSize;
    if (!Has(sections, std::uint64_t{sectionCount} * 40)) {
        return false;
    }
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = sections + std::size_t{i} * 40;
        m_sections.push_back({U32(s + 12), U32(s + 16), U32(s + 20)});
    }

    // Directories beyond the optional header's stated size are not there.
    if (directoryCount <= kResourceDirectory ||
        countField + 4 + (kResourceDirectory + 1) * 8 > optionalSize) {
        return true;
    }
    const std::uint32_t rva = U32(directories + kResourceDirectory * 8);
    const std::uint32_t size = U32(directories + kResourceDirectory * 8 + 4);
    if (rva == 0 || size == 0) {
        return true;
    }
    std::uint32_t root = 0;
    if (!RvaToOffset(rva, 16, root)) {
        return false;
    }
    m_resourceRva = rva;
    return true;
}

bool PeImage::RvaToOffset(std::uint64_t rva, std::uint64_t length, std::uint32_t& offset) const {
    for (const Section& s : m_sections) {
        if (rva < s.virtualAddress) {
            continue;
        }
        const std::uint64_t within = rva - s.virtualAddress;
        if (within > s.rawSize || length > s.rawSize - within) {
            continue;
        }
        const std::uint64_t file = std::uint64_t{s.rawOffset} + within;
        if (!Has(file, length)) {
            return false;  // the section claims more than the file holds
        }
        offset = static_cast<std::uint32_t>(file);
        return true;
    }
    return false;
}

bool PeImage::NameMatches(std::uint32_t rel, const std::u16string& name) const {
    std::uint32_t at = 0;
    if (!RvaToOffset(std::uint64_t{m_resourceRva} + rel, 2, at)) {
        return false;
    }
    const std::uint32_t length = U16(at);
    if (length != name.size() || !RvaToOffset(std::uint64_t{m_resourceRva} + rel, 2 + 2 * std::uint64_t{length}, at)) {
        return false;
    }
    for (std::uint32_t i = 0; i < length; ++i) {
        if (U16(at + 2 + 2 * i) != name[i]) {
            return false;
        }
    }
    return true;
}

DWORD PeImage::FindEntry(std::uint32_t rel, const ResourceKey& key, DWORD notFound, std::uint32_t& value) const {
    std::uint32_t dir = 0;
    if (!RvaToOffset(std::uint64_t{m_resourceRva} + rel, 16, dir)) {
        return ERROR_BAD_EXE_FORMAT;
    }
    const std::uint32_t named = U16(dir + 12);
    const std::uint32_t ids = U16(dir + 14);
    std::uint32_t entries = 0;
    if (!RvaToOffset(std::uint64_t{m_resourceRva} + rel + 16, (std::uint64_t{named} + ids) * 8, entries)) {
        return ERROR_BAD_EXE_FORMAT;
    }
    // Named entries come first; a key only ever matches entries of its kind.
    const std::uint32_t first = key.isId ? named : 0;
    const std::uint32_t last = key.isId ? named + ids : named;
    for (std::uint32_t i = first; i < last; ++i) {
        const std::uint32_t nameField = U32(entries + 8 * i);
        const bool isName = (nameField & kNameFlag) != 0;
        if (isName == key.isId) {
            continue;  // an entry on the wrong side of the split
        }
        const bool match = key.isId ? nameField == key.id : NameMatches(nameField & ~kNameFlag, key.name);
        if (match) {
            value = U32(entries + 8 * i + 4);
            return ERROR_SUCCESS;
        }
    }
    return notFound;
}

DWORD PeImage::FindLanguage(std::uint32_t rel, std::uint32_t& value) const {
    std::uint32_t dir = 0;
    if (!RvaToOffset(std::uint64_t{m_resourceRva} + rel, 16, dir)) {
        return ERROR_BAD_EXE_FORMAT;
    }
    const std::uint32_t count = std::uint32_t{U16(dir + 12)} + U16(dir + 14);
    if (count == 0) {
        return ERROR_RESOURCE_LANG_NOT_FOUND;
    }
    for (WORD lang : {kLangNeutral, kLangEnglishUs}) {
        ResourceKey key;
        key.id = lang;
        if (FindEntry(rel, key, ERROR_RESOURCE_LANG_NOT_FOUND, value) == ERROR_SUCCESS) {
            return ERROR_SUCCESS;
        }
    }
    std::uint32_t entries = 0;
    if (!RvaToOffset(std::uint64_t{m_resourceRva} + rel + 16, 8, entries)) {
        return ERROR_BAD_EXE_FORMAT;
    }
    value = U32(entries + 4);
    return ERROR_SUCCESS;
}

DWORD PeImage::FindResourceEntry(const ResourceKey& type, const ResourceKey& name, std::uint32_t& entryOffset) const {
    if (m_resourceRva == 0) {
        return ERROR_RESOURCE_DATA_NOT_FOUND;
    }
    std::uint32_t value = 0;
    DWORD err = FindEntry(0, type, ERROR_RESOURCE_TYPE_NOT_FOUND, value);
    if (err != ERROR_SUCCESS) {
        return err;
    }
    if ((value & kSubdirectoryFlag) == 0) {
        return ERROR_BAD_EXE_FORMAT;
    }
    err = FindEntry(value & ~kSubdirectoryFlag, name, ERROR_RESOURCE_NAME_NOT_FOUND, value);
    if (err != ERROR_SUCCESS) {
        return err;
    }
    if ((value & kSubdirectoryFlag) == 0) {
        return ERROR_BAD_EXE_FORMAT;
    }
    err = FindLanguage(value & ~kSubdirectoryFlag, value);
    if (err != ERROR_SUCCESS) {
        return err;
    }
    // The third level holds data entries only; a directory here is a broken
    // (or looping) tree.
    if ((value & kSubdirectoryFlag) != 0 || !RvaToOffset(std::uint64_t{m_resourceRva} + value, 16, entryOffset)) {
        return ERROR_BAD_EXE_FORMAT;
    }
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    return ResourceData(entryOffset, data, size) ? ERROR_SUCCESS : ERROR_BAD_EXE_FORMAT;
}

bool PeImage::ResourceData(std::uint32_t entryOffset, const std::uint8_t*& data, std::uint32_t& size) const {
    if (m_resourceRva == 0 || !Has(entryOffset, 16)) {
        return false;
    }
    const std::uint32_t rva = U32(entryOffset);
    const std::uint32_t length = U32(entryOffset + 4);
    std::uint32_t at = 0;
    if (!RvaToOffset(rva, length, at)) {
        return false;
    }
    data = m_bytes.data() + at;
    size = length;
    return true;
}

}  // namespace winport
