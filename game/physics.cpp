#include "game/physics.hpp"

#include <btBulletDynamicsCommon.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>

#include "app/startup.hpp"
#include "game/loop.hpp"

namespace {
// Owned here so shutdown can free them whether or not the world still lists
// them; each frame still reads the bodies from the world itself.
btCollisionShape* groundShape = nullptr;
btRigidBody* groundPlane = nullptr;
btCollisionShape* iceCubeShape = nullptr;
btRigidBody* iceCubeBodies[iceCubeCount] = {};

// Bullet multiplies the two objects' values; the game's material was tuned
// for the average, which with one material keeps 0.5 on every contact.
btScalar averageFriction(const btCollisionObject* a, const btCollisionObject* b) {
    return (a->getFriction() + b->getFriction()) * btScalar(0.5);
}

btScalar averageRestitution(const btCollisionObject* a, const btCollisionObject* b) {
    return (a->getRestitution() + b->getRestitution()) * btScalar(0.5);
}

void applyMaterial(btRigidBody* body) {
    body->setFriction(iceCubeFriction);
    body->setRestitution(iceCubeRestitution);
}

// The engine the game was tuned with lets a tumbling body slow down a little
// (angular damping 0.05) and never damps its fall.
constexpr btScalar iceCubeAngularDamping = 0.05f;

// Bullet's default sleep speeds (0.8 units/s, 1 rad/s) freeze a cube that is
// still slowly toppling off an edge; these put it to sleep only once it lies.
constexpr btScalar iceCubeSleepSpeed = 0.1f;

// A flat landing gives four contacts at once; the default ten solver passes
// leave them unequal, which sets the cube spinning off its landing place.
constexpr int solverIterations = 30;

// Below this closing speed a contact does not bounce: the game's engine ends
// a cube's bouncing after about three hops, where Bullet's default (0.2)
// lets it patter on down to almost nothing.
constexpr btScalar bounceThresholdSpeed = 2.0f;

// A contact that takes less speed than this out of a cube in one step is
// the cube resting (its weight alone takes 0.16 a step) or sliding, not
// striking. A soft landing may be spread over two steps of half its speed.
constexpr btScalar impactSpeed = 0.4f;
// One blow can take a few steps to resolve; a cube strikes again only
// after this many quiet steps.
constexpr int impactQuietSteps = 9;

CubeImpact lastImpacts[maxCubeImpacts];
int lastImpactCount = 0;
int stepsSinceImpact[iceCubeCount] = {};

int cubeIndex(const btCollisionObject* object) {
    for (int i = 0; i < iceCubeCount; ++i)
        if (iceCubeBodies[i] == object)
            return i;
    return -1;
}

// Each contact manifold's impulse in this step, summed over its points,
// is the speed it took out of a cube of mass 1.
void findImpacts() {
    lastImpactCount = 0;
    for (int& quiet : stepsSinceImpact)
        ++quiet;
    for (int m = 0; m < gDispatcher->getNumManifolds(); ++m) {
        const btPersistentManifold* manifold = gDispatcher->getManifoldByIndexInternal(m);
        btScalar impulse = 0;
        for (int k = 0; k < manifold->getNumContacts(); ++k)
            impulse += manifold->getContactPoint(k).m_appliedImpulse;
        if (impulse < impactSpeed || lastImpactCount == maxCubeImpacts)
            continue;
        // A cube striking another is one blow, heard once, and it quiets both.
        int cubes[2];
        int cubeCount = 0;
        bool fresh = false;
        for (const btCollisionObject* object : {manifold->getBody0(), manifold->getBody1()}) {
            const int i = cubeIndex(object);
            if (i < 0)
                continue;
            cubes[cubeCount++] = i;
            fresh = fresh || stepsSinceImpact[i] > impactQuietSteps;
        }
        if (!fresh)
            continue;
        for (int k = 0; k < cubeCount; ++k)
            stepsSinceImpact[cubes[k]] = 0;
        const btVector3& p = iceCubeBodies[cubes[0]]->getWorldTransform().getOrigin();
        lastImpacts[lastImpactCount++] = CubeImpact{glm::vec3(p.x(), p.y(), p.z()), impulse};
    }
}

Pose poseOf(const btTransform& transform) {
    const btQuaternion r = transform.getRotation();
    const btVector3& o = transform.getOrigin();
    Pose pose;
    pose.q = glm::quat(r.w(), r.x(), r.y(), r.z());
    pose.p = glm::vec3(o.x(), o.y(), o.z());
    return pose;
}
} // namespace

Pose shapeWorldPose(const Pose& actorPose, const Pose& shapeLocalPose) {
    Pose world;
    world.q = actorPose.q * shapeLocalPose.q;
    world.p = actorPose.q * shapeLocalPose.p + actorPose.p;
    return world;
}

glm::mat4 poseToMatrix(const Pose& pose) {
    const float x = pose.q.x, y = pose.q.y, z = pose.q.z, w = pose.q.w;
    glm::mat4 m(1.0f);
    m[0] = glm::vec4(1 - 2 * y * y - 2 * z * z, 2 * x * y + 2 * z * w, 2 * x * z - 2 * y * w, 0);
    m[1] = glm::vec4(2 * x * y - 2 * z * w, 1 - 2 * x * x - 2 * z * z, 2 * y * z + 2 * x * w, 0);
    m[2] = glm::vec4(2 * x * z + 2 * y * w, 2 * y * z - 2 * x * w, 1 - 2 * x * x - 2 * y * y, 0);
    m[3] = glm::vec4(pose.p, 1.0f);
    return m;
}

void createActors() {
    if (gScene == nullptr || groundPlane != nullptr)
        return;
    gCalculateCombinedFrictionCallback = averageFriction;
    gCalculateCombinedRestitutionCallback = averageRestitution;
    // A cube landing flat must touch with its whole face: with one contact
    // point per step the first corner to arrive sends it spinning away. Up to
    // six perturbed passes, until all four corners are found.
    if (gCollisionConfiguration != nullptr)
        gCollisionConfiguration->setPlaneConvexMultipointIterations(6, 4);
    btContactSolverInfo& solver = gScene->getSolverInfo();
    solver.m_numIterations = solverIterations;
    solver.m_restitutionVelocityThreshold = bounceThresholdSpeed;
    // Push every overlap apart without adding speed: by default a shallow
    // overlap is resolved by a velocity kick at each corner, and the uneven
    // kicks of a landing tip the cube over a few hops later.
    solver.m_splitImpulse = true;
    solver.m_splitImpulsePenetrationThreshold = 0.0f;

    // The plane x = 0, solid towards -x, turned a quarter about z: the floor
    // y = 0 with its solid side below.
    groundShape = new btStaticPlaneShape(btVector3(1, 0, 0), 0);
    const btTransform groundPose(btQuaternion(0.0f, 0.0f, 0.70710677f, 0.70710677f),
                                 btVector3(0, 0, 0));
    btRigidBody::btRigidBodyConstructionInfo groundInfo(0, nullptr, groundShape);
    groundInfo.m_startWorldTransform = groundPose;
    groundPlane = new btRigidBody(groundInfo);
    applyMaterial(groundPlane);
    gScene->addRigidBody(groundPlane);

    // btBoxShape keeps the margin inside the half extents, so the cube's
    // collision surface stays at 0.3.
    iceCubeShape =
        new btBoxShape(btVector3(iceCubeHalfExtent, iceCubeHalfExtent, iceCubeHalfExtent));
    lastImpactCount = 0;
    for (int i = 0; i < iceCubeCount; ++i) {
        stepsSinceImpact[i] = impactQuietSteps + 1;
        const glm::vec3& start = iceCubeStartPositions[i];
        // Mass 1 and unit inertia: what a body gets when no mass is given.
        btRigidBody::btRigidBodyConstructionInfo info(1, nullptr, iceCubeShape, btVector3(1, 1, 1));
        info.m_startWorldTransform =
            btTransform(btQuaternion::getIdentity(), btVector3(start.x, start.y, start.z));
        iceCubeBodies[i] = new btRigidBody(info);
        applyMaterial(iceCubeBodies[i]);
        iceCubeBodies[i]->setDamping(0, iceCubeAngularDamping);
        iceCubeBodies[i]->setSleepingThresholds(iceCubeSleepSpeed, iceCubeSleepSpeed);
        gScene->addRigidBody(iceCubeBodies[i]);
    }
}

void resetActors() {
    if (gScene == nullptr)
        return;
    lastImpactCount = 0;
    for (int i = 0; i < iceCubeCount; ++i) {
        btRigidBody* body = iceCubeBodies[i];
        if (body == nullptr)
            continue;
        stepsSinceImpact[i] = impactQuietSteps + 1;
        const glm::vec3& start = iceCubeStartPositions[i];
        const btTransform pose(btQuaternion::getIdentity(), btVector3(start.x, start.y, start.z));
        body->setWorldTransform(pose);
        body->setInterpolationWorldTransform(pose);
        body->setLinearVelocity(btVector3(0, 0, 0));
        body->setAngularVelocity(btVector3(0, 0, 0));
        body->setInterpolationLinearVelocity(btVector3(0, 0, 0));
        body->setInterpolationAngularVelocity(btVector3(0, 0, 0));
        body->clearForces();
        body->forceActivationState(ACTIVE_TAG);
        body->setDeactivationTime(0);
        // The contacts of the old resting place go now, not at the next step.
        gScene->getBroadphase()->getOverlappingPairCache()->cleanProxyFromPairs(
            body->getBroadphaseHandle(), gDispatcher);
        gScene->updateSingleAabb(body);
    }
}

void stepPhysics() {
    // No sub-steps: one step of exactly the given length, poses read as is.
    if (gScene != nullptr) {
        gScene->stepSimulation(physicsStep, 0, physicsStep);
        findImpacts();
    }
    physicsAccumulator -= physicsStep;
}

int lastStepImpacts(CubeImpact out[maxCubeImpacts]) {
    for (int i = 0; i < lastImpactCount; ++i)
        out[i] = lastImpacts[i];
    return lastImpactCount;
}

int readIceCubeMatrices(glm::mat4 out[iceCubeCount]) {
    int found = 0;
    if (gScene != nullptr) {
        const btCollisionObjectArray& objects = gScene->getCollisionObjectArray();
        for (int k = 0; k < objects.size() && found < iceCubeCount; ++k) {
            const btRigidBody* body = btRigidBody::upcast(objects[k]);
            if (body == nullptr || body->isStaticOrKinematicObject())
                continue;
            // A box body's shape sits at the body's origin.
            out[found++] = poseToMatrix(shapeWorldPose(poseOf(body->getWorldTransform()), Pose{}));
        }
    }
    return found;
}

void destroyActors() {
    for (btRigidBody*& body : iceCubeBodies) {
        if (body != nullptr && gScene != nullptr)
            gScene->removeRigidBody(body);
        delete body;
        body = nullptr;
    }
    if (groundPlane != nullptr && gScene != nullptr)
        gScene->removeRigidBody(groundPlane);
    delete groundPlane;
    groundPlane = nullptr;
    delete iceCubeShape;
    iceCubeShape = nullptr;
    delete groundShape;
    groundShape = nullptr;
}
