#include "app/file_bytes.hpp"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool readFileBytes(const char* path, std::size_t cap, std::vector<unsigned char>& out) {
    out.clear();
    // O_NONBLOCK so that opening a FIFO with no writer cannot hang, and
    // O_NOCTTY so that a terminal named here does not become ours; the
    // fstat then refuses both.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const std::unique_ptr<const int, void (*)(const int*)> closer(
        &fd, [](const int* f) { ::close(*f); });
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<unsigned long long>(info.st_size) <= cap;
    if (ok) {
        // Read to the end, not to the size fstat gave: a file that grows
        // meanwhile is still held to the cap.
        out.resize(static_cast<std::size_t>(info.st_size) + 1);
        std::size_t have = 0;
        while (ok) {
            if (have == out.size()) {
                ok = have <= cap;
                out.resize(std::min(cap + 1, have * 2));
                continue;
            }
            const ssize_t n = ::read(fd, out.data() + have, out.size() - have);
            if (n > 0)
                have += static_cast<std::size_t>(n);
            else if (n == 0)
                break;
            else
                ok = errno == EINTR;
        }
        out.resize(ok ? have : 0);
    }
    if (!ok)
        out.clear();
    return ok;
}
