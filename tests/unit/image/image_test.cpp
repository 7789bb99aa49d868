// Picture loading: sizes under the power-of-two rule, row order, scaling, mips and bad files.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/image/texture_image.hpp"

namespace fs = std::filesystem;
using namespace platform;

namespace {

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("korvelin_image_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A PNG whose top half is opaque red and bottom half opaque blue.
    std::string WritePng(const std::string& name, int w, int h) {
        std::vector<uint8_t> px(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &px[(size_t(y) * w + x) * 4];
                const bool top = y < (h + 1) / 2;
                p[0] = top ? 255 : 0;
                p[2] = top ? 0 : 255;
                p[3] = 255;
            }
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(stbi_write_png(path.c_str(), w, h, 4, px.data(), w * 4));
        return path;
    }
    fs::path dir_;
};

TEST_F(ImageTest, TextureSizeFollowsTheNonPowerOfTwoFlag) {
    struct Case {
        int w, h;
        bool npot;
        uint32_t texW, texH, levels;
    } cases[] = {
        {300, 100, true, 300, 100, 9},   // 300x100 ... 2x1, 1x1
        {300, 100, false, 512, 128, 10},
        {100, 60, false, 128, 64, 8},
        {256, 256, false, 256, 256, 9},
        {1, 1, false, 1, 1, 1},
        {1, 1, true, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.npot ? " npot" : " pow2"));
        const std::string path = WritePng("p.png", c.w, c.h);
        TextureImage tex;
        std::string error;
        ASSERT_TRUE(LoadTextureImage(path, c.npot, tex, error)) << error;
        EXPECT_EQ(tex.Width(), c.texW);
        EXPECT_EQ(tex.Height(), c.texH);
        // The image information (and so the sprite source rectangle) keeps the file's size.
        EXPECT_EQ(tex.fileWidth, uint32_t(c.w));
        EXPECT_EQ(tex.fileHeight, uint32_t(c.h));
        ASSERT_EQ(tex.LevelCount(), c.levels);
        EXPECT_EQ(tex.levels.back().width, 1u);
        EXPECT_EQ(tex.levels.back().height, 1u);
        for (const Image& level : tex.levels) EXPECT_EQ(level.pixels.size(), size_t(level.width) * level.height * 4);
    }
}

TEST_F(ImageTest, RowsComeTopFirstAndScalingFillsTheWholeTexture) {
    TextureImage tex;
    std::string error;
    ASSERT_TRUE(LoadTextureImage(WritePng("halves.png", 300, 100), false, tex, error)) << error;
    const Image& top = tex.levels[0];
    ASSERT_EQ(top.width, 512u);
    // The picture is stretched over all of 512 x 128: red in the top rows, blue in the bottom
    // rows, right up to the last column (no padding).
    for (uint32_t x : {0u, 300u, 511u}) {
        EXPECT_EQ(top.Texel(x, 0)[0], 255) << x;
        EXPECT_EQ(top.Texel(x, 0)[2], 0) << x;
        EXPECT_EQ(top.Texel(x, 127)[0], 0) << x;
        EXPECT_EQ(top.Texel(x, 127)[2], 255) << x;
        EXPECT_EQ(top.Texel(x, 127)[3], 255) << x;
    }
}

TEST(MipChain, BoxFilterAveragesTheTexelsEachLevelCovers) {
    Image base;
    base.width = 2;
    base.height = 2;
    base.pixels = {0, 0, 0, 0, 100, 100, 100, 100, 200, 200, 200, 200, 255, 255, 255, 255};
    const std::vector<Image> chain = BuildMipChain(base);
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_EQ(chain[1].pixels, (std::vector<uint8_t>{139, 139, 139, 139}));  // (0+100+200+255+2)/4

    Image strip;  // 3 x 1: sides of 1 stay 1, odd sides round down
    strip.width = 3;
    strip.height = 1;
    strip.pixels.assign(12, 40);
    const std::vector<Image> s = BuildMipChain(strip);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].width, 1u);
    EXPECT_EQ(s[1].height, 1u);
    EXPECT_EQ(s[1].pixels[0], 40);
}

TEST_F(ImageTest, UnreadableFilesFailWithTheFileNamed) {
    const std::string missing = (dir_ / "missing.png").string();
    const std::string garbage = (dir_ / "garbage.png").string();
    std::ofstream(garbage) << "this is not a picture";
    const std::string empty = (dir_ / "empty.png").string();
    std::ofstream{empty};
    for (const std::string& path : {missing, garbage, empty}) {
        TextureImage tex;
        std::string error;
        EXPECT_FALSE(LoadTextureImage(path, true, tex, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(tex.LevelCount(), 0u);
        EXPECT_EQ(tex.fileWidth, 0u);
    }
}

TEST(NextPowerOfTwo, RoundsUp) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 4}, {100, 128}, {300, 512}, {512, 512}, {513, 1024}};
    for (auto [n, p] : cases) EXPECT_EQ(NextPowerOfTwo(n), p) << n;
}

}  // namespace
