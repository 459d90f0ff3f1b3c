// Settings read from real files on disk.
#include "app/settings.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
class SettingsFile : public ::testing::Test {
  protected:
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("frostmoor_settings_" + std::to_string(::getpid()) + ".ini");

    void TearDown() override { std::filesystem::remove(path); }

    int load(const std::string& contents) {
        std::ofstream(path) << contents;
        return loadSettings(path.c_str());
    }
};
} // namespace

TEST_F(SettingsFile, SectionHeaderAloneGivesEveryDefault) {
    EXPECT_EQ(load("[window]\n"), 0);
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_FALSE(fullscreen);
    EXPECT_FLOAT_EQ(brightness, 1.0f);
    EXPECT_EQ(windowTitle, "Frostmoor");
    EXPECT_TRUE(freeCamera);
    EXPECT_FLOAT_EQ(soundVolume, 0.8f);
}

TEST_F(SettingsFile, VolumeOutsideZeroToOneOrUnreadableIsTheDefault) {
    const std::pair<const char*, float> cases[] = {{"0", 0.0f},   {"1", 1.0f},    {"0.25", 0.25f},
                                                   {"1.5", 0.8f}, {"-0.1", 0.8f}, {"loud", 0.8f},
                                                   {"nan", 0.8f}};
    for (const auto& [value, expected] : cases) {
        load(std::string("[audio]\nvolume = ") + value + "\n");
        EXPECT_FLOAT_EQ(soundVolume, expected) << value;
    }
    load("[window]\nvolume = 0.3\n"); // only under [audio]
    EXPECT_FLOAT_EQ(soundVolume, 0.8f);
}

TEST_F(SettingsFile, LookSensitivityWithinReasonAndInvertedLook) {
    const std::pair<const char*, float> cases[] = {{"0.25", 0.25f}, {"10", 10.0f}, {"0", 0.1f},
                                                   {"-1", 0.1f},    {"11", 0.1f},  {"nan", 0.1f}};
    for (const auto& [value, expected] : cases) {
        load(std::string("[camera]\nsensitivity = ") + value + "\ninvert y = yes\n");
        EXPECT_FLOAT_EQ(lookSensitivity, expected) << value;
        EXPECT_TRUE(invertLook);
    }
    load("[camera]\n");
    EXPECT_FALSE(invertLook);
}

TEST_F(SettingsFile, IntegersTakeAnyBaseAndFallBackWhenUnparsable) {
    load("[window]\nwidth = 0x500\nheight = 010\n");
    EXPECT_EQ(screenWidth, 1280);
    EXPECT_EQ(screenHeight, 8); // a leading zero reads as octal
    load("[window]\nwidth = abc\n");
    EXPECT_EQ(screenWidth, 1024);
}

TEST_F(SettingsFile, BooleansKnowOnlyTheirWords) {
    load("[window]\nfullscreen = Yes\n[camera]\nfree = off\n");
    EXPECT_TRUE(fullscreen);
    EXPECT_FALSE(freeCamera);
    load("[window]\nfullscreen = 2\n[camera]\nfree = maybe\n");
    EXPECT_FALSE(fullscreen);
    EXPECT_TRUE(freeCamera);
}

TEST_F(SettingsFile, EmptyTitleStaysEmptyAndBrightnessNarrows) {
    load("[window]\ntitle =\nbrightness = 0.25\nrefresh rate = 144\n");
    EXPECT_EQ(windowTitle, "");
    EXPECT_FLOAT_EQ(brightness, 0.25f);
    load("[window]\nbrightness = 0\n");
    EXPECT_EQ(brightness, 0.0f);
    for (const char* light : {"-0.5", "nan", "inf", "1e39"}) {
        load(std::string("[window]\nbrightness = ") + light + "\n");
        EXPECT_EQ(brightness, 1.0f) << light;
    }
}

TEST_F(SettingsFile, KeysUnderTheWrongSectionAreIgnored) {
    load("[window]\nfree = false\n[camera]\nwidth = 800\n");
    EXPECT_TRUE(freeCamera);
    EXPECT_EQ(screenWidth, 1024);
}

TEST_F(SettingsFile, SyntaxErrorKeepsTheKeysAroundIt) {
    const int result = load("[window]\nwidth = 800\nthis line is broken\nheight = 600\n");
    EXPECT_GT(result, 0);
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenHeight, 600);
}

TEST_F(SettingsFile, MissingFilePrintsBothLinesAndReadsNothing) {
    load("[window]\nwidth = 640\n");
    ASSERT_EQ(screenWidth, 640);
    std::filesystem::remove(path);
    testing::internal::CaptureStdout();
    const int result = loadSettings(path.c_str());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_LT(result, 0);
    EXPECT_EQ(out, "WARNING: " + path.string() +
                       " not found! Using defaults instead.\n"
                       "Failed to load '" +
                       path.string() + "'\n");
    EXPECT_EQ(screenWidth, 640);
}

TEST(ShippedSettings, HoldEverySevenKeyAtItsDefault) {
    const std::string shipped = std::string(FROSTMOOR_SOURCE_DIR) + "/run/settings.ini";
    ASSERT_EQ(loadSettings(shipped.c_str()), 0);
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_FALSE(fullscreen);
    EXPECT_FLOAT_EQ(brightness, 1.0f);
    EXPECT_EQ(windowTitle, "Frostmoor");
    EXPECT_TRUE(freeCamera);
    EXPECT_FLOAT_EQ(lookSensitivity, 0.1f);
    EXPECT_FALSE(invertLook);
    EXPECT_TRUE(soundAtStart);
    EXPECT_TRUE(showFpsAtStart);
}
