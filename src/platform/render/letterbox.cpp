// The letterbox arithmetic of Present.
#include "platform/render/letterbox.hpp"

#include <cstdint>

namespace platform {

PixelRect Letterbox(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) return {};
    int w = drawableWidth, h = drawableHeight;
    // Wider than the picture: bars left and right; otherwise above and below.
    if (int64_t(w) * pictureHeight > int64_t(h) * pictureWidth)
        w = int(int64_t(h) * pictureWidth / pictureHeight);
    else
        h = int(int64_t(w) * pictureHeight / pictureWidth);
    return {(drawableWidth - w) / 2, (drawableHeight - h) / 2, w, h};
}

}  // namespace platform
