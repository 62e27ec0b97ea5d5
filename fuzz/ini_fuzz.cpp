// Fuzzes the INI core in memory: any text reads without fault, and an edit
// (set a key, delete a key, delete a section) reads back as made while every
// other section and key reads exactly as before.
//
// Input: three control bytes, then the text.
//   [0] the edit: 0 set, 1 delete a key, 2 delete a section
//   [1] the section: the n-th of the text's sections, or a new name
//   [2] the key: the n-th key of that section (low 5 bits), or a new name;
//       the value (high 3 bits)
//
// A run allocates next to nothing (the readings reuse their storage), so
// that millions of runs fit in minutes.
#include "win32/kernel/ini.h"

#include <stdint.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace ini = winport::ini;

namespace {

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

// Names compare as the core compares them: ASCII letters without case.
int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        x = (x >= 'A' && x <= 'Z') ? static_cast<char>(x - 'A' + 'a') : x;
        y = (y >= 'A' && y <= 'Z') ? static_cast<char>(y - 'A' + 'a') : y;
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// One key as the text reads: the first section of each name, the first line
// of each key in it.
struct Entry {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

bool Before(const Entry& a, const Entry& b) {
    const int s = CompareNames(a.section, b.section);
    return s != 0 ? s < 0 : CompareNames(a.key, b.key) < 0;
}

bool Same(const Entry& a, const Entry& b) {
    return CompareNames(a.section, b.section) == 0 && CompareNames(a.key, b.key) == 0 && a.value == b.value;
}

// The reading of text, sorted; `sections` gets the first section of each
// name, in the text's order. Sorting, not searching, finds the first of each
// name, so a long text costs n log n.
void Read(std::string_view text, std::vector<Entry>& out, std::vector<std::string_view>* sections = nullptr) {
    struct Header {
        std::string_view name;
        bool first;
    };
    thread_local std::vector<Header> headers;
    thread_local std::vector<std::size_t> order;
    thread_local std::vector<std::size_t> owner;  // each entry's header
    headers.clear();
    out.clear();
    owner.clear();
    ini::ScanLines(text, [&](const ini::Line& line) {
        Check(line.begin < line.end && line.end <= text.size());
        if (line.kind == ini::LineKind::Section) {
            headers.push_back({line.name, false});
        } else if (line.kind == ini::LineKind::Entry && !headers.empty()) {
            out.push_back({headers.back().name, line.name, line.value});
            owner.push_back(headers.size() - 1);
        }
        return true;
    });
    order.resize(headers.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [](std::size_t a, std::size_t b) { return CompareNames(headers[a].name, headers[b].name) < 0; });
    for (std::size_t i = 0; i < order.size(); ++i) {
        headers[order[i]].first = i == 0 || CompareNames(headers[order[i - 1]].name, headers[order[i]].name) != 0;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (headers[owner[i]].first) {
            out[kept++] = out[i];
        }
    }
    out.resize(kept);
    std::stable_sort(out.begin(), out.end(), Before);  // the text's order among equals
    out.erase(std::unique(out.begin(), out.end(),
                          [](const Entry& a, const Entry& b) { return !Before(a, b) && !Before(b, a); }),
              out.end());
    if (sections != nullptr) {
        sections->clear();
        for (const Header& h : headers) {
            if (h.first) {
                sections->push_back(h.name);
            }
        }
    }
}

const char* const kValues[] = {"", "v", "two words", "\"quoted\"", "a much longer value, with some punctuation."};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const unsigned op = data[0] % 3;
    const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);

    thread_local std::vector<Entry> before, after, want;
    thread_local std::vector<std::string_view> sections;
    thread_local std::string edited;
    Read(text, before, &sections);

    // The lookup agrees with the scan, for two keys (each lookup scans again).
    if (!before.empty()) {
        for (const Entry& e : {before.front(), before[data[1] % before.size()]}) {
            const auto found = ini::FindValue(text, e.section, e.key);
            Check(found && *found == e.value);
        }
    }

    // The names edited: an existing one (as the text spells it) or a new one.
    const std::string_view section = data[1] < sections.size() ? sections[data[1]] : "New Section";
    std::string_view key = "New Key";
    unsigned pick = data[2] & 0x1f;
    for (const Entry& e : before) {
        if (CompareNames(e.section, section) == 0 && pick-- == 0) {
            key = e.key;
            break;
        }
    }
    const std::string keyText = key.find('\0') == std::string_view::npos ? std::string(key) : "New Key";
    key = keyText;  // the write takes a C string
    const char* value = kValues[(data[2] >> 5) % std::size(kValues)];

    const auto splice = ini::PlanWrite(text, section, op == 2 ? nullptr : keyText.c_str(), op == 0 ? value : nullptr);
    edited.assign(text);
    if (splice) {
        Check(splice->cutBegin <= splice->cutEnd && splice->cutEnd <= text.size());
        edited.replace(splice->cutBegin, splice->cutEnd - splice->cutBegin, splice->insert);
    }
    Read(edited, after);

    // What must read as before: everything but the edited key (or section),
    // where a later line of the same name may show now; a set key reads as set.
    const auto edits = [&](const Entry& e) {
        return CompareNames(e.section, section) == 0 && (op == 2 || CompareNames(e.key, key) == 0);
    };
    if (op == 0) {
        const auto it = std::find_if(after.begin(), after.end(), edits);
        Check(it != after.end() && it->value == value);
    } else if (!splice) {
        Check(std::none_of(before.begin(), before.end(), edits));  // nothing there to delete
    }
    want.clear();
    std::copy_if(before.begin(), before.end(), std::back_inserter(want), [&](const Entry& e) { return !edits(e); });
    after.erase(std::remove_if(after.begin(), after.end(), edits), after.end());
    Check(want.size() == after.size() && std::equal(want.begin(), want.end(), after.begin(), Same));
    if (!splice && op == 0) {
        const auto it = std::find_if(before.begin(), before.end(), edits);
        Check(it != before.end() && it->value == value);  // it said so already
    }
    return 0;
}
