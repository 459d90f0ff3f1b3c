#pragma once
// The ring of floating rocks: one model matrix per particle, drawn as
// instances of the rock model with the matrices in attributes 3 to 6.
#include <glm/glm.hpp>

class Model;
class Shader;
struct Frustum;
struct Sphere;

inline constexpr int particleRingSize = 5000;
inline constexpr glm::vec3 particleRingCentre(40.0f, 20.0f, 20.0f);
inline constexpr float particleRingRadius = 10.0f;

// Places the ring into matrices[0 .. particleRingSize): srand(seed), then five
// rand() draws per particle (x, y, z, scale, rotation).
void buildParticleRing(glm::mat4* matrices, unsigned seed);

// One animated frame: each particle steps one unit along a direction of its
// own frame that turns with its index and the body temperature.
void animateParticles(glm::mat4* matrices, float bodyTemperature);

// Creates the instance buffer (left bound to GL_ARRAY_BUFFER), uploads the
// matrices and points every rock mesh's attributes 3-6 at it.
unsigned int createParticleBuffer(const Model& rockModel, const glm::mat4* matrices);

// Copies the matrices of the rocks that may show in the view, in ring order,
// to visible[0 ..) and returns how many. A software renderer shades every
// instance it is sent; the rocks outside the window add nothing to the frame.
int gatherVisibleParticles(const glm::mat4* matrices, int count, const Sphere& rockBounds,
                           const Frustum& view, glm::mat4* visible);

// Uploads particleRingSize matrices, the buffer's size from the start: at an
// unchanged size drivers write into the buffer's storage instead of making
// new storage each frame.
void uploadParticles(unsigned int instanceBuffer, const glm::mat4* matrices);

// One instanced draw of count particles per rock mesh.
void drawParticles(const Shader& particlesShader, const Model& rockModel, int count);
