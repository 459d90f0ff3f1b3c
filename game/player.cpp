#include "game/player.hpp"

#include "app/camera.hpp"
#include "game/loop.hpp"

glm::vec3 playerPosition(0.0f, 0.0f, 0.0f);
const glm::vec3 playerForward(1.0f, 0.0f, 0.0f);
const glm::vec3 playerRight(0.0f, 0.0f, 1.0f);
bool playerMoved = false;
float waddleAngle = 0.0f;
bool waddleRising = true;

void resetPlayer() {
    playerPosition = glm::vec3(0.0f);
    playerMoved = false;
    waddleAngle = 0.0f;
    waddleRising = true;
}

namespace {

// The hat tips a little past a tenth of a radian each way, at one radian a
// second.
void swingHat() {
    if (waddleRising) {
        waddleAngle += deltaTime;
        if (waddleAngle > 0.1f)
            waddleRising = false;
    } else {
        waddleAngle -= deltaTime;
        if (waddleAngle < -0.1f)
            waddleRising = true;
    }
}

} // namespace

void moveSnowman(bool w, bool s, bool a, bool d) {
    const float cameraStep = camera.movementSpeed * deltaTime;
    const float playerStep = deltaTime * playerSpeed;
    if (w) {
        camera.position += camera.front * cameraStep;
        playerPosition += playerForward * playerStep;
        playerMoved = true;
    }
    if (s) {
        camera.position -= camera.front * cameraStep;
        playerPosition -= playerForward * playerStep;
        playerMoved = true;
    }
    if (a) {
        camera.position -= camera.right * cameraStep;
        playerPosition -= playerRight * playerStep;
        playerMoved = true;
    }
    if (d) {
        camera.position += camera.right * cameraStep;
        playerPosition += playerRight * playerStep;
    }
    if (d || playerMoved)
        swingHat();
    playerMoved = false;
}

void walkSnowman(float forward, float right) {
    if (forward == 0.0f && right == 0.0f)
        return;
    camera.position +=
        (camera.front * forward + camera.right * right) * (camera.movementSpeed * deltaTime);
    playerPosition += (playerForward * forward + playerRight * right) * (playerSpeed * deltaTime);
    swingHat();
}
