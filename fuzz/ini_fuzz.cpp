// Fuzzes the INI core in memory: any text reads without fault, and an edit
// (set a key, delete a key, delete a section) reads back as made while every
// other section and key reads exactly as before.
//
// Input: three control bytes, then the text.
//   [0] the edit: 0 set, 1 delete a key, 2 delete a section
//   [1] the section: the n-th of the text's sections, or a new name
//   [2] the key: the n-th key of that section, or a new name; then the value
#include "win32/kernel/ini.h"

#include <stdint.h>
#include <stdlib.h>

#include <map>
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

std::string Fold(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// What the text reads as: for each section name (the first section of that
// name), each key's value (the first line of that key).
using Keys = std::map<std::string, std::string>;
using Reading = std::map<std::string, Keys>;

struct Names {
    std::vector<std::string> sections;                 // in order, first of each name
    std::map<std::string, std::vector<std::string>> keys;  // by folded section name
};

Reading Read(std::string_view text, Names* names = nullptr) {
    Reading reading;
    std::map<std::string, bool> seen;
    Keys* current = nullptr;
    std::string currentName;
    ini::ScanLines(text, [&](const ini::Line& line) {
        Check(line.begin < line.end && line.end <= text.size());
        if (line.kind == ini::LineKind::Section) {
            const std::string folded = Fold(line.name);
            current = nullptr;
            if (!seen[folded]) {
                seen[folded] = true;
                current = &reading[folded];
                currentName = folded;
                if (names != nullptr) {
                    names->sections.emplace_back(line.name);
                }
            }
        } else if (line.kind == ini::LineKind::Entry && current != nullptr) {
            if (current->emplace(Fold(line.name), std::string(line.value)).second && names != nullptr) {
                names->keys[currentName].emplace_back(line.name);
            }
        }
        return true;
    });
    return reading;
}

const char* const kValues[] = {"", "v", "two words", "\"quoted\"", "a much longer value, with some punctuation."};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const unsigned op = data[0] % 3;
    const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);

    Names names;
    const Reading before = Read(text, &names);
    // The lookup agrees with the scan (a few keys: each lookup scans again).
    int lookups = 0;
    for (auto it = before.begin(); it != before.end() && lookups < 8; ++it) {
        for (auto kt = it->second.begin(); kt != it->second.end() && lookups < 8; ++kt, ++lookups) {
            const auto found = ini::FindValue(text, it->first, kt->first);
            Check(found && *found == kt->second);
        }
    }

    // The names edited: an existing one (as the text spells it) or a new one.
    const std::string section = data[1] < names.sections.size() ? names.sections[data[1]] : "New Section";
    const std::vector<std::string>& sectionKeys = names.keys[Fold(section)];
    const unsigned keyPick = data[2] & 0x1f;
    std::string key = keyPick < sectionKeys.size() ? sectionKeys[keyPick] : "New Key";
    if (key.find('\0') != std::string::npos) {
        key = "New Key";  // the write takes a C string
    }
    const char* value = kValues[(data[2] >> 5) % std::size(kValues)];

    const auto splice = ini::PlanWrite(text, section, op == 2 ? nullptr : key.c_str(), op == 0 ? value : nullptr);
    std::string after(text);
    if (splice) {
        Check(splice->cutBegin <= splice->cutEnd && splice->cutEnd <= text.size());
        after.replace(splice->cutBegin, splice->cutEnd - splice->cutBegin, splice->insert);
    }
    Reading got = Read(after);

    // The edited entry, then everything else.
    const std::string s = Fold(section), k = Fold(key);
    Reading want = before;
    if (op == 0) {
        want[s][k] = value;
        Check(got.count(s) && got[s].count(k) && got[s][k] == value);
    } else if (op == 1) {
        if (want.count(s)) {
            want[s].erase(k);
        }
        if (got.count(s)) {
            got[s].erase(k);  // a later line of the same key may show now
        }
    } else {
        want.erase(s);
        got.erase(s);  // a later section of the same name may show now
    }
    Check(got == want);
    if (!splice && op == 0) {
        Check(before.count(s) && before.at(s).count(k) && before.at(s).at(k) == value);
    }
    return 0;
}
