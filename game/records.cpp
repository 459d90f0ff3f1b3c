#include "game/records.hpp"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::string_view header = "frostmoor records ";
// No sane records file comes near this; a bigger one is not read at all.
constexpr std::size_t maxFileBytes = 1 << 20;
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
    std::size_t consumed(std::string_view whole) const { return whole.size() - rest.size(); }

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

// "name.broken-N" for the first N not taken. A hard link never replaces a
// name; where links are not to be had, a rename onto a name seen free.
bool keepAside(const std::string& path) {
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = path + ".broken-" + std::to_string(n);
        if (link(path.c_str(), aside.c_str()) == 0)
            return unlink(path.c_str()) == 0;
        if (errno == EEXIST)
            continue;
        struct stat seen;
        if (lstat(aside.c_str(), &seen) != 0 && errno == ENOENT)
            return rename(path.c_str(), aside.c_str()) == 0;
        return false;
    }
    return false;
}

void report(const std::string& path) {
    std::cout << "ERROR::RECORDS:: " << path << std::endl;
}

// Every folder of path up to its last slash, made private when missing.
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

int systemOpen(const char* path, int flags, int mode) {
    return ::open(path, flags, mode);
}
long systemWrite(int fd, const void* data, unsigned long size) {
    return ::write(fd, data, size);
}
} // namespace

std::string recordsPath(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/frostmoor/records.txt";
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/share/frostmoor/records.txt";
    return {};
}

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

bool parseRecords(std::string_view text, Records& out) {
    Records records;
    Lines lines(text);
    std::string_view line;
    long number = 0;

    if (!lines.next(line) || line.substr(0, header.size()) != header)
        return false;
    if (!wholeNumber(line.substr(header.size()), 1, recordsVersion, number))
        return false; // from a newer version, or no version at all

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

    const std::size_t summed = lines.consumed(text);
    if (!lines.next(line) || line.substr(0, 9) != "checksum " || !lines.atEnd())
        return false;
    const std::string_view hex = line.substr(9);
    std::uint32_t sum = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), sum, 16);
    if (error != std::errc() || end != hex.data() + hex.size() ||
        sum != crc32(text.substr(0, summed)))
        return false;
    out = records;
    return true;
}

RecordsRead loadRecords(const std::string& path, Records& out) {
    out = Records{};
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        struct stat seen;
        if (lstat(path.c_str(), &seen) != 0 && errno == ENOENT)
            return RecordsRead::Missing;
        report(path); // there, but not to be read: left alone, and not written
        return RecordsRead::Unusable;
    }
    std::string text;
    std::array<char, 4096> chunk;
    while (file.read(chunk.data(), chunk.size()) || file.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
        if (text.size() > maxFileBytes)
            break;
    }
    const bool readWhole = !file.bad() && text.size() <= maxFileBytes;
    if (readWhole && parseRecords(text, out))
        return RecordsRead::Read;
    out = Records{};
    report(path);
    return keepAside(path) ? RecordsRead::Broken : RecordsRead::Unusable;
}

const RecordsIo& systemRecordsIo() {
    static const RecordsIo io{systemOpen, systemWrite, ::fsync, ::close, ::rename};
    return io;
}

bool saveRecords(const std::string& path, const Records& records, const RecordsIo& io) {
    if (path.empty() || !makeFolders(path)) {
        report(path);
        return false;
    }
    const std::string text = formatRecords(records);
    const std::string temporary = path + ".new-" + std::to_string(getpid());
    const int fd = io.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    for (std::size_t done = 0; ok && done < text.size();) {
        const long wrote = io.write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        ok = wrote > 0;
        done += ok ? static_cast<std::size_t>(wrote) : 0;
    }
    ok = ok && io.fsync(fd) == 0;
    if (fd >= 0)
        ok = io.close(fd) == 0 && ok;
    ok = ok && io.rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        if (fd >= 0)
            unlink(temporary.c_str());
        report(path);
        return false;
    }
    // The rename itself reaches the disk with the folder; a failure here
    // leaves the new file in place all the same.
    const std::string folder = path.substr(0, path.rfind('/'));
    const int dir = io.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dir >= 0) {
        io.fsync(dir);
        io.close(dir);
    }
    return true;
}
