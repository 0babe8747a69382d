#include "settings/IniText.h"

#include <algorithm>
#include <optional>

namespace IniText {

namespace {

constexpr std::string_view kNewLine = "\r\n";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// One line of the text: its content, and where the next line starts.
struct Line {
    size_t begin;
    size_t end;   // the content ends here, before CR LF or LF
    size_t next;  // after the line end; the text's size for a last line without one
    std::string_view content;
};

Line LineAt(std::string_view text, size_t begin) {
    const size_t newline = text.find('\n', begin);
    const size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    size_t end = newline == std::string_view::npos ? text.size() : newline;
    if (end > begin && text[end - 1] == '\r')
        --end;
    return {begin, end, next, text.substr(begin, end - begin)};
}

// The name of a section header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
    const std::string_view line = Trim(content);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const size_t close = line.find(']');
    return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

bool IsKeyLine(std::string_view content, std::string_view key) {
    const size_t equals = content.find('=');
    return equals != std::string_view::npos && SameName(Trim(content.substr(0, equals)), key);
}

// Inserts whole lines at `at`, first ending an unterminated last line before it.
void InsertLines(std::string& text, size_t at, std::string lines) {
    if (at > 0 && text[at - 1] != '\n')
        lines.insert(0, kNewLine);
    text.insert(at, lines);
}

}  // namespace

void SetValue(std::string& text, std::string_view section, std::string_view key,
              std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    size_t at = 0;
    while (at < text.size()) {
        const Line header = LineAt(text, at);
        at = header.next;
        const auto name = SectionName(header.content);
        if (!name || !SameName(*name, section))
            continue;
        size_t sectionEnd = header.next;  // after its last non-blank line
        while (at < text.size()) {
            const Line line = LineAt(text, at);
            if (SectionName(line.content))
                break;
            if (IsKeyLine(line.content, key)) {
                text.replace(line.begin, line.end - line.begin, entry);
                return;
            }
            if (!Trim(line.content).empty())
                sectionEnd = line.next;
            at = line.next;
        }
        InsertLines(text, sectionEnd, entry + std::string(kNewLine));
        return;
    }
    InsertLines(text, text.size(),
                "[" + std::string(section) + "]" + std::string(kNewLine) + entry + std::string(kNewLine));
}

}  // namespace IniText
