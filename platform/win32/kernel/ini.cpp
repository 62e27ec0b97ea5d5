// The INI core: lookups and edits over the line scanner.
#include "win32/kernel/ini.h"

namespace winport::ini {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key) {
    std::optional<std::string_view> value;
    ScanSection(text, Trim(section), [&](const Line& line) {
        if (line.kind == LineKind::Entry && NamesEqual(line.name, key)) {
            value = line.value;
            return false;
        }
        return true;
    });
    return value;
}

std::optional<Splice> PlanWrite(std::string_view text, std::string_view section, const char* key,
                                const char* value) {
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = key != nullptr ? Trim(key) : std::string_view();

    // Where the first section of that name starts and ends, where its last
    // content line ends, and the key's line.
    bool found = false;
    std::size_t headerBegin = 0;
    std::size_t sectionEnd = text.size();
    std::size_t contentEnd = 0;
    std::optional<Line> keyLine;
    bool inside = false;
    ScanLines(text, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            if (inside) {
                sectionEnd = line.begin;
                return false;
            }
            if (NamesEqual(line.name, sectionName)) {
                inside = found = true;
                headerBegin = line.begin;
                contentEnd = line.end;
            }
            return true;
        }
        if (inside) {
            if (line.kind == LineKind::Entry || line.kind == LineKind::Other) {
                contentEnd = line.end;
            }
            if (key != nullptr && !keyLine && line.kind == LineKind::Entry && NamesEqual(line.name, keyName)) {
                keyLine = line;
            }
        }
        return true;
    });

    if (key == nullptr) {
        if (!found) {
            return std::nullopt;
        }
        return Splice{headerBegin, sectionEnd, {}};
    }
    if (value == nullptr) {
        if (!keyLine) {
            return std::nullopt;
        }
        return Splice{keyLine->begin, keyLine->end, {}};
    }

    // New and replaced lines end as the file's lines do when it has CR-only
    // ends: a CR LF among them would turn the rest of the file into one line.
    const std::string_view eol =
        text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos ? "\r" : "\r\n";
    const std::string_view newValue(value);
    if (keyLine && keyLine->value == newValue) {
        return std::nullopt;
    }
    std::string entry;
    entry.reserve(keyName.size() + newValue.size() + 3);
    entry.append(keyLine ? keyLine->name : keyName).append("=").append(newValue).append(eol);
    if (keyLine) {
        return Splice{keyLine->begin, keyLine->end, std::move(entry)};
    }
    // Appending after a last line that has no line break gives it one first.
    const std::size_t mark = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    const std::size_t at = found ? contentEnd : text.size();
    std::string insert(at > mark && text[at - 1] != '\n' && text[at - 1] != '\r' ? eol : std::string_view());
    if (!found) {
        insert.append("[").append(sectionName).append("]").append(eol);
    }
    insert += entry;
    return Splice{at, at, std::move(insert)};
}

}  // namespace winport::ini
