// Text: UTF-8 decoding, measuring and drawing through the sprite batch.
#include "platform/render/font.hpp"

#include <gtest/gtest.h>

#include "platform/null/null_render_device.hpp"

using namespace platform;

namespace {

TEST(Utf8, DecodesJapaneseAndReplacesBrokenBytes) {
    EXPECT_EQ(DecodeUtf8("確認"), U"確認");
    EXPECT_EQ(DecodeUtf8("Ver.1"), U"Ver.1");
    EXPECT_EQ(DecodeUtf8("\xE7\xA2"), U"\uFFFD\uFFFD");      // cut short
    EXPECT_EQ(DecodeUtf8("a\xFF" "b"), U"a\uFFFDb");         // never a lead byte
    EXPECT_EQ(DecodeUtf8("\xE7" "ab"), U"\uFFFDab");        // lead byte without continuation
}

TEST(Font, MeasuresACellHighLineAndDrawsOneQuadPerVisibleGlyph) {
    NullRenderDevice d(1280, 720);
    Font font(d);
    std::string why;
    ASSERT_TRUE(font.Create("IPAPGothic", 12, &why)) << why;
    RectI r = font.Measure("Ver.1.1.0");
    EXPECT_EQ(r.Height(), 12);
    EXPECT_GT(r.Width(), 30);
    EXPECT_LT(r.Width(), 80);
    EXPECT_EQ(font.Measure("").Width(), 0);
    EXPECT_GT(font.Measure("フルスクリーンにしますか？").Width(), font.Measure("確認").Width());

    SpriteBatch batch(d);
    d.BeginScene();
    batch.Begin();
    font.Draw(batch, "A B", 0xFFFFFFFF);
    batch.End();
    d.EndScene();
    ASSERT_EQ(d.draws().size(), 1u);
    EXPECT_EQ(d.draws()[0].hud.size(), 12u) << "two glyphs; the space has no quad";
    for (const HudVertex& v : d.draws()[0].hud) {
        EXPECT_GE(v.y, 0.0f);
        EXPECT_LE(v.y, 12.0f);
    }
}

}  // namespace
