// Renders the generated assets off screen into PNG files, with the game's
// Model, Shader, Skybox and lighting routines, so they can be looked at:
//   preview model <file.obj> <out.png> [yaw pitch]   one model, framed
//   preview scene <out.png> [x y z yaw pitch]          the level as the game sets it
// Run from the run directory (shaders and "../assets" resolve from there).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <glad/gl.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>
#include <stb/stb_image_write.h>

#include "framing.hpp"
#include "game/physics.hpp"
#include "game/props.hpp"
#include "game/scene.hpp"
#include "render/lighting.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"
#include "render/skybox.hpp"

namespace {

int width = 1024, height = 768;
constexpr float fov = 45.0f;

glm::mat4 projection() {
    return glm::perspective(glm::radians(fov), float(width) / float(height), 0.1f, 10000.0f);
}

void setLight(Shader& shader, glm::vec3 eye, const glm::mat4& view) {
    shader.bind();
    shader.setUniformVec3("light.direction", 0.0f, -1.0f, 0.0f);
    shader.setUniformVec3("viewPos", eye);
    shader.setUniformVec3("light.ambient", 0.6f, 0.6f, 0.6f);
    shader.setUniformVec3("light.diffuse", 0.4f, 0.4f, 0.4f);
    shader.setUniformVec3("light.specular", 0.4f, 0.4f, 0.4f);
    shader.setUniformFloat("material.shininess", 32.0f);
    shader.setUniformMat4("view", view);
    shader.setUniformMat4("projection", projection());
}

void drawAt(const Model& model, Shader& shader, const glm::mat4& m) {
    shader.setUniformMat4("model", m);
    model.draw(shader);
}

std::vector<unsigned char> readFlipped() {
    const size_t row = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> pixels(row * height);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<unsigned char> flipped(pixels.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(&pixels[static_cast<size_t>(height - 1 - y) * row], row,
                    &flipped[static_cast<size_t>(y) * row]);
    return flipped;
}

bool savePng(const char* path) {
    const std::vector<unsigned char> pixels = readFlipped();
    return stbi_write_png(path, width, height, 3, pixels.data(), width * 3) != 0;
}

void renderModel(const std::string& path, float yaw, float pitch) {
    Skybox sky;
    Shader lit("Lighting.vert", "Lighting.frag");
    Model model(path);
    Bounds bounds;
    for (const Mesh& mesh : model.meshes)
        for (const Vertex& v : mesh.vertices)
            bounds.add(v.position);
    const Framing f = frameBounds(bounds, yaw, pitch, fov);
    const glm::mat4 view = glm::lookAt(f.eye, f.target, {0, 1, 0});
    sky.draw(view, projection());
    setLight(lit, f.eye, view);
    drawAt(model, lit, glm::mat4(1.0f));
}

void renderScene(glm::vec3 eye, float yaw, float pitch) {
    Skybox sky;
    Shader lit("Lighting.vert", "Lighting.frag");
    Shader lightmaps("lightmaps.vert", "lightmaps.frag");
    const std::string root = "../assets/objects/";
    Model ground(root + "map/boden1.obj"), snowman(root + "snowman/snowi.obj"),
        ice(root + "icecube/icecube.obj"),
        cactus(root + "cactus-low-poly/source/cactus._testobj.obj"),
        boulder(root + "rock/rock_blendswap.obj"), heli(root + "helicopter/HelicopterTest.obj"),
        hat(root + "snowman/hat.obj"), larva(root + "74307_Alien_Larvae/Larve1.obj"),
        rock(root + "rock/rock.obj");
    const glm::vec3 front{std::cos(glm::radians(pitch)) * std::cos(glm::radians(yaw)),
                          std::sin(glm::radians(pitch)),
                          std::cos(glm::radians(pitch)) * std::sin(glm::radians(yaw))};
    const glm::mat4 view = glm::lookAt(eye, eye + front, {0, 1, 0});
    const glm::mat4 proj = projection();
    sky.draw(view, proj);
    drawGround(ground, eye, lit, view, proj);
    drawSnowman(snowman, eye, lit, view, proj, 0.0f);
    // The props as the game plans them at the start, the ice cubes landed
    // under the points they drop from.
    glm::mat4 cubes[iceCubeCount];
    for (int i = 0; i < iceCubeCount; ++i) {
        const glm::vec3 drop = iceCubeStartPositions[i];
        cubes[i] = glm::translate(glm::mat4(1.0f), {drop.x, 0.15f, drop.z});
    }
    GameState state;
    static PropPlan plan;
    planProps(state, cubes, iceCubeCount, glm::vec3{0.0f}, 0.0f, plan);
    for (int i = 0; i < plan.count; ++i) {
        const PropDraw& draw = plan.draws[static_cast<std::size_t>(i)];
        const Model* model = &heli;
        switch (draw.prop) {
        case Prop::IceCube:
            model = &ice;
            break;
        case Prop::Cactus:
            model = &cactus;
            break;
        case Prop::Larva:
            model = &larva;
            break;
        case Prop::Hat:
            model = &hat;
            break;
        case Prop::Helicopter:
            break;
        }
        drawAt(*model, lit, draw.model);
    }
    // Extra props near the start, so they can be seen up close.
    drawAt(ice, lit,
           glm::scale(glm::translate(glm::mat4(1.0f), {6.0f, 0.15f, 2.0f}), glm::vec3{1.5f}));
    drawAt(cactus, lit, glm::translate(glm::mat4(1.0f), {12.0f, 0.2f, 6.0f}));
    drawAt(larva, lit, glm::translate(glm::mat4(1.0f), {8.0f, 0.2f, -3.0f}));
    drawAt(heli, lit,
           glm::scale(glm::translate(glm::mat4(1.0f), {30.0f, 0.0f, 12.0f}), glm::vec3{5.0f}));
    // A few floating rocks of the ring, drawn singly with the lit program.
    for (int i = 0; i < 40; ++i) {
        const float angle = float(i) * 0.157f;
        const glm::vec3 p{std::sin(angle) * 10.0f + 40.0f, 8.0f + float(i % 7) * 3.0f,
                          std::cos(angle) * 10.0f + 20.0f};
        drawAt(rock, lit,
               glm::rotate(glm::scale(glm::translate(glm::mat4(1.0f), p), glm::vec3{0.06f}),
                           float(i), {0.4f, 0.6f, 0.8f}));
    }
    bindBoulderLighting(lightmaps, view, proj, eye);
    boulder.draw(lightmaps);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: preview model <file.obj> <out.png> [yaw pitch] | preview "
                             "scene <out.png> [x y z yaw pitch]\n");
        return 2;
    }
    const std::string mode = argv[1];
    if (!glfwInit())
        return 1;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, "preview", nullptr, nullptr);
    if (!window)
        return 1;
    glfwMakeContextCurrent(window);
    if (gladLoadGL(reinterpret_cast<GLADloadfunc>(glfwGetProcAddress)) == 0)
        return 1;
    // Render into our own framebuffer: a hidden window's may not be readable.
    GLuint fbo, colour, depth;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glViewport(0, 0, width, height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glClearColor(0.3f, 0.0f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const char* out = nullptr;
    if (mode == "model" && argc >= 4) {
        out = argv[3];
        renderModel(argv[2], argc >= 6 ? std::strtof(argv[4], nullptr) : 30.0f,
                    argc >= 6 ? std::strtof(argv[5], nullptr) : 20.0f);
    } else if (mode == "scene") {
        out = argv[2];
        const glm::vec3 eye =
            argc >= 6 ? glm::vec3{std::strtof(argv[3], nullptr), std::strtof(argv[4], nullptr),
                                  std::strtof(argv[5], nullptr)}
                      : glm::vec3{-14.0f, 4.0f, 0.0f};
        renderScene(eye, argc >= 8 ? std::strtof(argv[6], nullptr) : 0.0f,
                    argc >= 8 ? std::strtof(argv[7], nullptr) : 0.0f);
    } else {
        return 2;
    }
    glFinish();
    const bool ok = savePng(out);
    glfwDestroyWindow(window);
    glfwTerminate();
    return ok ? 0 : 1;
}
