#include "app/durable_file.hpp"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system itself follows before it gives up.
constexpr int maxLinks = 40;

int systemOpen(const char* path, int flags, int mode) {
    return ::open(path, flags, mode);
}

long systemRead(int fd, void* data, unsigned long size) {
    return ::read(fd, data, size);
}

long systemWrite(int fd, const void* data, unsigned long size) {
    return ::write(fd, data, size);
}

} // namespace

const FileIo& systemFileIo() {
    static const FileIo io{systemOpen, systemRead, systemWrite, ::fsync, ::close, ::rename};
    return io;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Dotfile managers keep a player's files behind links, and a link must
// stay one.
bool followLinks(const std::string& path, std::string& file) {
    file = path;
    for (int hop = 0; hop <= maxLinks; ++hop) {
        struct stat seen;
        const bool there = lstat(file.c_str(), &seen) == 0;
        if (!there && errno != ENOENT)
            return false;
        if (!there || !S_ISLNK(seen.st_mode)) {
            // Named without the "dir/../" of relative links, for the player.
            char* folder = hop > 0 ? realpath(folderOf(file).c_str(), nullptr) : nullptr;
            if (folder != nullptr)
                file = std::string(folder) + file.substr(file.rfind('/'));
            std::free(folder);
            return true;
        }
        std::array<char, 4096> target;
        const ssize_t size = readlink(file.c_str(), target.data(), target.size());
        if (size < 0)
            return false;
        if (static_cast<std::size_t>(size) == target.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        // A relative link is relative to its own folder, not to ours.
        const std::string to(target.data(), static_cast<std::size_t>(size));
        file = !to.empty() && to[0] == '/' ? to : folderOf(file) + "/" + to;
    }
    errno = ELOOP;
    return false;
}

// Six letters of chance: a name no crash can leave taken for good, even in
// a sandbox where every run has the same process id.
std::string temporaryName(const std::string& file) {
    static constexpr std::string_view letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 chance{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::string name = file + std::string(temporaryMark);
    for (int i = 0; i < 6; ++i)
        name += letters[pick(chance)];
    return name;
}

int writeDurably(const std::string& file, const std::string& text, int mode, const FileIo& io) {
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryName(file);
        fd = io.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return errno;

    // The mode as asked, not as the umask leaves it: a file written again
    // keeps the permissions it had.
    int error = ::fchmod(fd, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
    for (std::size_t done = 0; error == 0 && done < text.size();) {
        const long wrote = io.write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote > 0)
            done += static_cast<std::size_t>(wrote);
        else
            error = wrote < 0 ? errno : EIO;
    }
    if (error == 0 && io.fsync(fd) != 0)
        error = errno;
    if (io.close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && io.rename(temporary.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return error;
    }
    // A failure here leaves the new file in place all the same.
    const int folder = io.open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (folder >= 0) {
        io.fsync(folder);
        io.close(folder);
    }
    return 0;
}
