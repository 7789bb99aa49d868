// The course picture's background: the ground's heights seen from above, tinted by height
// and hill-shaded by a light from the upper left, kept dark so markers stand out.
#pragma once

#include "image.hpp"
#include "picture_view.hpp"
#include "platform/mesh/mesh_data.hpp"

// Fills every pixel: the ground under its centre (a downward ray through the mesh), or a dark
// blue where the mesh has no ground.
void ShadeGround(Image& image, const PictureView& view, const platform::MeshData& ground);
