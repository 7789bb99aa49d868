// The one merged mesh the game draws and ray-tests, built from what the .x reader kept.
#pragma once

#include <string>

#include "platform/mesh/mesh_data.hpp"
#include "platform/mesh/x_scene.hpp"

namespace platform {

// Every mesh moved by its frames' transforms (normals by the inverse transpose), each face fanned
// from its first corner into triangles in the file's winding, one subset per material of
// scene.materials, ambient set to diffuse, texture names joined to `folder` with '/' for '\'.
// Faces without normals get their triangle's own. Corners equal in position, normal and texture
// coordinates share one vertex. Throws XFileError when no mesh or no face is left.
void AssembleMesh(const XScene& scene, const std::string& folder, MeshData& out);

}  // namespace platform
