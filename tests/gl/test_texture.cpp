// 2-D texture loading: formats by channel count, row order, failures.
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "gl_fixture.hpp"
#include "render/shader.hpp"
#include "render/texture.hpp"

namespace {

class TextureTest : public GLTest {
  protected:
    TempDir dir;

    void SetUp() override {
        GLTest::SetUp();
        applyGameState();
    }

    // A w x h image whose sample at (x, y, channel) is 40 * y + 7 * x + channel (mod 256):
    // every row and column differ, so skew and flips show.
    static std::vector<unsigned char> pattern(int w, int h, int channels) {
        std::vector<unsigned char> data(static_cast<std::size_t>(w * h * channels));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < channels; ++c)
                    data[static_cast<std::size_t>((y * w + x) * channels + c)] =
                        static_cast<unsigned char>(40 * y + 7 * x + c);
        return data;
    }

    std::string writePng(const std::string& name, int w, int h, int channels) const {
        std::string file = (dir.path() / name).string();
        auto data = pattern(w, h, channels);
        EXPECT_NE(stbi_write_png(file.c_str(), w, h, channels, data.data(), w * channels), 0);
        return file;
    }

    static GLint internalFormatOf(unsigned int texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        return format;
    }

    // Level 0 read back in its own format, rows in GL order (row 0 is v = 0).
    static std::vector<unsigned char> readBack(unsigned int texture, GLenum format, int w, int h,
                                               int channels) {
        std::vector<unsigned char> data(static_cast<std::size_t>(w * h * channels));
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, data.data());
        return data;
    }
};

} // namespace

TEST_F(TextureTest, ChannelCountPicksTheFormat) {
    EXPECT_EQ(textureFormatForChannels(1), GLenum(GL_RED));
    EXPECT_EQ(textureFormatForChannels(2), GLenum(GL_RG));
    EXPECT_EQ(textureFormatForChannels(3), GLenum(GL_RGB));
    EXPECT_EQ(textureFormatForChannels(4), GLenum(GL_RGBA));

    writePng("grey.png", 4, 4, 1);
    writePng("greyalpha.png", 4, 4, 2);
    writePng("rgb.png", 4, 4, 3);
    writePng("rgba.png", 4, 4, 4);
    const std::string directory = dir.path().string();
    EXPECT_EQ(internalFormatOf(loadTextureFromDirectory("grey.png", directory)), GL_RED);
    EXPECT_EQ(internalFormatOf(loadTextureFromDirectory("greyalpha.png", directory)), GL_RG);
    EXPECT_EQ(internalFormatOf(loadTextureFromDirectory("rgb.png", directory)), GL_RGB);
    EXPECT_EQ(internalFormatOf(loadTextureFromDirectory("rgba.png", directory)), GL_RGBA);
    std::string greyAlpha = (dir.path() / "greyalpha.png").string();
    EXPECT_EQ(internalFormatOf(loadTextureFile(greyAlpha.c_str())), GL_RG);
}

TEST_F(TextureTest, GreyAndAlphaKeepBothChannels) {
    std::string file = writePng("greyalpha.png", 3, 2, 2);
    unsigned int texture = loadTextureFile(file.c_str());
    EXPECT_EQ(readBack(texture, GL_RG, 3, 2, 2), pattern(3, 2, 2));
}

TEST_F(TextureTest, GreyImagesSampleAsGreyWithTheirAlpha) {
    dir.write("fetch.vert",
              "#version 430 core\n"
              "void main() { vec2 p = vec2(gl_VertexID & 1, gl_VertexID >> 1) * 4.0 - 1.0;"
              " gl_Position = vec4(p, 0.0, 1.0); }\n");
    dir.write("fetch.frag", "#version 430 core\nout vec4 FragColor;\nuniform sampler2D image;\n"
                            "void main() { FragColor = texelFetch(image, ivec2(0), 0); }\n");
    Shader shader((dir.path() / "fetch.vert").string().c_str(),
                  (dir.path() / "fetch.frag").string().c_str());
    shader.bind();
    unsigned int vertexArray = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    OffscreenTarget target(1, 1);

    const unsigned char grey = 200, alpha = 100;
    const unsigned char samples[2] = {grey, alpha};
    const std::vector<unsigned char> expected[2] = {{grey, grey, grey, 255},
                                                    {grey, grey, grey, alpha}};
    for (int channels : {1, 2}) {
        const std::string file = (dir.path() / "grey.png").string();
        ASSERT_NE(stbi_write_png(file.c_str(), 1, 1, channels, samples, channels), 0);
        glBindTexture(GL_TEXTURE_2D, loadTextureFile(file.c_str()));
        glDrawArrays(GL_TRIANGLES, 0, 3);
        EXPECT_EQ(target.pixel(0, 0), expected[channels - 1]) << channels << " channels";
    }
    glDeleteVertexArrays(1, &vertexArray);
}

TEST_F(TextureTest, OddWidthRgbUploadsUnskewedWithTheFirstRowAtVZero) {
    std::string file = writePng("odd.png", 5, 3, 3);
    unsigned int texture = loadTextureFile(file.c_str());
    // Row 0 of the texture (v = 0) must be the file's first row, and every
    // row must line up although 5 * 3 bytes is no multiple of 4.
    EXPECT_EQ(readBack(texture, GL_RGB, 5, 3, 3), pattern(5, 3, 3));
}

TEST_F(TextureTest, SuccessLeavesTheTextureBoundWithMipmapsAndParameters) {
    writePng("rgba.png", 8, 8, 4);
    unsigned int texture = loadTextureFromDirectory("rgba.png", dir.path().string());
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    GLint smallest = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &smallest);
    EXPECT_EQ(smallest, 1) << "mipmaps down to 1 x 1";
}

TEST_F(TextureTest, DecodesJpegAndTga) {
    auto data = pattern(4, 4, 3);
    std::string jpg = (dir.path() / "a.jpg").string();
    std::string tga = (dir.path() / "a.tga").string();
    ASSERT_NE(stbi_write_jpg(jpg.c_str(), 4, 4, 3, data.data(), 90), 0);
    ASSERT_NE(stbi_write_tga(tga.c_str(), 4, 4, 3, data.data()), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(internalFormatOf(loadTextureFile(jpg.c_str())), GL_RGB);
    EXPECT_EQ(internalFormatOf(loadTextureFile(tga.c_str())), GL_RGB);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(TextureTest, UnreadableFilePrintsTheBareNameAndStillReturnsAName) {
    glBindTexture(GL_TEXTURE_2D, 0);
    testing::internal::CaptureStdout();
    unsigned int fromDirectory = loadTextureFromDirectory("nothere.png", dir.path().string());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Texture failed to load at path: nothere.png\n");
    EXPECT_NE(fromDirectory, 0u);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "a failed load leaves the binding alone";

    std::string garbage = dir.write("garbage.png", "not an image").string();
    testing::internal::CaptureStdout();
    unsigned int fromFile = loadTextureFile(garbage.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Texture failed to load at path: " + garbage + "\n");
    EXPECT_NE(fromFile, 0u);
    EXPECT_NE(fromFile, fromDirectory);
}
