// The glow's halo on the OpenGL device: a one-texel bright line blurred by the real filter falls
// off without rings on both sides, across and down, and reaches as far as the halo always has.
#include <sstream>

#include "gl_fixture.hpp"

using namespace render_test;

namespace {

using BlurProfileTest = GlFixture;

// Half-size texels from the line to the first texel that reads 0 (with the 5x composite that
// is where the halo ends on screen). The glow was made with this reach; a kernel that narrows
// or widens the halo visibly moves it by more than a texel or two.
constexpr int kReach = 14;
constexpr int kReachSlack = 2;

struct LineCase {
    const char* name;
    bool vertical;  // a vertical line is spread by the horizontal pass, a horizontal one by the vertical
    int at;         // the line's column or row in the full-size source
};

std::vector<uint8_t> BlurredLine(const LineCase& c) {
    RenderDevice& d = *GraphicsDevice::Instance().device;
    Texture source;
    EXPECT_EQ(source.CreateTarget(kW, kH, 1, TextureUsage::RenderTarget), 1);
    std::vector<uint8_t> px(size_t(kW) * kH * 4, 0);
    for (size_t i = 3; i < px.size(); i += 4) px[i] = 255;
    const int length = c.vertical ? kH : kW;
    for (int i = 0; i < length; ++i) {
        const int x = c.vertical ? c.at : i, y = c.vertical ? i : c.at;
        uint8_t* p = &px[(size_t(y) * kW + x) * 4];
        p[0] = p[1] = p[2] = 255;
    }
    d.UpdateTexture(source.texture, 0, px.data());
    d.BeginScene();
    GameEffects::Instance().blurFilter.Blur(source);
    d.EndScene();
    return d.ReadPixels(GameEffects::Instance().blurFilter.targets[1].texture);
}

TEST_F(BlurProfileTest, ABrightLineFallsOffMonotonicallyToTheHalosWidth) {
    ASSERT_TRUE(GameEffects::Instance().blurFilter.valid());
    const int w = kW / 2, h = kH / 2;
    const LineCase cases[] = {
        {"vertical line", true, 640},
        {"horizontal line", false, 360},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> out = BlurredLine(c);
        ASSERT_EQ(out.size(), size_t(w) * h * 4);
        // Read across the line through the middle of its length, both ways from the line.
        const int centre = c.at / 2;
        auto value = [&](int d) { return c.vertical ? At(out, centre + d, h / 2, w).g : At(out, w / 2, centre + d, w).g; };
        for (int side : {1, -1}) {
            std::ostringstream profile;
            for (int d = 0; d <= kReach + 6; ++d) profile << value(side * d) << ' ';
            SCOPED_TRACE("profile from the line " + std::string(side > 0 ? "onwards" : "backwards") + ": " +
                         profile.str());
            EXPECT_GT(value(0), 0);
            int reach = 0;
            while (reach < kReach + 3 * kReachSlack && value(side * reach) > 0) {
                EXPECT_LE(value(side * (reach + 1)), value(side * reach)) << "a ring at " << reach + 1;
                ++reach;
            }
            EXPECT_NEAR(reach, kReach, kReachSlack);
            for (int d = reach; d <= reach + 6; ++d) EXPECT_EQ(value(side * d), 0) << "light again at " << d;
        }
    }
}

}  // namespace
