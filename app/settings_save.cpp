#include "app/settings_save.hpp"

#include <cerrno>
#include <system_error>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "app/durable_file.hpp"
#include "app/file_bytes.hpp"
#include "app/settings_edit.hpp"

namespace {

// No settings file comes near this.
constexpr std::size_t maxSettingsBytes = 1 << 20;

std::string notSaved(int error) {
    return "not saved: " + std::generic_category().message(error);
}

} // namespace

std::string saveSetting(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::string file;
    if (!followLinks(path, file))
        return notSaved(errno);
    struct stat seen {};
    if (::stat(file.c_str(), &seen) != 0)
        return notSaved(errno);
    // The player's read-only file stays so; root would write it all the same.
    if (!S_ISREG(seen.st_mode) || (seen.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0)
        return notSaved(S_ISREG(seen.st_mode) ? EACCES : EINVAL);
    std::vector<unsigned char> bytes;
    if (!readFileBytes(file.c_str(), maxSettingsBytes, bytes))
        return notSaved(EIO);
    const std::string before(bytes.begin(), bytes.end());
    std::string text = before;
    if (!setIniValue(text, section, key, value))
        return notSaved(EINVAL);
    if (text == before)
        return {};
    const int error = writeDurably(file, text, static_cast<int>(seen.st_mode & 07777));
    return error == 0 ? std::string() : notSaved(error);
}
