#pragma once
// A hidden window with the game's 4.3 core debug context for each test; any
// GL error reported by the driver fails the running test.
#include <filesystem>
#include <string>
#include <vector>

#include <glad/gl.h>
#include <gtest/gtest.h>

struct GLFWwindow;

class GLTest : public ::testing::Test {
  protected:
    GLFWwindow* window = nullptr;

    void SetUp() override;
    void TearDown() override;

    // The lasting state start-up sets: depth test, culling, alpha blending
    // and tightly packed pixel rows.
    static void applyGameState();
};

// An off-screen colour and depth target of the given size, bound while alive.
class OffscreenTarget {
  public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // RGBA of one pixel, origin bottom left.
    std::vector<unsigned char> pixel(int x, int y) const;
    // All pixels as RGBA rows from the bottom.
    std::vector<unsigned char> pixels() const;

    int width;
    int height;

  private:
    unsigned int framebuffer = 0;
    unsigned int colour = 0;
    unsigned int depth = 0;
};

// A fresh empty directory under the system temp dir, removed on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return root; }
    // Writes a text file (creating parent directories) and returns its path.
    std::filesystem::path write(const std::string& relative, const std::string& content) const;

  private:
    std::filesystem::path root;
};

// Changes the working directory for the lifetime of the object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& dir);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path previous;
};
