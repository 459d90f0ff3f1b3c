#include "game/props.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include "render/lighting.hpp"

namespace {
void add(PropPlan& out, Prop prop, const glm::mat4& model) {
    out.draws[static_cast<std::size_t>(out.count++)] = PropDraw{prop, model};
}
} // namespace

void planProps(GameState& state, const glm::mat4 cubes[], int cubesFound, glm::vec3 player,
               float waddle, PropPlan& out) {
    out.count = 0;
    for (int i = 0; i < iceCubeCount && i < cubesFound; ++i) {
        state.iceCubePosition[i] = cubes[i][3];
        collectIceCube(state, i, player);
        if (!state.iceCubeCollected[i])
            add(out, Prop::IceCube, glm::scale(cubes[i], glm::vec3(1.5f)));
    }

    const ScatterPositions positions = scatterPositions();
    for (int i = 0; i < scatterCount; ++i) {
        const glm::mat4 model = glm::translate(glm::mat4(1.0f), positions[i]);
        touchObstacle(state, glm::vec3(model[3]), player);
        add(out, i < cactusCount ? Prop::Cactus : Prop::Larva, model);
    }

    add(out, Prop::Hat, hatMatrix(player, waddle, state.bodyTemperature));

    if (!state.gameWon) {
        reachHelicopter(state, helicopterPosition, player);
        glm::mat4 model = glm::translate(glm::mat4(1.0f), helicopterPosition);
        add(out, Prop::Helicopter, glm::scale(model, glm::vec3(5.0f)));
    }
}

namespace {
glm::mat4 hatOn(glm::mat4 body, float waddle, float scale) {
    body = glm::rotate(body, waddle, glm::vec3(1.0f, 0.0f, 0.0f));
    body = glm::scale(body, glm::vec3(scale));
    return glm::translate(body, glm::vec3(3.0f, 1.0f, 0.5f));
}

glm::mat4 ghostPlace(const PathSample& pose) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(pose.x, 0.0f, pose.z));
}
} // namespace

glm::mat4 hatMatrix(glm::vec3 playerPos, float waddle, float bodyTemperature) {
    return hatOn(glm::translate(glm::mat4(1.0f), playerPos), waddle, snowmanScale(bodyTemperature));
}

glm::mat4 ghostBodyMatrix(const PathSample& pose) {
    return glm::scale(ghostPlace(pose), glm::vec3(pose.scale));
}

glm::mat4 ghostHatMatrix(const PathSample& pose) {
    return hatOn(ghostPlace(pose), pose.waddle, pose.scale);
}
