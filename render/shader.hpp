#pragma once
// One linked GLSL program built from a vertex and a fragment source file,
// with uniform setters that act on whichever program is current.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <glm/glm.hpp>

class Shader {
  public:
    unsigned int programId = 0;

    // Reads, compiles and links at once; failures are reported on the
    // console and still leave a program name behind.
    Shader(const char* vertexPath, const char* fragmentPath);

    void bind() const;

    // Locations come from this program, values go to the current one: the
    // caller binds first.
    void setUniformInt(const std::string& name, int value) const;
    void setUniformFloat(const std::string& name, float value) const;
    void setUniformVec3(const std::string& name, const glm::vec3& value) const;
    void setUniformVec3(const std::string& name, float x, float y, float z) const;
    void setUniformMat4(const std::string& name, const glm::mat4& value) const;

    // Literal names skip building a std::string on the per-frame paths.
    void setUniformInt(const char* name, int value) const;
    void setUniformFloat(const char* name, float value) const;
    void setUniformVec3(const char* name, const glm::vec3& value) const;
    void setUniformVec3(const char* name, float x, float y, float z) const;
    void setUniformMat4(const char* name, const glm::mat4& value) const;

    // The location of a uniform in this program, -1 when it has none.
    int uniformLocation(const char* name) const;

  private:
    // A linked program never changes its locations, so they are remembered
    // per program; copies of a Shader share the list.
    using LocationCache = std::vector<std::pair<std::string, int>>;
    std::shared_ptr<LocationCache> locations = std::make_shared<LocationCache>();

    static void reportBuildStatus(unsigned int object, const std::string& type);
};
