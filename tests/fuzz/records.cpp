// The records file, as read and as written back: once as it comes, and once
// with its checksum made right, so that the fuzzer reaches past the sum.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.hpp"
#include "game/records.hpp"

namespace {

void checkRead(const Records& records) {
    FUZZ_CHECK(records.roundsPlayed >= 0 && records.roundsWon >= 0);
    FUZZ_CHECK(records.roundsWon <= records.roundsPlayed);
    FUZZ_CHECK(!records.hasBest || (std::isfinite(records.bestTime) && records.bestTime > 0.0f));
    FUZZ_CHECK(records.bestPath.count >= 0 && records.bestPath.count <= maxPathSamples);
    for (int i = 0; i < records.bestPath.count; ++i) {
        const PathSample& s = records.bestPath.samples[static_cast<std::size_t>(i)];
        for (const float value : {s.x, s.z, s.heading, s.waddle, s.scale})
            FUZZ_CHECK(std::isfinite(value));
    }
    // What was read writes back to a file that reads the same.
    Records again;
    FUZZ_CHECK(parseRecords(formatRecords(records), again));
    FUZZ_CHECK(formatRecords(again) == formatRecords(records));
}

void tryText(std::string_view text) {
    Records records;
    if (parseRecords(text, records))
        checkRead(records);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tryText(text);
    std::string body(text.substr(0, text.rfind("checksum ")));
    tryText(withChecksum(std::move(body)));
    return 0;
}
