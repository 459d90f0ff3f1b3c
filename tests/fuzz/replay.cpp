// Runs a fuzz target over saved inputs, without libFuzzer, so that the
// normal test suite replays every input that ever broke a target. Takes
// files and folders (walked whole); everything runs in name order. A folder
// that is not there holds nothing yet, but some input must run.
//
// The replay holds an input to what libFuzzer held it to. It is handed over
// in a buffer of exactly its size, so that AddressSanitizer sees a read one
// byte past its end; and it has a budget of processor time
// (--budget-ms=N, 1000 by default; the game's own files take a fraction of
// it, even under the sanitizers): one that overruns it fails the replay, named,
// as libFuzzer's timeout would. Processor time, not the clock's, so that a
// busy machine does not fail it; ctest's TIMEOUT catches an input that
// blocks.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <sys/time.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

const char* current = "";

void overBudget(int) {
    static const char overran[] = "input over its time budget: ";
    [[maybe_unused]] ssize_t written = ::write(2, overran, sizeof overran - 1);
    written = ::write(2, current, std::strlen(current));
    written = ::write(2, "\n", 1);
    ::_exit(70);
}

} // namespace

int main(int argc, char** argv) {
    long budget = 1000;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--budget-ms=", 12) == 0) {
            budget = std::max(1L, std::strtol(argv[i] + 12, nullptr, 10));
        } else if (!fs::exists(argv[i])) {
            std::printf("%s: no inputs yet\n", argv[i]);
        } else if (fs::is_directory(argv[i])) {
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.emplace_back(argv[i]);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    std::signal(SIGPROF, overBudget);
    itimerval armed{}, disarmed{};
    armed.it_value.tv_sec = budget / 1000;
    armed.it_value.tv_usec = budget % 1000 * 1000;
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>()};
        const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        std::printf("%s (%zu bytes)\n", input.c_str(), bytes.size());
        std::fflush(stdout);
        current = input.c_str();
        const std::clock_t start = std::clock();
        ::setitimer(ITIMER_PROF, &armed, nullptr);
        LLVMFuzzerTestOneInput(exact.get(), bytes.size());
        ::setitimer(ITIMER_PROF, &disarmed, nullptr);
        std::printf("  %.0f ms\n",
                    1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
