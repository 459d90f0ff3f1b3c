// The asset generator writes the same bytes on every run, and says so when
// it cannot write at all.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> readTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

int runGenerator(const fs::path& out) {
    const std::string command =
        std::string("\"") + FROSTMOOR_ASSETGEN + "\" \"" + out.string() + "\" >/dev/null 2>&1";
    return std::system(command.c_str());
}

} // namespace

TEST(AssetGenerator, TwoRunsWriteIdenticalTrees) {
    const fs::path base =
        fs::temp_directory_path() / ("frostmoor-assetgen-" + std::to_string(::getpid()));
    fs::remove_all(base);
    ASSERT_EQ(runGenerator(base / "a"), 0);
    ASSERT_EQ(runGenerator(base / "b"), 0);
    const auto a = readTree(base / "a"), b = readTree(base / "b");
    EXPECT_GE(a.size(), 9u * 2 + 8); // nine models with their materials, two light maps, six faces
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        const auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
    fs::remove_all(base);
}

TEST(AssetGenerator, FailsWhenTheTreeCannotBeWritten) {
    const fs::path blocker =
        fs::temp_directory_path() / ("frostmoor-assetgen-blocker-" + std::to_string(::getpid()));
    std::ofstream(blocker) << "a file where the output folder should go";
    EXPECT_NE(runGenerator(blocker), 0);
    fs::remove(blocker);
}
