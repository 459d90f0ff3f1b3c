#include "render/lighting.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include "app/settings.hpp"
#include "game/player.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"

float snowmanScale(float t) {
    return static_cast<float>(1.01 - static_cast<double>(t / 100.0f));
}

float litAmbient(float brightness) {
    return 0.6f * brightness;
}

namespace {

struct LightColours {
    float diffuse;
    float specular;
};

void drawLit(const Model& model, glm::vec3 viewPos, Shader& shader, const glm::mat4& view,
             const glm::mat4& projection, const glm::mat4& modelMatrix, LightColours light) {
    shader.bind();
    const float ambient = litAmbient(brightness);
    shader.setUniformVec3("light.direction", 0.0f, -1.0f, 0.0f);
    shader.setUniformVec3("viewPos", viewPos);
    shader.setUniformVec3("light.ambient", ambient, ambient, ambient);
    shader.setUniformVec3("light.diffuse", light.diffuse, light.diffuse, light.diffuse);
    shader.setUniformVec3("light.specular", light.specular, light.specular, light.specular);
    shader.setUniformFloat("material.shininess", 32.0f);
    shader.setUniformMat4("view", view);
    shader.setUniformMat4("projection", projection);
    shader.setUniformMat4("model", modelMatrix);
    model.draw(shader);
}

} // namespace

void drawGround(const Model& model, glm::vec3 viewPos, Shader& shader, glm::mat4 view,
                glm::mat4 projection) {
    glm::mat4 placement = glm::translate(glm::mat4(1.0f), glm::vec3(200.0f, 0.0f, 0.0f));
    placement = glm::scale(placement, glm::vec3(10.0f));
    drawLit(model, viewPos, shader, view, projection, placement, {0.3f, 0.2f});
}

void drawSnowman(const Model& model, glm::vec3 viewPos, Shader& shader, glm::mat4 view,
                 glm::mat4 projection, float bodyTemperature) {
    glm::mat4 placement = glm::translate(glm::mat4(1.0f), playerPosition);
    placement = glm::scale(placement, glm::vec3(snowmanScale(bodyTemperature)));
    drawLit(model, viewPos, shader, view, projection, placement, {0.4f, 0.4f});
}
