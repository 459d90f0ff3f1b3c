// The records file's text: a line-by-line format that a person can read,
// checked by a version first and a CRC-32 over the rest.
#include "game/records.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

namespace {
constexpr std::string_view header = "frostmoor records ";
constexpr std::string_view checksumKey = "checksum ";
// Places beyond the desert, and sizes beyond any temperature, are damage.
constexpr float maxCoordinate = 100000.0f;

// CRC-32 (the zlib polynomial), enough to catch a torn or edited file.
std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The shortest text that reads back as exactly the same float: a fixed
// number of decimals would lose a tiny time, and overflow on a huge one.
void put(std::string& out, float value) {
    std::array<char, 32> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), end.ptr);
}

void put(std::string& out, long value) {
    std::array<char, 24> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), end.ptr);
}

// Reads the text line by line; every read must take a whole field.
class Lines {
  public:
    explicit Lines(std::string_view text) : rest(text) {}

    // The next line without its newline; false at the end or on a last line
    // that lacks one (a torn file).
    bool next(std::string_view& line) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            return false;
        line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        return true;
    }
    bool atEnd() const { return rest.empty(); }

  private:
    std::string_view rest;
};

// The whole field a whole number within [low, high].
bool wholeNumber(std::string_view digits, long low, long high, long& value) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && value >= low &&
           value <= high;
}

// "name value", the value a whole number within [low, high].
bool keyNumber(std::string_view line, std::string_view name, long low, long high, long& value) {
    if (line.size() <= name.size() + 1 || line.substr(0, name.size()) != name ||
        line[name.size()] != ' ')
        return false;
    return wholeNumber(line.substr(name.size() + 1), low, high, value);
}

bool finiteNumber(std::string_view field, float& value) {
    if (field.empty())
        return false;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size() && std::isfinite(value);
}

// Five numbers between single spaces.
bool pathSample(std::string_view line, PathSample& sample) {
    float* fields[] = {&sample.x, &sample.z, &sample.heading, &sample.waddle, &sample.scale};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const std::size_t space = line.find(' ');
        const bool last = i + 1 == std::size(fields);
        if (last != (space == std::string_view::npos))
            return false;
        if (!finiteNumber(line.substr(0, space), *fields[i]))
            return false;
        line.remove_prefix(last ? line.size() : space + 1);
    }
    return std::abs(sample.x) <= maxCoordinate && std::abs(sample.z) <= maxCoordinate &&
           std::abs(sample.heading) <= maxCoordinate && std::abs(sample.waddle) <= maxCoordinate &&
           std::abs(sample.scale) <= maxCoordinate;
}

// The lines between the version and the checksum, every one in its place.
bool parseBody(std::string_view text, Records& out) {
    Records records;
    Lines lines(text);
    std::string_view line;
    long number = 0;

    if (!lines.next(line) || line.substr(0, header.size()) != header ||
        !wholeNumber(line.substr(header.size()), 1, recordsVersion, number))
        return false;

    if (!lines.next(line) || line.substr(0, 5) != "best ")
        return false;
    if (line != "best none") {
        if (!finiteNumber(line.substr(5), records.bestTime) || records.bestTime <= 0.0f)
            return false;
        records.hasBest = true;
    }
    if (!lines.next(line) || !keyNumber(line, "played", 0, INT32_MAX, number))
        return false;
    records.roundsPlayed = static_cast<int>(number);
    if (!lines.next(line) || !keyNumber(line, "won", 0, records.roundsPlayed, number))
        return false;
    records.roundsWon = static_cast<int>(number);
    if (!lines.next(line) || !keyNumber(line, "path", 0, maxPathSamples, number))
        return false;
    records.bestPath.count = static_cast<int>(number);
    for (int i = 0; i < records.bestPath.count; ++i)
        if (!lines.next(line) ||
            !pathSample(line, records.bestPath.samples[static_cast<std::size_t>(i)]))
            return false;
    if (!lines.atEnd())
        return false;
    out = records;
    return true;
}

// A version number above ours; one too long to hold is above it too.
bool newerVersion(std::string_view digits) {
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    long version = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), version);
    return error == std::errc::result_out_of_range || version > recordsVersion;
}
} // namespace

std::string formatRecords(const Records& records) {
    std::string text(header);
    put(text, static_cast<long>(recordsVersion));
    text += "\nbest ";
    if (records.hasBest)
        put(text, records.bestTime);
    else
        text += "none";
    text += "\nplayed ";
    put(text, static_cast<long>(records.roundsPlayed));
    text += "\nwon ";
    put(text, static_cast<long>(records.roundsWon));
    text += "\npath ";
    put(text, static_cast<long>(records.bestPath.count));
    text += '\n';
    for (int i = 0; i < records.bestPath.count; ++i) {
        const PathSample& s = records.bestPath.samples[static_cast<std::size_t>(i)];
        for (const float value : {s.x, s.z, s.heading, s.waddle, s.scale}) {
            put(text, value);
            text += ' ';
        }
        text.back() = '\n';
    }
    return withChecksum(std::move(text));
}

std::string withChecksum(std::string text) {
    const std::uint32_t sum = crc32(text);
    text += "checksum ";
    std::array<char, 9> hex;
    const auto end = std::to_chars(hex.data(), hex.data() + hex.size(), sum, 16);
    text.append(hex.data(), end.ptr);
    text += '\n';
    return text;
}

RecordsFault checkRecords(std::string_view text, Records& out) {
    // A newer version may have changed anything below its first line.
    const std::string_view first = text.substr(0, text.find('\n'));
    if (first.substr(0, header.size()) == header && newerVersion(first.substr(header.size())))
        return RecordsFault::Newer;
    if (text.empty() || text.back() != '\n')
        return RecordsFault::Torn;
    // The first line that starts so is the checksum: no other line can.
    std::size_t at = 0;
    while (at < text.size() && text.substr(at, checksumKey.size()) != checksumKey)
        at = text.find('\n', at) + 1;
    if (at == text.size())
        return RecordsFault::Torn;
    const std::size_t end = text.find('\n', at);
    const std::string_view hex =
        text.substr(at + checksumKey.size(), end - at - checksumKey.size());
    std::uint32_t sum = 0;
    const auto [last, error] = std::from_chars(hex.data(), hex.data() + hex.size(), sum, 16);
    if (error != std::errc() || last != hex.data() + hex.size() || sum != crc32(text.substr(0, at)))
        return RecordsFault::Checksum;
    if (end + 1 != text.size() || !parseBody(text.substr(0, at), out))
        return RecordsFault::Malformed;
    return RecordsFault::None;
}

bool parseRecords(std::string_view text, Records& out) {
    return checkRecords(text, out) == RecordsFault::None;
}

int addCount(int count, int more) {
    const long long sum = static_cast<long long>(count) + more;
    return static_cast<int>(std::clamp<long long>(sum, 0, INT32_MAX));
}
