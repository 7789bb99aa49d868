// One material list for the whole file, with every mesh's entries pointing into it.
#pragma once

#include "platform/mesh/x_lexer.hpp"
#include "platform/mesh/x_scene.hpp"

namespace platform {

// Fills scene.materials and every mesh's slots. The order is the game's subset order: first the
// top-level materials that some mesh refers to (in file order; one that nothing refers to gets no
// subset), then each mesh's own materials as ForEachMesh visits the meshes. A reference names a
// top-level material if one has that name, else the first mesh material of that name, wherever
// it is. Meshes with faces but no material list share one default material, last: grey
// (0.5, 0.5, 0.5, 1), power 1. Refuses a reference to a name nothing has, at its position.
void ResolveMaterials(XScene& scene, const XLexer& lexer);

}  // namespace platform
