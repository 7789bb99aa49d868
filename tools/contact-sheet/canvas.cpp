// The sheet canvas.
#include "canvas.hpp"

#include <stb/stb_image_write.h>

Canvas::Canvas(int width, int height, uint32_t rgb)
    : width_(width), height_(height), rgba_(size_t(width) * size_t(height) * 4) {
    for (size_t i = 0; i < rgba_.size(); i += 4) {
        rgba_[i] = uint8_t(rgb >> 16);
        rgba_[i + 1] = uint8_t(rgb >> 8);
        rgba_[i + 2] = uint8_t(rgb);
        rgba_[i + 3] = 255;
    }
}

void Canvas::Paste(const std::vector<uint8_t>& frame, int frameWidth, int frameHeight, int sx, int sy, int sw,
                   int sh, int shrink, int dx, int dy) {
    if (shrink < 1 || frame.size() < size_t(frameWidth) * size_t(frameHeight) * 4) return;
    const int ow = sw / shrink, oh = sh / shrink;
    for (int y = 0; y < oh; ++y) {
        const int ty = dy + y;
        if (ty < 0 || ty >= height_) continue;
        for (int x = 0; x < ow; ++x) {
            const int tx = dx + x;
            if (tx < 0 || tx >= width_) continue;
            int sum[3] = {0, 0, 0}, n = 0;
            for (int j = 0; j < shrink; ++j) {
                const int fy = sy + y * shrink + j;
                if (fy < 0 || fy >= frameHeight) continue;
                for (int i = 0; i < shrink; ++i) {
                    const int fx = sx + x * shrink + i;
                    if (fx < 0 || fx >= frameWidth) continue;
                    const uint8_t* p = &frame[(size_t(fy) * frameWidth + fx) * 4];
                    sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], ++n;
                }
            }
            if (n == 0) continue;
            uint8_t* q = &rgba_[(size_t(ty) * width_ + tx) * 4];
            // The back buffer's alpha is not part of the picture: the sheet is opaque.
            for (int c = 0; c < 3; ++c) q[c] = uint8_t((sum[c] + n / 2) / n);
            q[3] = 255;
        }
    }
}

bool Canvas::WritePng(const std::string& path, std::string* error) const {
    if (stbi_write_png(path.c_str(), width_, height_, 4, rgba_.data(), width_ * 4)) return true;
    if (error) *error = "cannot write " + path;
    return false;
}
