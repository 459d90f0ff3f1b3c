#include "audio/quiet_stderr.hpp"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

QuietStderr::QuietStderr() {
    std::fflush(stderr);
    // Close-on-exec: a helper the sound system starts must not inherit it.
    saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    if (null >= 0)
        close(null);
}

QuietStderr::~QuietStderr() {
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
}
