#include "render/shader.hpp"

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include <glad/gl.h>
#include <glm/gtc/type_ptr.hpp>

Shader::Shader(const char* vertexPath, const char* fragmentPath) {
    std::string vertexCode;
    std::string fragmentCode;
    std::ifstream vertexFile;
    std::ifstream fragmentFile;
    vertexFile.exceptions(std::ifstream::failbit | std::ifstream::badbit);
    fragmentFile.exceptions(std::ifstream::failbit | std::ifstream::badbit);
    try {
        vertexFile.open(vertexPath);
        fragmentFile.open(fragmentPath);
        std::stringstream vertexStream;
        std::stringstream fragmentStream;
        vertexStream << vertexFile.rdbuf();
        fragmentStream << fragmentFile.rdbuf();
        vertexFile.close();
        fragmentFile.close();
        // Only after both files were read, so a failure leaves both empty.
        vertexCode = vertexStream.str();
        fragmentCode = fragmentStream.str();
    } catch (const std::ifstream::failure&) {
        std::cout << "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ" << std::endl;
    }

    const char* vertexSource = vertexCode.c_str();
    const char* fragmentSource = fragmentCode.c_str();

    unsigned int vertex = glCreateShader(GL_VERTEX_SHADER);
    glShaderSource(vertex, 1, &vertexSource, nullptr);
    glCompileShader(vertex);
    reportBuildStatus(vertex, "VERTEX");

    unsigned int fragment = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(fragment, 1, &fragmentSource, nullptr);
    glCompileShader(fragment);
    reportBuildStatus(fragment, "FRAGMENT");

    programId = glCreateProgram();
    glAttachShader(programId, vertex);
    glAttachShader(programId, fragment);
    glLinkProgram(programId);
    reportBuildStatus(programId, "PROGRAM");

    glDeleteShader(vertex);
    glDeleteShader(fragment);
}

void Shader::reportBuildStatus(unsigned int object, const std::string& type) {
    int success = 0;
    char infoLog[1024];
    const char* header = nullptr;
    if (type == "PROGRAM") {
        glGetProgramiv(object, GL_LINK_STATUS, &success);
        if (success)
            return;
        glGetProgramInfoLog(object, sizeof infoLog, nullptr, infoLog);
        header = "ERROR::PROGRAM_LINKING_ERROR of type: ";
    } else {
        glGetShaderiv(object, GL_COMPILE_STATUS, &success);
        if (success)
            return;
        glGetShaderInfoLog(object, sizeof infoLog, nullptr, infoLog);
        header = "ERROR::SHADER_COMPILATION_ERROR of type: ";
    }
    std::cout << header << type << "\n"
              << infoLog << "\n -- --------------------------------------------------- -- "
              << std::endl;
}

void Shader::bind() const {
    glUseProgram(programId);
}

int Shader::uniformLocation(const char* name) const {
    for (const auto& [known, location] : *locations)
        if (std::strcmp(known.c_str(), name) == 0)
            return location;
    int location = glGetUniformLocation(programId, name);
    locations->emplace_back(name, location);
    return location;
}

void Shader::setUniformInt(const char* name, int value) const {
    glUniform1i(uniformLocation(name), value);
}

void Shader::setUniformFloat(const char* name, float value) const {
    glUniform1f(uniformLocation(name), value);
}

void Shader::setUniformVec3(const char* name, const glm::vec3& value) const {
    glUniform3fv(uniformLocation(name), 1, glm::value_ptr(value));
}

void Shader::setUniformVec3(const char* name, float x, float y, float z) const {
    glUniform3f(uniformLocation(name), x, y, z);
}

void Shader::setUniformMat4(const char* name, const glm::mat4& value) const {
    glUniformMatrix4fv(uniformLocation(name), 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setUniformInt(const std::string& name, int value) const {
    setUniformInt(name.c_str(), value);
}

void Shader::setUniformFloat(const std::string& name, float value) const {
    setUniformFloat(name.c_str(), value);
}

void Shader::setUniformVec3(const std::string& name, const glm::vec3& value) const {
    setUniformVec3(name.c_str(), value);
}

void Shader::setUniformVec3(const std::string& name, float x, float y, float z) const {
    setUniformVec3(name.c_str(), x, y, z);
}

void Shader::setUniformMat4(const std::string& name, const glm::mat4& value) const {
    setUniformMat4(name.c_str(), value);
}
