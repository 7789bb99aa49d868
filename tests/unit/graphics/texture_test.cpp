// Textures and the texture cache on the null device, with pictures written by the test.
#include "graphics/texture.hpp"

#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "graphics/texture_cache.hpp"
#include "null_world.hpp"

namespace {

class TextureTest : public NullWorld {
protected:
    void SetUp() override { EnterOwnFolder(); }
    std::string WritePng(const std::string& name, int w, int h) {
        std::vector<uint8_t> px(size_t(w) * h * 4, 200);
        const std::string path = OwnFile(name);
        stbi_write_png(path.c_str(), w, h, 4, px.data(), w * 4);
        return path;
    }
    static size_t LiveTextures() { return device().LiveTextureCount(); }
};

TEST_F(TextureTest, PictureKeepsItsSizeOrRoundsUpWhileTheSourceRectKeepsTheFiles) {
    const std::string file = WritePng("wide.png", 300, 100);
    Texture exact, rounded;
    ASSERT_EQ(exact.LoadFromFile(file, true), 1);
    ASSERT_EQ(rounded.LoadFromFile(file, false), 1);
    EXPECT_EQ(exact.Width(), 300);
    EXPECT_EQ(exact.Height(), 100);
    EXPECT_EQ(rounded.Width(), 512);
    EXPECT_EQ(rounded.Height(), 128);
    for (const Texture* t : {&exact, &rounded}) {
        EXPECT_EQ(t->sourceRect, (Rect{0, 0, 300, 100}));
        EXPECT_EQ(t->imageInfo.width, 300u);
        EXPECT_EQ(t->imageInfo.height, 100u);
        EXPECT_GT(t->imageInfo.mipLevels, 1u) << "pictures get their full mip chain";
        EXPECT_EQ(t->fileName, file);
    }
}

TEST_F(TextureTest, ReleaseIsHarmlessTwiceAndFillPaintsEveryTexel) {
    Texture t;
    ASSERT_EQ(t.CreateTarget(1, 1, 1, TextureUsage::None), 1);
    ASSERT_TRUE(t.Fill(0xFFFFFFFF));
    auto& d = *GraphicsDevice::Instance().device;
    // A plain texture is not a render target; read it through the device's own copy.
    std::vector<uint8_t> px = d.ReadPixels(t.texture);
    EXPECT_EQ(px, (std::vector<uint8_t>{255, 255, 255, 255}));
    t.Release();
    t.Release();
    EXPECT_EQ(t.texture, 0u);
    EXPECT_EQ(t.sourceRect, Rect{});
    EXPECT_FALSE(t.Fill(0xFF000000));
    EXPECT_TRUE(d.errors().empty());
}

TEST_F(TextureTest, CacheLoadsANameOnceEvenWhenTheLoadFailedAndNamesTheFailureOnce) {
    const size_t live = LiveTextures();
    TextureCache cache;
    const std::string file = WritePng("a.png", 16, 16);
    testing::internal::CaptureStderr();
    Texture* first = cache.Get(file);
    EXPECT_NE(first->texture, 0u);
    EXPECT_EQ(cache.Get(file), first);
    const std::string missing = OwnFile("missing.png");
    Texture* gone = cache.Get(missing);
    EXPECT_EQ(gone->texture, 0u);
    WritePng("missing.png", 8, 8);  // appearing later does not matter: a file is tried once
    EXPECT_EQ(cache.Get(missing)->texture, 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "korvelin: " + missing + ": cannot open: No such file or directory\n");
    EXPECT_EQ(cache.size(), 2u);
    cache.ReleaseAll();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(LiveTextures(), live) << "nothing of the cache is left on the device";
}

TEST_F(TextureTest, CacheDecodingAheadGivesTheTexturesADirectLoadGives) {
    const std::string file = WritePng("wide.png", 300, 100);
    const size_t live = LiveTextures();
    const std::string missing = OwnFile("none.png");
    Texture direct;
    ASSERT_EQ(direct.LoadFromFile(file, true), 1);
    TextureCache cache;
    cache.Prefetch({file, missing});
    cache.WaitForPrefetch();
    EXPECT_TRUE(cache.ReadingAhead(file));
    const Texture* got = cache.Get(file);
    EXPECT_NE(got->texture, 0u);
    EXPECT_EQ(got->Width(), direct.Width());
    EXPECT_EQ(got->Height(), direct.Height());
    EXPECT_EQ(got->sourceRect, direct.sourceRect);
    EXPECT_EQ(got->imageInfo.mipLevels, direct.imageInfo.mipLevels);
    EXPECT_EQ(got->fileName, file);
    const Texture* gone = cache.Get(missing);
    EXPECT_EQ(gone->texture, 0u);
    EXPECT_EQ(gone->fileName, missing);
    EXPECT_FALSE(cache.ReadingAhead(file));
    // Released while decoding ahead: nothing is left behind on the device or in the cache.
    cache.Prefetch({WritePng("b.png", 64, 64), WritePng("c.png", 64, 64)});
    cache.ReleaseAll();
    EXPECT_EQ(cache.size(), 0u);
    direct.Release();
    EXPECT_EQ(LiveTextures(), live) << "nothing is left behind on the device";
}

}  // namespace
