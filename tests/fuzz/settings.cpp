// The settings file: every key read into the globals, and the values that
// reach the window and the sound held to what those accept.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include <INIReader.h>

#include "app/settings.hpp"
#include "check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const INIReader reader(reinterpret_cast<const char*>(data), size);
    readSettings(reader);
    FUZZ_CHECK(soundVolume >= 0.0f && soundVolume <= 1.0f);
    // The light's ambient term and the monitor's gamma (which GLFW refuses,
    // harmlessly, at 0).
    FUZZ_CHECK(std::isfinite(brightness) && brightness >= 0.0f);
    return 0;
}
