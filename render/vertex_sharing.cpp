#include "render/vertex_sharing.hpp"

#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace {
// A vertex compared and hashed as its bytes: -0 and 0 stay apart, since the
// point is to send the driver exactly what it was sent before.
struct Bytes {
    const Vertex* vertex;
    bool operator==(const Bytes& other) const {
        return std::memcmp(vertex, other.vertex, sizeof(Vertex)) == 0;
    }
};
struct HashBytes {
    std::size_t operator()(const Bytes& key) const {
        return std::hash<std::string_view>()(
            std::string_view(reinterpret_cast<const char*>(key.vertex), sizeof(Vertex)));
    }
};
} // namespace

SharedVertices shareIdenticalVertices(const std::vector<Vertex>& vertices,
                                      const std::vector<unsigned int>& indices) {
    SharedVertices shared;
    std::unordered_map<Bytes, unsigned int, HashBytes> firstUse;
    firstUse.reserve(vertices.size());
    std::vector<unsigned int> newIndex(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const auto [slot, fresh] = firstUse.emplace(
            Bytes{&vertices[i]}, static_cast<unsigned int>(shared.vertices.size()));
        if (fresh)
            shared.vertices.push_back(vertices[i]);
        newIndex[i] = slot->second;
    }
    shared.indices.reserve(indices.size());
    for (unsigned int index : indices)
        shared.indices.push_back(index < newIndex.size() ? newIndex[index] : index);
    return shared;
}
