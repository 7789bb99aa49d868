// Where Present puts the 1280 x 720 picture in drawables of every kind, scaled displays
// included: the picture must fill the drawable whenever the shapes agree.
#include "platform/render/letterbox.hpp"

#include <gtest/gtest.h>

#include <array>

using platform::Letterbox;

TEST(Letterbox, FitsThePictureIntoTheDrawableInPixels) {
    const struct {
        const char* what;
        int width, height;  // the drawable, in pixels
        platform::Letterbox expected;
    } cases[] = {
        {"the window at 100 %", 1280, 720, {0, 0, 1280, 720}},
        {"the same window at 150 %", 1920, 1080, {0, 0, 1920, 1080}},
        {"the same window at 200 %", 2560, 1440, {0, 0, 2560, 1440}},
        {"a 16:10 screen at 200 %: bars above and below", 2560, 1600, {0, 80, 2560, 1440}},
        {"a 4:3 window: bars above and below", 1024, 768, {0, 96, 1024, 576}},
        {"an ultra-wide screen: bars left and right", 3440, 1440, {440, 0, 2560, 1440}},
        {"an odd leftover goes below and right", 1281, 721, {0, 0, 1281, 720}},
        {"a window smaller than the picture", 640, 480, {0, 60, 640, 360}},
        {"a minimised window", 0, 0, {0, 0, 0, 0}},
        {"a drawable one pixel high", 1280, 1, {639, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        const Letterbox box = Letterbox::Fit(c.width, c.height, 1280, 720);
        EXPECT_EQ((std::array{box.x, box.y, box.width, box.height}),
                  (std::array{c.expected.x, c.expected.y, c.expected.width, c.expected.height}))
            << c.what;
    }
}
