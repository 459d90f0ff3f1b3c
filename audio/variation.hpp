#pragma once
// Small random variations of a repeated sound, so that no two footsteps
// sound quite alike. The generator has a fixed seed: the same walk always
// sounds the same, and recordings of it can be compared.
#include <cstdint>

class Variation {
  public:
    explicit Variation(std::uint32_t seed) : state(seed != 0 ? seed : 1) {}

    // A factor within 1 - spread and 1 + spread.
    float next(float spread) {
        // xorshift32: enough for the ear, and the same everywhere.
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const float unit = static_cast<float>(state >> 8) / static_cast<float>(1u << 24); // [0, 1)
        return 1.0f + spread * (2.0f * unit - 1.0f);
    }

  private:
    std::uint32_t state;
};
