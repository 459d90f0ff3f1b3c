// What the readers let through to the decoders: regular files within a cap,
// only the formats the game ships, and a model's files screened whatever
// they are called.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/file_bytes.hpp"
#include "render/glyphs.hpp"
#include "render/image.hpp"
#include "render/model_files.hpp"

namespace fs = std::filesystem;

namespace {

class FileInput : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("frostmoor-input-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }

    fs::path dir;
};

} // namespace

TEST_F(FileInput, OnlyRegularFilesWithinTheCapAreRead) {
    std::ofstream(path("four")) << "abcd";
    std::vector<unsigned char> bytes{1};
    EXPECT_TRUE(readFileBytes(path("four").c_str(), 4, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcd");
    EXPECT_FALSE(readFileBytes(path("four").c_str(), 3, bytes));
    EXPECT_TRUE(bytes.empty());

    // None of these may block or read without end.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    for (const std::string& other :
         {path("fifo"), dir.string(), std::string("/dev/zero"), path("absent")})
        EXPECT_FALSE(readFileBytes(other.c_str(), 1 << 20, bytes)) << other;
}

TEST_F(FileInput, PicturesOfOtherFormatsOrOverTheCapAreRefused) {
    const unsigned char rgb[3] = {200, 100, 50};
    ASSERT_NE(stbi_write_tga(path("a.tga").c_str(), 1, 1, 3, rgb), 0);
    ASSERT_NE(stbi_write_bmp(path("a.bmp").c_str(), 1, 1, 3, rgb), 0);
    const float light[3] = {1.0f, 0.5f, 0.25f};
    ASSERT_NE(stbi_write_hdr(path("a.hdr").c_str(), 1, 1, 3, light), 0);
    std::ofstream(path("a.pnm"), std::ios::binary) << "P6\n1 1\n255\n\xc8\x64\x32";

    Image image;
    EXPECT_TRUE(readImageFile(path("a.tga").c_str(), 0, image));
    for (const char* other : {"a.bmp", "a.hdr", "a.pnm"})
        EXPECT_FALSE(readImageFile(path(other).c_str(), 0, image)) << other;

    // The same good picture, padded past the cap: refused before it is read.
    fs::copy_file(path("a.tga"), path("big.tga"));
    fs::resize_file(path("big.tga"), maxImageFileBytes + 1);
    EXPECT_FALSE(readImageFile(path("big.tga").c_str(), 0, image));
}

TEST_F(FileInput, FontsOtherThanTrueTypeAreRefused) {
    // A bitmap font FreeType reads well: one glyph, "A", eight pixels high.
    std::ofstream(path("a.bdf"))
        << "STARTFONT 2.1\nFONT -test-a-medium-r-normal--8-80-75-75-c-80-iso10646-1\n"
           "SIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 2\nFONT_ASCENT 8\n"
           "FONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 500 0\n"
           "DWIDTH 8 0\nBBX 8 8 0 0\nBITMAP\nFF\n81\n81\n81\nFF\n81\n81\n81\nENDCHAR\nENDFONT\n";
    std::vector<GlyphImage> glyphs;
    testing::internal::CaptureStdout();
    EXPECT_EQ(rasteriseGlyphs(path("a.bdf").c_str(), glyphs), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
    EXPECT_TRUE(glyphs.empty());
}

namespace {

// Files by name, counting the streams it has open.
class CountedFiles : public Assimp::IOSystem {
  public:
    CountedFiles(std::map<std::string, std::string> files, int& open) : files(files), open(open) {}
    bool Exists(const char* file) const override { return files.count(file) != 0; }
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* file, const char*) override {
        if (!Exists(file))
            return nullptr;
        ++open;
        return new MemoryStream(files.at(file));
    }
    void Close(Assimp::IOStream* stream) override {
        --open;
        delete stream;
    }

  private:
    std::map<std::string, std::string> files;
    int& open;
};

} // namespace

TEST(ScreenedFiles, OwnsWhatItHandsOutAndScreensTheModelNamedAsItsMaterials) {
    const std::string model = "# a\nmtllib m.obj\nmap_d r\n";
    int innerOpen = 0;
    ScreenedFiles files("dir/m.obj", new CountedFiles({{"dir/m.obj", model}}, innerOpen));

    // The model itself comes through, from memory: the inner file is closed.
    Assimp::IOStream* first = files.Open("dir/m.obj", "rb");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(innerOpen, 0);
    std::string read(first->FileSize(), '\0');
    EXPECT_EQ(first->Read(read.data(), 1, read.size()), model.size());
    EXPECT_EQ(read, model);

    // While it is open, its name is a material file: screened and refused.
    testing::internal::CaptureStdout();
    EXPECT_EQ(files.Open("dir/m.obj", "rb"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::ASSIMP:: dir/m.obj: a statement before the first newmtl\n");
    EXPECT_EQ(innerOpen, 0);
    files.Close(first);

    // Closed, the model is the model again; a deleted stream counts as closed.
    ScreenedFiles again("dir/m.obj", new CountedFiles({{"dir/m.obj", model}}, innerOpen));
    delete again.Open("dir/m.obj", "rb");
    Assimp::IOStream* reopened = again.Open("dir/m.obj", "rb");
    EXPECT_NE(reopened, nullptr);
    again.Close(reopened);
    EXPECT_EQ(again.Open("dir/absent.mtl", "rb"), nullptr);
    EXPECT_EQ(again.Open("dir/m.obj", "wb"), nullptr);
    EXPECT_EQ(innerOpen, 0);
}
