// Where the picture lies in a window of another size: scaled to fit, keeping its shape, centred
// between black bars. Present draws it there; a pointer in the window is read back through it.
#pragma once

#include <cstdint>

namespace platform {

struct Letterbox {
    int x = 0, y = 0, width = 0, height = 0;  // in window pixels

    static Letterbox Fit(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight) {
        Letterbox box{0, 0, windowWidth, windowHeight};
        if (pictureWidth <= 0 || pictureHeight <= 0) return box;
        if (int64_t(windowWidth) * pictureHeight > int64_t(windowHeight) * pictureWidth)
            box.width = int(int64_t(windowHeight) * pictureWidth / pictureHeight);
        else
            box.height = int(int64_t(windowWidth) * pictureHeight / pictureWidth);
        box.x = (windowWidth - box.width) / 2;
        box.y = (windowHeight - box.height) / 2;
        return box;
    }
    // A window pixel as a pixel of the picture (outside the picture for a point on a bar).
    void ToPicture(int windowX, int windowY, int pictureWidth, int pictureHeight, int* x, int* y) const {
        *x = width > 0 ? int(int64_t(windowX - this->x) * pictureWidth / width) : windowX;
        *y = height > 0 ? int(int64_t(windowY - this->y) * pictureHeight / height) : windowY;
    }
};

}  // namespace platform
