// Where Present puts the picture in the window: scaled to fit, its shape kept, centred.
#pragma once

namespace platform {

// A rectangle of the window's drawable, in pixels, origin top-left.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// The largest rectangle of the picture's shape (pictureWidth x pictureHeight) that fits the
// drawable, centred; bars fill the rest. Every size is in pixels of the drawable, which on a
// scaled display is larger than the window's size in points. An empty drawable (a minimised
// window) or an empty picture gives an empty rectangle.
PixelRect Letterbox(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight);

}  // namespace platform
