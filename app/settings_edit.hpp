#pragma once
// Changing one value of a settings file's text the way a person would with
// an editor: every other byte (comments, blank lines, unknown keys, order,
// line endings) stays as it was. Keys are found by the rules the game reads
// them by: sections and names without regard to case, "=" or ":" between
// name and value, blanks around both, a ";" after a blank starting a
// comment, and an indented line continuing the value above it.
#include <string>
#include <string_view>

// Whether a value can be written so that it reads back as itself: one line,
// no blanks at either end, no "; " comment in it.
bool writableIniValue(std::string_view value);

// Sets section's key to value in text. The first time the key appears in
// the section it takes the new value, its comment kept; its continuation
// lines and every repeat of it go, as the game would join them all into
// one value. A missing key is added after the section's last key, and a
// missing section at the end. False, with text unchanged, for a value
// writableIniValue refuses.
bool setIniValue(std::string& text, std::string_view section, std::string_view key,
                 std::string_view value);
