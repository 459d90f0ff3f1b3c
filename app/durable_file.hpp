#pragma once
// Player files written the way a database writes them: a new temporary
// file beside the file, flushed to the disk, renamed over it, and the
// folder flushed, so that a crash at any moment leaves the old file or the
// new one whole. Files behind a link are written where the link leads, and
// the link stays one.
#include <string>
#include <string_view>

// The file system calls of a write, so that a test can fail any one of them.
struct FileIo {
    int (*open)(const char* path, int flags, int mode);
    long (*read)(int fd, void* data, unsigned long size);
    long (*write)(int fd, const void* data, unsigned long size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
const FileIo& systemFileIo();

// The folder a path names its file in: "." for a bare name.
std::string folderOf(const std::string& path);

// Where path leads: itself, or the file at the end of its links, which
// need not exist. False, with errno, when it leads nowhere.
bool followLinks(const std::string& path, std::string& file);

// What every temporary file's name holds after the file's own name.
inline constexpr std::string_view temporaryMark = ".new-";
// file, the mark and six letters of chance.
std::string temporaryName(const std::string& file);

// Writes text as file (a path links have been followed on) through a new
// temporary file of the given permissions, whatever the umask. 0, or the errno of the step that
// failed; on failure the old file is as it was and no temporary is left.
int writeDurably(const std::string& file, const std::string& text, int mode,
                 const FileIo& io = systemFileIo());
