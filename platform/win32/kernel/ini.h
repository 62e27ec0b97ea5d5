// The INI core under the profile calls: one line scanner, and the lookups
// and the single-splice edits built on it (winport-private).
#pragma once
//
//   ScanLines       the scanner: classifies each line of an INI text
//   FindValue       a key's value in the first section of that name
//   PlanWrite       the splice that sets or deletes a key or a section
//   NamesEqual      the name comparison (ASCII letters without regard to case)

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace winport::ini {

enum class LineKind {
    Blank,    // nothing but blanks
    Comment,  // first non-blank character ';'
    Section,  // "[name]"
    Entry,    // "key=value"
    Other,    // anything else; kept as it is, listed by GetPrivateProfileSection
};

struct Line {
    LineKind kind = LineKind::Blank;
    std::size_t begin = 0;   // offset of the line's first byte in the text
    std::size_t end = 0;     // offset just past its line break (the text's end for the last line)
    std::string_view name;   // Section: its name; Entry: its key; blanks trimmed
    std::string_view value;  // Entry: the value, blanks trimmed, quotes kept
    std::string_view text;   // the line without its break and surrounding blanks
};

[[nodiscard]] inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

[[nodiscard]] inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Section and key names compare without regard to case (ASCII letters; the
// bytes above 127 compare exactly, whatever code page the file is in).
[[nodiscard]] bool NamesEqual(std::string_view a, std::string_view b);

// The core. Calls visit(const Line&) for every line of text, in order, until
// visit returns false. Lines end at LF (a CR before it is a blank like any
// other); where no LF follows, at CR, so a file with CR-only line ends reads
// line by line, as Wine reads it. A UTF-8 byte order mark before the first
// line is not part of it, and no edit touches it. The text may come from a
// file or from a string alike.
template <class Visit>
void ScanLines(std::string_view text, Visit&& visit) {
    std::size_t pos = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    bool lfLeft = true;  // once no LF is left, CR ends the lines
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        std::size_t eol = lfLeft ? text.find('\n', pos) : std::string_view::npos;
        if (eol == std::string_view::npos) {
            lfLeft = false;
            eol = text.find('\r', pos);
        }
        const std::size_t stop = eol == std::string_view::npos ? text.size() : eol;
        line.end = eol == std::string_view::npos ? text.size() : eol + 1;
        line.text = Trim(text.substr(pos, stop - pos));
        pos = line.end;
        const std::string_view t = line.text;
        if (t.empty()) {
            line.kind = LineKind::Blank;
        } else if (t.front() == ';') {
            line.kind = LineKind::Comment;
        } else if (t.front() == '[' && t.find(']') != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = Trim(t.substr(1, t.rfind(']') - 1));
        } else if (const auto eq = t.find('='); eq != std::string_view::npos) {
            line.kind = LineKind::Entry;
            line.name = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
        } else {
            line.kind = LineKind::Other;
        }
        if (!visit(static_cast<const Line&>(line))) {
            return;
        }
    }
}

// Calls visit(const Line&) for each line inside the first section named
// section (not the header), until visit returns false. Returns whether that
// section exists.
template <class Visit>
bool ScanSection(std::string_view text, std::string_view section, Visit&& visit) {
    bool inside = false;
    bool found = false;
    ScanLines(text, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            if (inside) {
                return false;  // only the first section of a name counts
            }
            inside = found = NamesEqual(line.name, section);
            return true;
        }
        return !inside || visit(line);
    });
    return found;
}

// The value of key in the first section named section, blanks trimmed and
// quotes kept; nullopt when either is missing. Lines without '=' are no keys.
[[nodiscard]] std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                                        std::string_view key);

// An edit as one splice: the new text is text[0, cutBegin) + insert +
// text[cutEnd, size). Written out as three pieces, it costs no copy of the
// unchanged parts.
struct Splice {
    std::size_t cutBegin = 0;
    std::size_t cutEnd = 0;
    std::string insert;
};

// The splice for WritePrivateProfileString(section, key, value) on text, or
// nullopt when the text already says so. key null deletes the section (its
// header and every line up to the next header), value null deletes the key's
// line. A new key goes after the last key (or other content line) of the
// section, before its trailing blank lines and comments; a new section goes
// at the end. New and replaced lines end with CR LF (CR in a file with
// CR-only line ends); a replaced line keeps
// the spelling of its key; every other byte stays as it was.
[[nodiscard]] std::optional<Splice> PlanWrite(std::string_view text, std::string_view section,
                                              const char* key, const char* value);

}  // namespace winport::ini
