// The INI core: lookups and edits over the line scanner.
#include "win32/kernel/ini.h"

namespace winport::ini {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The line break for a line written at offset `at`: CR LF, unless no LF
// follows and the lines just before end in CR alone. The scanner ends those
// lines at CR only because no LF comes after them; a CR LF written there
// would join them into one line.
std::string_view LineBreakAt(std::string_view text, std::size_t at) {
    if (at == 0 || text.find('\n', at) != std::string_view::npos) {
        return "\r\n";
    }
    const std::size_t lastLf = text.rfind('\n', at - 1);
    const std::size_t from = lastLf == std::string_view::npos ? 0 : lastLf + 1;
    return text.substr(from, at - from).find('\r') != std::string_view::npos ? "\r" : "\r\n";
}

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

    const std::string_view newValue(value);
    if (keyLine && keyLine->value == newValue) {
        return std::nullopt;
    }
    const std::size_t at = keyLine ? keyLine->begin : found ? contentEnd : text.size();
    const std::string_view eol = LineBreakAt(text, at);
    std::string entry;
    entry.reserve(keyName.size() + newValue.size() + 3);
    entry.append(keyLine ? keyLine->name : keyName).append("=").append(newValue).append(eol);
    if (keyLine) {
        return Splice{keyLine->begin, keyLine->end, std::move(entry)};
    }
    // Appending after a last line that has no line break gives it one first.
    const std::size_t mark = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    std::string insert(at > mark && text[at - 1] != '\n' && text[at - 1] != '\r' ? eol : std::string_view());
    if (!found) {
        insert.append("[").append(sectionName).append("]").append(eol);
    }
    insert += entry;
    return Splice{at, at, std::move(insert)};
}

}  // namespace winport::ini
