#pragma once
// The one viewpoint: an eye with yaw and pitch, turned by the mouse.
#include <glm/glm.hpp>

struct GLFWwindow;

class Camera {
  public:
    glm::vec3 position;
    glm::vec3 front;
    glm::vec3 up;
    glm::vec3 right;
    glm::vec3 worldUp;
    float yaw;
    float pitch;
    float movementSpeed = 10.0f;
    float mouseSensitivity = 0.1f;
    float zoom = 45.0f;

    Camera(glm::vec3 position = glm::vec3(-14.0f, 4.0f, 0.0f),
           glm::vec3 worldUp = glm::vec3(0.0f, 1.0f, 0.0f), float yaw = 0.0f, float pitch = 0.0f);

    void updateVectors();
    glm::mat4 getViewMatrix();
    void processMouseMovement(float xoffset, float yoffset);
};

extern Camera camera;

// Cursor state of mouseCallback.
extern bool firstMouse;
extern float lastX;
extern float lastY;

// Degrees to radians with the game's own constant.
float toRadians(float degrees);

// The cursor-position callback; follows the cursor always, turns the camera
// only while mouse look is on. The events of the frame in which the window
// gains focus only seed, as the very first one does.
void mouseCallback(GLFWwindow* window, double xpos, double ypos);
