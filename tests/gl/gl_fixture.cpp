#include "gl_fixture.hpp"

#include <atomic>
#include <fstream>
#include <random>

#include <GLFW/glfw3.h>

namespace {

// Compile and link failures are the shader's own report, not misuse of the
// API, so the shader compiler's messages are left to the info logs.
void GLAPIENTRY failOnGlError(GLenum source, GLenum type, GLuint, GLenum, GLsizei,
                              const GLchar* message, const void*) {
    if (type == GL_DEBUG_TYPE_ERROR && source != GL_DEBUG_SOURCE_SHADER_COMPILER)
        ADD_FAILURE() << "GL error: " << message;
}

} // namespace

void GLTest::SetUp() {
    static bool initialised = glfwInit() == GLFW_TRUE;
    ASSERT_TRUE(initialised) << "glfwInit failed (is there an X display?)";
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(64, 64, "gl test", nullptr, nullptr);
    ASSERT_NE(window, nullptr) << "no 4.3 core context";
    glfwMakeContextCurrent(window);
    ASSERT_NE(gladLoadGL(reinterpret_cast<GLADloadfunc>(glfwGetProcAddress)), 0);

    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(failOnGlError, nullptr);
}

void GLTest::TearDown() {
    if (window) {
        glFinish();
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(window);
        window = nullptr;
    }
}

void GLTest::applyGameState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

OffscreenTarget::OffscreenTarget(int width, int height) : width(width), height(height) {
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glBindTexture(GL_TEXTURE_2D, 0);
    glViewport(0, 0, width, height);
}

OffscreenTarget::~OffscreenTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    glDeleteRenderbuffers(1, &depth);
}

std::vector<unsigned char> OffscreenTarget::pixel(int x, int y) const {
    std::vector<unsigned char> rgba(4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

std::vector<unsigned char> OffscreenTarget::pixels() const {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width * height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root = std::filesystem::temp_directory_path() /
           ("frostmoor-gl-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(root);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::filesystem::path TempDir::write(const std::string& relative,
                                     const std::string& content) const {
    std::filesystem::path file = root / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& dir)
    : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}
