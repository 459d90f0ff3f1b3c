#include "render/skybox.hpp"

#include <iostream>

#include <glad/gl.h>

#include "render/image.hpp"

unsigned int skyVertexArray = 0;
unsigned int skyVertexBuffer = 0;
unsigned int skyCubeMap = 0;

const std::array<const char*, 6> skyboxFaces = {
    "../assets/objects/skybox/sahara_lf.tga", "../assets/objects/skybox/sahara_rt.tga",
    "../assets/objects/skybox/sahara_up.tga", "../assets/objects/skybox/sahara_dn.tga",
    "../assets/objects/skybox/sahara_ft.tga", "../assets/objects/skybox/sahara_bk.tga",
};

// clang-format off
const std::array<float, 108> skyboxVertices = {
    // z = -1
    -1.0f,  1.0f, -1.0f,  -1.0f, -1.0f, -1.0f,   1.0f, -1.0f, -1.0f,
     1.0f, -1.0f, -1.0f,   1.0f,  1.0f, -1.0f,  -1.0f,  1.0f, -1.0f,
    // x = -1
    -1.0f, -1.0f,  1.0f,  -1.0f, -1.0f, -1.0f,  -1.0f,  1.0f, -1.0f,
    -1.0f,  1.0f, -1.0f,  -1.0f,  1.0f,  1.0f,  -1.0f, -1.0f,  1.0f,
    // x = 1
     1.0f, -1.0f, -1.0f,   1.0f, -1.0f,  1.0f,   1.0f,  1.0f,  1.0f,
     1.0f,  1.0f,  1.0f,   1.0f,  1.0f, -1.0f,   1.0f, -1.0f, -1.0f,
    // z = 1
    -1.0f, -1.0f,  1.0f,  -1.0f,  1.0f,  1.0f,   1.0f,  1.0f,  1.0f,
     1.0f,  1.0f,  1.0f,   1.0f, -1.0f,  1.0f,  -1.0f, -1.0f,  1.0f,
    // y = 1
    -1.0f,  1.0f, -1.0f,   1.0f,  1.0f, -1.0f,   1.0f,  1.0f,  1.0f,
     1.0f,  1.0f,  1.0f,  -1.0f,  1.0f,  1.0f,  -1.0f,  1.0f, -1.0f,
    // y = -1
    -1.0f, -1.0f, -1.0f,  -1.0f, -1.0f,  1.0f,   1.0f, -1.0f, -1.0f,
     1.0f, -1.0f, -1.0f,  -1.0f, -1.0f,  1.0f,   1.0f, -1.0f,  1.0f,
};
// clang-format on

glm::mat4 skyboxView(const glm::mat4& view) {
    return glm::mat4(glm::mat3(view));
}

Skybox::Skybox() : shader("Skybox.vert", "Skybox.frag") {
    glGenVertexArrays(1, &skyVertexArray);
    glGenBuffers(1, &skyVertexBuffer);
    glBindVertexArray(skyVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, skyVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof skyboxVertices, skyboxVertices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);

    glGenTextures(1, &skyCubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, skyCubeMap);
    int side = 0;
    for (unsigned int i = 0; i < skyboxFaces.size(); ++i) {
        Image face;
        // Every face is uploaded as RGB, so the decoder is asked for exactly
        // three channels whatever the file holds. A cube map takes only
        // square faces of one size; any other is reported like a bad file.
        if (readImageFile(skyboxFaces[i], 3, face) && fitsSkyFace(face, side)) {
            side = face.width;
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, 0, GL_RGB, face.width, face.height, 0,
                         GL_RGB, GL_UNSIGNED_BYTE, face.pixels.data());
        } else {
            std::cout << "Skybox texture failed to load: " << skyboxFaces[i] << std::endl;
        }
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);

    shader.bind();
    shader.setUniformInt("skybox", 0);
}

void Skybox::draw(glm::mat4 view, glm::mat4 projection) const {
    glDepthFunc(GL_LEQUAL);
    shader.bind();
    shader.setUniformMat4("view", skyboxView(view));
    shader.setUniformMat4("projection", projection);
    glBindVertexArray(skyVertexArray);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, skyCubeMap);
    glDrawArrays(GL_TRIANGLES, 0, 36);
    glBindVertexArray(0);
    glDepthFunc(GL_LESS);
}
