#pragma once
// The ground and the snowman under the one directional light, drawn with
// whichever lit program (plain or cel-shaded) the caller hands in.
#include <glm/glm.hpp>

class Model;
class Shader;

// The snowman's (and his hat's) size at body temperature t: 1.01 - t/100,
// the quotient in float, the difference in double, rounded to float.
float snowmanScale(float t);

// The ambient term of the lit programs for a brightness setting.
float litAmbient(float brightness);

void drawGround(const Model& model, glm::vec3 viewPos, Shader& shader, glm::mat4 view,
                glm::mat4 projection);

void drawSnowman(const Model& model, glm::vec3 viewPos, Shader& shader, glm::mat4 view,
                 glm::mat4 projection, float bodyTemperature);
