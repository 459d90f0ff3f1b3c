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

    // Nor may a model name them as its material file.
    RegularFiles files;
    fs::copy_file(path("four"), path("big.mtl"));
    fs::resize_file(path("big.mtl"), maxModelFileBytes + 1);
    for (const std::string& other : {path("fifo"), dir.string(), std::string("/dev/zero")}) {
        EXPECT_FALSE(files.Exists(other.c_str())) << other;
        EXPECT_EQ(files.Open(other.c_str(), "rb"), nullptr) << other;
    }
    EXPECT_EQ(files.Open(path("big.mtl").c_str(), "rb"), nullptr);
    Assimp::IOStream* four = files.Open(path("four").c_str(), "rb");
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(four->FileSize(), 4u);
    files.Close(four);
}

TEST_F(FileInput, PicturesOfOtherFormatsOrOverTheCapAreRefused) {
    const unsigned char rgb[3] = {200, 100, 50};
    ASSERT_NE(stbi_write_tga(path("a.tga").c_str(), 1, 1, 3, rgb), 0);
    ASSERT_NE(stbi_write_bmp(path("a.bmp").c_str(), 1, 1, 3, rgb), 0);
    const float light[3] = {1.0f, 0.5f, 0.25f};
    ASSERT_NE(stbi_write_hdr(path("a.hdr").c_str(), 1, 1, 3, light), 0);
    std::ofstream(path("a.pnm"), std::ios::binary) << "P6\n1 1\n255\n\xc8\x64\x32";

    ASSERT_NE(stbi_write_png(path("a.png").c_str(), 1, 1, 3, rgb, 3), 0);
    // One pixel, its image data a filter byte and a copy of three bytes from
    // distance code 30, which deflate does not have: stb "decodes" it from
    // whatever its buffer held.
    std::ofstream(path("d30.png"), std::ios::binary) << std::string(
        "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xde"
        "\0\0\0\x0aIDAT\x78\x01\x63\x00\x3e\0\0\0\0\0\xb2\x30\xcf\xd8"
        "\0\0\0\0IEND\xae\x42\x60\x82",
        67);

    // A TGA header claiming a million pixels, and none of them.
    unsigned char header[18] = {0, 0, 2};
    header[12] = header[14] = 0xe8, header[13] = header[15] = 0x03, header[16] = 24;
    std::ofstream(path("empty.tga"), std::ios::binary)
        << std::string(reinterpret_cast<char*>(header), sizeof header);

    Image image;
    for (const char* shipped : {"a.tga", "a.png"})
        EXPECT_TRUE(readImageFile(path(shipped).c_str(), 0, image)) << shipped;
    for (const char* other : {"a.bmp", "a.hdr", "a.pnm", "d30.png", "empty.tga"})
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
    // The game's own font, read well, then made the one face of a collection:
    // a 16-byte header before it moves on the offset in every table record.
    std::vector<GlyphImage> glyphs;
    std::vector<unsigned char> font;
    ASSERT_TRUE(readFileBytes(FROSTMOOR_ASSET_DIR "/fonts/arial.ttf", maxFontFileBytes, font));
    EXPECT_EQ(rasteriseGlyphs(font.data(), font.size(), glyphs), 0);
    const std::size_t tables = font.at(4) << 8 | font.at(5);
    for (std::size_t at = 12 + 8; at < 12 + 16 * tables; at += 16) {
        unsigned long offset = 0;
        for (std::size_t i = 0; i < 4; ++i)
            offset = offset << 8 | font.at(at + i);
        for (std::size_t i = 0; i < 4; ++i)
            font[at + i] = static_cast<unsigned char>((offset + 16) >> (24 - 8 * i));
    }
    const unsigned char header[16] = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 16};
    font.insert(font.begin(), header, header + 16);
    std::ofstream(path("a.ttc"), std::ios::binary) << std::string(font.begin(), font.end());

    for (const char* other : {"a.bdf", "a.ttc"}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(rasteriseGlyphs(path(other).c_str(), glyphs), -1) << other;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
        EXPECT_TRUE(glyphs.empty()) << other;
    }
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
    // Blank lines end it, so that no line fills Assimp's line buffer.
    Assimp::IOStream* first = files.Open("dir/m.obj", "rb");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(innerOpen, 0);
    std::string read(first->FileSize(), '\0');
    EXPECT_EQ(first->Read(read.data(), 1, read.size()), read.size());
    EXPECT_EQ(read, model + std::string(16, '\n'));

    // While it is open, its name is a material file: screened and refused.
    testing::internal::CaptureStdout();
    EXPECT_EQ(files.Open("dir/m.obj", "rb"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::ASSIMP:: dir/m.obj: a statement before the first newmtl\n");
    EXPECT_EQ(innerOpen, 0);
    files.Close(first);

    // Closed, the model is the model again, though refused as a material
    // file; a deleted stream counts as closed.
    delete files.Open("dir/m.obj", "rb");
    Assimp::IOStream* reopened = files.Open("dir/m.obj", "rb");
    EXPECT_NE(reopened, nullptr);
    files.Close(reopened);
    EXPECT_EQ(files.Open("dir/absent.mtl", "rb"), nullptr);
    EXPECT_EQ(files.Open("dir/m.obj", "wb"), nullptr);
    EXPECT_EQ(innerOpen, 0);
}
