#pragma once
// The 3-D scene of one frame, drawn in its fixed order.
#include "game/props.hpp"
#include "game/setup.hpp"

#include <glm/glm.hpp>

// The particle program takes this frame's camera as soon as it is known.
void setParticleCamera(Scene& scene, const glm::mat4& view, const glm::mat4& projection);

// Sky box, ground, snowman, ice cubes, cacti, larvae, hat, helicopter,
// particle ring and the light-mapped boulder. The collection, touch and
// reach rules run where the positions they test are computed. The ring turns
// when `ringMoves`; the hooks hear the scene's parts finish.
void drawScene(Scene& scene, const glm::mat4& view, const glm::mat4& projection, glm::vec3 viewPos,
               bool ringMoves, const LoopHooks& hooks);

// Makes the light-map program current with the boulder's point light,
// material, camera and model matrix T(30, 1.35, -25) S(4.5).
void bindBoulderLighting(Shader& shader, const glm::mat4& view, const glm::mat4& projection,
                         glm::vec3 viewPos);

// The boulder pass: the light-map cube while the light maps are on, then the
// boulder itself whether they are on or not.
void drawBoulder(Scene& scene, const glm::mat4& view, const glm::mat4& projection,
                 glm::vec3 viewPos);
