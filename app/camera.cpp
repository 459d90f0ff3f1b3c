#include "app/camera.hpp"

#include "app/settings.hpp"
#include "game/loop.hpp"

#include <GLFW/glfw3.h>

#include <cmath>

Camera camera;

bool firstMouse = true;
float lastX = 0.0f;
float lastY = 0.0f;

float toRadians(float degrees) {
    return degrees * 0.017453292f;
}

namespace {
bool hadFocus = false;
float focusFrame = -1.0f; // lastFrame of the frame in which focus came

glm::vec3 normalized(glm::vec3 v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return v / length;
}
} // namespace

Camera::Camera(glm::vec3 position, glm::vec3 worldUp, float yaw, float pitch)
    : position(position), front(1.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f), right(0.0f, 0.0f, 1.0f),
      worldUp(worldUp), yaw(yaw), pitch(pitch) {
    updateVectors();
}

void Camera::updateVectors() {
    const double yawRad = toRadians(yaw);
    const double pitchRad = toRadians(pitch);
    glm::vec3 direction(static_cast<float>(std::cos(yawRad) * std::cos(pitchRad)),
                        static_cast<float>(std::sin(pitchRad)),
                        static_cast<float>(std::sin(yawRad) * std::cos(pitchRad)));
    front = normalized(direction);
    right = normalized(glm::cross(front, worldUp));
    up = normalized(glm::cross(right, front));
}

glm::mat4 Camera::getViewMatrix() {
    updateVectors();
    const glm::vec3 f = normalized((position + front) - position);
    const glm::vec3 s = normalized(glm::cross(f, up));
    const glm::vec3 u = glm::cross(s, f);
    glm::mat4 view(1.0f);
    view[0][0] = s.x;
    view[1][0] = s.y;
    view[2][0] = s.z;
    view[0][1] = u.x;
    view[1][1] = u.y;
    view[2][1] = u.z;
    view[0][2] = -f.x;
    view[1][2] = -f.y;
    view[2][2] = -f.z;
    view[3][0] = -glm::dot(s, position);
    view[3][1] = -glm::dot(u, position);
    view[3][2] = glm::dot(f, position);
    return view;
}

void Camera::processMouseMovement(float xoffset, float yoffset) {
    xoffset *= mouseSensitivity;
    yoffset *= mouseSensitivity;
    yaw += xoffset;
    pitch += yoffset;
    if (pitch > 89.0f)
        pitch = 89.0f;
    else if (pitch < -89.0f)
        pitch = -89.0f;
    updateVectors();
}

void mouseCallback(GLFWwindow* w, double xpos, double ypos) {
    // Taking the keyboard captures the cursor, and in the same batch of
    // events the window library may report the pointer first where it was,
    // then where its capture put it: one long motion, which would throw the
    // view into the sky. Every event of the frame that gains focus only seeds.
    if (w != nullptr) {
        const bool focused = glfwGetWindowAttrib(w, GLFW_FOCUSED) == GLFW_TRUE;
        if (focused && !hadFocus)
            focusFrame = lastFrame;
        hadFocus = focused;
        if (focused && lastFrame == focusFrame)
            firstMouse = true;
    }
    if (firstMouse) {
        lastX = static_cast<float>(xpos);
        lastY = static_cast<float>(ypos);
        firstMouse = false;
    }
    const float xoffset = static_cast<float>(xpos - lastX);
    const float yoffset = static_cast<float>(lastY - ypos);
    lastX = static_cast<float>(xpos);
    lastY = static_cast<float>(ypos);
    if (freeCamera && !paused)
        camera.processMouseMovement(xoffset, invertLook ? -yoffset : yoffset);
}
