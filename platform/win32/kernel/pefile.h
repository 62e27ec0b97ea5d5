// A PE image read as data: headers, section table and resource tree
// (winport-private).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace winport {

// A resource type or name as the tree stores it: an integer id, or a UTF-16
// name. Names are matched exactly; FindResourceA upper-cases the name it is
// given first, as resource compilers store names in upper case.
struct ResourceKey {
    bool isId = true;
    WORD id = 0;
    std::u16string name;
};

// Reads a FindResourceA argument: MAKEINTRESOURCE values, "#123", or a name
// (converted from the ANSI code page and upper-cased). false when "#..." is
// not a decimal number below 65536.
[[nodiscard]] bool ResourceKeyFromArgument(LPCSTR arg, ResourceKey& key);

// The file's bytes and what the headers say about them. Nothing is trusted:
// every offset, size and count read from the file is checked against the
// file's length before use, and the resource tree is walked exactly three
// levels deep (type, name, language), so a tree that points back into itself
// cannot make a lookup loop. Immutable once loaded, so lookups from several
// threads need no lock.
class PeImage {
public:
    // Takes the bytes of a file; false when they are not a PE32 or PE32+
    // image whose headers, section table and resource root lie inside them.
    [[nodiscard]] bool Load(std::vector<std::uint8_t> bytes);

    // Finds a resource; ERROR_SUCCESS with the file offset of its data entry,
    // or the Win32 error for what is missing (1812 no resources, 1813 type,
    // 1814 name, 15100 language; 193 for a tree that points outside the file).
    // The language is neutral if there is one, else US English, else the
    // first the tree lists.
    [[nodiscard]] DWORD FindResourceEntry(const ResourceKey& type, const ResourceKey& name,
                                     std::uint32_t& entryOffset) const;

    // The bytes described by the data entry at entryOffset; false when the
    // offset names no place for an entry or the data lies outside the file.
    [[nodiscard]] bool ResourceData(std::uint32_t entryOffset, const std::uint8_t*& data,
                                    std::uint32_t& size) const;

    [[nodiscard]] const std::uint8_t* bytes() const { return m_bytes.data(); }
    [[nodiscard]] std::size_t size() const { return m_bytes.size(); }

private:
    struct Section {
        std::uint32_t virtualAddress;
        std::uint32_t rawSize;
        std::uint32_t rawOffset;
    };

    [[nodiscard]] bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }
    [[nodiscard]] std::uint16_t U16(std::size_t offset) const;
    [[nodiscard]] std::uint32_t U32(std::size_t offset) const;
    // File offset of length bytes at rva, all inside one section's raw data.
    [[nodiscard]] bool RvaToOffset(std::uint64_t rva, std::uint64_t length, std::uint32_t& offset) const;
    // The entry of the directory at rel (from the resource root) that matches
    // key; ERROR_SUCCESS and its second word, notFound, or 193.
    [[nodiscard]] DWORD FindEntry(std::uint32_t rel, const ResourceKey& key, DWORD notFound,
                                  std::uint32_t& value) const;
    [[nodiscard]] DWORD FindLanguage(std::uint32_t rel, std::uint32_t& value) const;
    [[nodiscard]] bool NameMatches(std::uint32_t rel, const std::u16string& name) const;

    std::vector<std::uint8_t> m_bytes;
    std::vector<Section> m_sections;
    std::uint32_t m_resourceRva = 0;  // 0: the image has no resources
};

}  // namespace winport
