// One value changed in a settings text: that line alone, and what the game
// then reads is the new value.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <INIReader.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/settings_edit.hpp"
#include "app/settings_save.hpp"

namespace {

// The text after the change; the game's reader must read the new value.
std::string edited(std::string text, const char* section, const char* key, const char* value) {
    EXPECT_TRUE(setIniValue(text, section, key, value)) << text;
    INIReader reader(text.data(), text.size());
    EXPECT_EQ(reader.ParseError(), 0) << text;
    EXPECT_EQ(reader.Get(section, key, "(absent)"), value) << text;
    return text;
}

} // namespace

TEST(SettingsEdit, ChangesTheValueAloneKeepingCommentsSpacingAndEndings) {
    EXPECT_EQ(edited("; sound\n[audio]\n; 0 to 1\nvolume = 0.8\n\n[game]\nghost = true\n", "audio",
                     "volume", "0.3"),
              "; sound\n[audio]\n; 0 to 1\nvolume = 0.3\n\n[game]\nghost = true\n");
    EXPECT_EQ(edited("[Window]\r\nWidth=1024\r\nfullscreen : no ; for now\r\n", "window",
                     "fullscreen", "true"),
              "[Window]\r\nWidth=1024\r\nfullscreen : true ; for now\r\n");
    EXPECT_EQ(edited("[window]\nwidth=1024", "WINDOW", "width", "800"), "[window]\nwidth=800");
    // An empty value before a comment: the comment stays one.
    EXPECT_EQ(edited("[window]\ntitle = ; none\n", "window", "title", "Moor"),
              "[window]\ntitle = Moor ; none\n");
    EXPECT_EQ(edited("\xEF\xBB\xBF[window]\ntitle = A\n", "window", "title", ""),
              "\xEF\xBB\xBF[window]\ntitle = \n");
}

TEST(SettingsEdit, RepeatsAndContinuationsGoSoThatTheNewValueIsRead) {
    // The reader would join every one of these into one value.
    EXPECT_EQ(edited("[a]\nk=1\n  more\nj=2\n[b]\nk=3\n[A]\nk = 4\n", "a", "k", "9"),
              "[a]\nk=9\nj=2\n[b]\nk=3\n[A]\n");
    // Look-alikes are not the key: another section's, a commented one, a
    // longer name.
    EXPECT_EQ(edited("[b]\nk = 1\n[a]\n; k = 2\nkk = 3\n# end\n", "a", "k", "5"),
              "[b]\nk = 1\n[a]\n; k = 2\nkk = 3\nk = 5\n# end\n");
    // Nor are lines the reader refuses: a name with no "=", a header whose
    // "]" is in a comment.
    std::string refused = "[a]\nk ; = 1\n[a ;]\nk = 2\n";
    ASSERT_TRUE(setIniValue(refused, "a", "k", "3"));
    EXPECT_EQ(refused, "[a]\nk ; = 1\n[a ;]\nk = 3\n");
    EXPECT_EQ(INIReader(refused.data(), refused.size()).Get("a", "k", ""), "3");
}

TEST(SettingsEdit, AMissingKeyOrSectionIsAdded) {
    EXPECT_EQ(edited("[camera]\r\nfree = true\r\n\r\n[audio]\r\n", "camera", "invert y", "true"),
              "[camera]\r\nfree = true\r\ninvert y = true\r\n\r\n[audio]\r\n");
    EXPECT_EQ(edited("[camera]", "camera", "free", "no"), "[camera]\nfree = no");
    EXPECT_EQ(edited("[a]\nk = 1", "camera", "free", "no"), "[a]\nk = 1\n\n[camera]\nfree = no\n");
    EXPECT_EQ(edited("", "camera", "free", "no"), "[camera]\nfree = no\n");
}

TEST(SettingsEdit, AValueThatWouldNotReadBackIsRefused) {
    for (const char* value : {"a ;b", " a", "a ", ";a", "a\nb", "a\rb"}) {
        std::string text = "[a]\nk = 1\n";
        EXPECT_FALSE(setIniValue(text, "a", "k", value)) << value;
        EXPECT_EQ(text, "[a]\nk = 1\n");
    }
    EXPECT_TRUE(writableIniValue("a;b#c = d"));
}

TEST(SettingsSave, WritesTheFileALinkNamesAndLeavesAReadOnlyOneAlone) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("frostmoor-settings-" + std::to_string(::getpid()));
    fs::create_directories(dir / "home");
    const auto read = [](const fs::path& file) {
        std::ostringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        return text.str();
    };
    const fs::path own = dir / "home/settings.ini", run = dir / "settings.ini";
    std::ofstream(own, std::ios::binary) << "[audio]\r\nvolume = 0.8\r\n";
    // Group-writable, which the usual umask would take away from a new file.
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::group_write;
    fs::permissions(own, mode);
    fs::create_symlink("home/settings.ini", run);

    EXPECT_EQ(saveSetting(run.string(), "audio", "volume", "0.3"), "");
    EXPECT_TRUE(fs::is_symlink(run));
    EXPECT_EQ(read(own), "[audio]\r\nvolume = 0.3\r\n");
    EXPECT_EQ(fs::status(own).permissions(), mode);

    fs::permissions(own, fs::perms::owner_read);
    EXPECT_EQ(saveSetting(run.string(), "audio", "volume", "0"), "not saved: Permission denied");
    EXPECT_EQ(read(own), "[audio]\r\nvolume = 0.3\r\n");
    EXPECT_NE(saveSetting((dir / "absent.ini").string(), "audio", "volume", "0"), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "home"), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}
