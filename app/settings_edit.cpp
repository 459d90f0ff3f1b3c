#include "app/settings_edit.hpp"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

bool blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// One line as the reader sees it. Offsets are into the whole text.
struct Line {
    enum Kind { Other, Section, Pair, Continuation } kind = Other;
    std::size_t begin = 0, next = 0;          // the line, and where the one after it starts
    std::size_t contentEnd = 0;               // before its "\r\n" or "\n"
    std::size_t valueBegin = 0, valueEnd = 0; // a pair's value
    bool commentAfter = false;                // a "; ..." right after the value
    std::string_view section, name;           // a pair's, or a continuation's owner's
    int owner = -1;                           // a continuation's pair
};

// The reader's scan: up to one of chars, or to a ";" after a blank.
std::size_t scan(std::string_view text, std::size_t at, std::size_t end, std::string_view chars) {
    bool wasBlank = false;
    for (; at < end; ++at) {
        if (chars.find(text[at]) != std::string_view::npos || (wasBlank && text[at] == ';'))
            break;
        wasBlank = blank(text[at]);
    }
    return at;
}

std::vector<Line> readLines(std::string_view text) {
    std::vector<Line> lines;
    std::string_view section;
    int lastPair = -1; // the pair an indented line continues
    for (std::size_t at = 0; at < text.size();) {
        Line line;
        line.begin = at;
        const std::size_t newline = text.find('\n', at);
        line.next = newline == std::string_view::npos ? text.size() : newline + 1;
        line.contentEnd = newline == std::string_view::npos ? text.size() : newline;
        if (line.contentEnd > at && text[line.contentEnd - 1] == '\r')
            --line.contentEnd;
        at = line.next;

        std::size_t start = line.begin, end = line.contentEnd;
        if (line.begin == 0 && text.substr(0, 3) == "\xEF\xBB\xBF")
            start += 3;
        const std::size_t indent = start;
        while (end > start && blank(text[end - 1]))
            --end;
        while (start < end && blank(text[start]))
            ++start;
        if (start == end || text[start] == ';' || text[start] == '#') {
            // blank or comment: neither ends a value nor starts one
        } else if (lastPair >= 0 && start > indent) {
            line.kind = Line::Continuation;
            line.owner = lastPair;
            line.section = lines[lastPair].section;
            line.name = lines[lastPair].name;
        } else if (text[start] == '[') {
            // A ";" after a blank ends the scan too: then there is no "]".
            const std::size_t close = scan(text, start + 1, end, "]");
            if (close < end && text[close] == ']') {
                line.kind = Line::Section;
                section = text.substr(start + 1, close - start - 1);
                line.section = section;
                lastPair = -1;
            }
        } else {
            const std::size_t separator = scan(text, start, end, "=:");
            if (separator < end && (text[separator] == '=' || text[separator] == ':')) {
                std::size_t nameEnd = separator;
                while (nameEnd > start && blank(text[nameEnd - 1]))
                    --nameEnd;
                line.kind = Line::Pair;
                line.section = section;
                line.name = text.substr(start, nameEnd - start);
                const std::size_t cut = scan(text, separator + 1, end, "");
                line.valueBegin = separator + 1;
                while (line.valueBegin < cut && blank(text[line.valueBegin]))
                    ++line.valueBegin;
                line.valueEnd = cut;
                while (line.valueEnd > line.valueBegin && blank(text[line.valueEnd - 1]))
                    --line.valueEnd;
                line.commentAfter = cut < end && line.valueEnd == cut;
                // A pair with no name is no value an indented line goes on.
                lastPair = line.name.empty() ? -1 : static_cast<int>(lines.size());
            }
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

bool writableIniValue(std::string_view value) {
    if (value.size() > 100 || value.find_first_of(std::string_view("\r\n\0", 3)) != value.npos)
        return false;
    if (!value.empty() && (blank(value.front()) || blank(value.back()) || value.front() == ';'))
        return false;
    for (std::size_t i = 1; i < value.size(); ++i)
        if (value[i] == ';' && blank(value[i - 1]))
            return false;
    return true;
}

bool setIniValue(std::string& text, std::string_view section, std::string_view key,
                 std::string_view value) {
    if (!writableIniValue(value))
        return false;
    const std::vector<Line> lines = readLines(text);
    const std::size_t firstNewline = text.find('\n');
    const std::string newline =
        firstNewline != std::string::npos && firstNewline > 0 && text[firstNewline - 1] == '\r'
            ? "\r\n"
            : "\n";
    const std::string pair = std::string(key) + " = " + std::string(value);

    int first = -1;      // the key's first line: it takes the value
    int lastInside = -1; // the section's last key or header: a new key goes after it
    std::vector<int> gone;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Other || !sameName(line.section, section))
            continue;
        const bool ours = line.kind != Line::Section && sameName(line.name, key);
        if (ours && line.kind == Line::Pair && first < 0)
            first = i;
        else if (ours)
            gone.push_back(i);
        lastInside = i;
    }

    // From the back, so that every offset still holds when it is used.
    for (auto i = gone.rbegin(); i != gone.rend(); ++i)
        text.erase(lines[*i].begin, lines[*i].next - lines[*i].begin);
    if (first >= 0) {
        // An empty value right before its comment needs a blank between.
        const Line& line = lines[first];
        text.replace(line.valueBegin, line.valueEnd - line.valueBegin,
                     std::string(value) + (line.commentAfter && !value.empty() ? " " : ""));
    } else if (lastInside >= 0) {
        text.insert(lines[lastInside].contentEnd, newline + pair);
    } else {
        if (!text.empty() && text.back() != '\n')
            text += newline;
        if (!text.empty())
            text += newline;
        text += "[" + std::string(section) + "]" + newline + pair + newline;
    }
    return true;
}
