#pragma once
// A changed option written back to the settings file the game read, at
// once: that one value's line changes (see settings_edit.hpp), through a
// link to the file it names, and durably (see durable_file.hpp).
#include <string>
#include <string_view>

// Empty when saved (or already so); otherwise why not, in the words of the
// "ERROR::SETTINGS:: <path>: <reason>" line. A file that is missing, not a
// regular file, or not writable (its permissions say read-only, even to
// root) is left as it was.
std::string saveSetting(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);
