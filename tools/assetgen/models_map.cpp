// The three map meshes sampled from the canyon height field: "mapB.x" the drawn ground,
// "mapA.x" the glowing grid added over it (the ground of the player and of the shots) and
// "mapD.x" the enemies' ground, coarser and never drawn.
#include <cmath>
#include <vector>

#include "asset_tree.hpp"
#include "materials.hpp"
#include "mesh_builder.hpp"
#include "terrain.hpp"

namespace {

constexpr float kExtent = 3800.0f;  // the maps span -kExtent..kExtent on x and z

enum class MapStyle { Ground, Grid, Collision };

XMesh HeightField(float cell, MapStyle style) {
    XMesh mesh;
    MeshBuilder b(mesh);
    const int n = static_cast<int>(2 * kExtent / cell);
    std::vector<int64_t> index(static_cast<size_t>(n + 1) * (n + 1), -1);
    auto coord = [&](int i) { return -kExtent + static_cast<float>(i) * cell; };
    auto vertex = [&](int i, int j) -> uint32_t {
        int64_t& slot = index[static_cast<size_t>(j) * (n + 1) + i];
        if (slot < 0) {
            const float x = coord(i), z = coord(j);
            const float e = cell * 0.5f;
            const float dx = terrain::Height(x + e, z) - terrain::Height(x - e, z);
            const float dz = terrain::Height(x, z + e) - terrain::Height(x, z - e);
            Vec3 normal = Vec3Normalize({-dx, 2 * e, -dz});
            const float tile = style == MapStyle::Grid ? 100.0f : 256.0f;
            slot = mesh.AddVertex({x, terrain::Height(x, z), z}, normal, {x / tile, z / tile});
        }
        return static_cast<uint32_t>(slot);
    };
    uint32_t floorMat = 0, wallMat = 0, rimMat = 0;
    if (style == MapStyle::Ground) {
        floorMat = mesh.AddMaterial(Matte(0.34f, 0.27f, 0.46f, "terrain.png"));
        wallMat = mesh.AddMaterial(Matte(0.52f, 0.27f, 0.36f, "terrain.png"));
        rimMat = mesh.AddMaterial(Matte(0.36f, 0.22f, 0.32f, "terrain.png"));
    } else if (style == MapStyle::Grid) {
        // The grid is added over the ground, so its black texels must add nothing; a highlight
        // would be added everywhere, lines or not, and wash whole canyon walls out to white.
        XMaterial grid = NeonOf(palette::kCyan, "grid.png");
        grid.specular = {0, 0, 0};
        grid.power = 0;
        floorMat = wallMat = rimMat = mesh.AddMaterial(grid);
    } else {
        floorMat = wallMat = rimMat = mesh.AddMaterial(Matte(0.5f, 0.5f, 0.5f));
    }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const float cx = coord(i) + cell * 0.5f, cz = coord(j) + cell * 0.5f;
            if (!terrain::Covered(coord(i), coord(j)) && !terrain::Covered(coord(i + 1), coord(j)) &&
                !terrain::Covered(coord(i), coord(j + 1)) && !terrain::Covered(coord(i + 1), coord(j + 1)))
                continue;
            const float d = std::fabs(terrain::OffsetAt(cx, cz));
            const uint32_t m = d < terrain::kFloorHalfWidth + 15.0f ? floorMat : d < terrain::kRimOffset ? wallMat : rimMat;
            const uint32_t a = vertex(i, j), c = vertex(i + 1, j + 1);
            b.Tri(a, vertex(i + 1, j), c, m);
            b.Tri(a, c, vertex(i, j + 1), m);
        }
    return mesh;
}

}  // namespace

void AddMapModels(AssetList& out) {
    out.push_back({"model/mapB.x", WriteXFile(HeightField(40.0f, MapStyle::Ground), "mapB")});
    out.push_back({"model/mapA.x", WriteXFile(HeightField(40.0f, MapStyle::Grid), "mapA")});
    out.push_back({"model/mapD.x", WriteXFile(HeightField(80.0f, MapStyle::Collision), "mapD")});
}
