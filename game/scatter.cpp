#include "game/scatter.hpp"

#include <random>

ScatterPositions scatterPositions() {
    std::mt19937 scatterGenerator;
    scatterGenerator.seed(scatterSeed);
    std::uniform_real_distribution<float> scatterDistribution(-200.0f, 300.0f);

    ScatterPositions positions;
    for (glm::vec3& position : positions) {
        const float a = scatterDistribution(scatterGenerator);
        const float b = scatterDistribution(scatterGenerator);
        position = glm::vec3(b, 0.2f, a);
    }
    return positions;
}
