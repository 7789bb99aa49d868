// Bounds and ray-test hierarchy of a loaded mesh.
#include "platform/mesh/mesh_data.hpp"

#include <algorithm>

namespace platform {

void MeshData::Finish() {
    bounds = MeshBounds{};
    std::vector<Vec3> positions(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) positions[i] = vertices[i].position;
    if (!positions.empty()) {
        bounds.min = bounds.max = positions[0];
        for (const Vec3& p : positions) {
            bounds.min = {std::min(bounds.min.x, p.x), std::min(bounds.min.y, p.y), std::min(bounds.min.z, p.z)};
            bounds.max = {std::max(bounds.max.x, p.x), std::max(bounds.max.y, p.y), std::max(bounds.max.z, p.z)};
        }
    }
    bvh.Build(positions, indices);
}

}  // namespace platform
