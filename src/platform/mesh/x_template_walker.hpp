// Walks the data objects of a .x body into an XScene.
#pragma once

#include "platform/mesh/x_lexer.hpp"
#include "platform/mesh/x_scene.hpp"

namespace platform {

// Reads Frame (with FrameTransformMatrix), Mesh (with MeshNormals, MeshTextureCoords and
// MeshMaterialList with Material and TextureFilename) and top-level Material objects; template
// definitions and every other object are skipped by their braces. Counts are checked against the
// bytes left before anything is allocated for them, indices against what they index, nesting
// against kXMaxDepth. Ends with ResolveMaterials. Throws XFileError.
XScene WalkXBody(XLexer& lexer);

}  // namespace platform
