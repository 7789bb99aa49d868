// Painting over the frozen picture.
#include "ui/screen_painter.hpp"

#include <cstdio>
#include <vector>

#include "graphics/graphics_device.hpp"
#include "graphics/texture.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/window.hpp"

using namespace platform;

ScreenPainter::~ScreenPainter() { Release(); }

void ScreenPainter::Release() {
    RenderDevice* d = GraphicsDevice::Instance().device.get();
    if (d && white_) d->ReleaseTexture(white_);
    if (d && frozen_) d->ReleaseTexture(frozen_);
    white_ = frozen_ = 0;
    font_.reset();
    fontTried_ = false;
}

void ScreenPainter::Prepare() {
    RenderDevice& d = *GraphicsDevice::Instance().device;
    if (!fontTried_) {
        fontTried_ = true;
        font_ = std::make_unique<Font>(d);
        std::string why;
        if (!font_->Create("IPAPGothic", kCellHeight, &why)) {
            std::fprintf(stderr, Tr("korvelin: no face for the game's own boxes: %s\n"), why.c_str());
            font_.reset();
        }
    }
    if (!white_) {
        white_ = d.CreateTexture(1, 1, 1, false);
        const uint8_t white[4] = {255, 255, 255, 255};
        if (white_) d.UpdateTexture(white_, 0, white);
    }
}

void ScreenPainter::Freeze() {
    if (frozen_) return;
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    // The picture the player last saw, held still. Its alpha is made opaque: the sprite pass
    // drops texels whose alpha is 0.
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    std::vector<uint8_t> pixels = d.ReadPixels(kBackBuffer);
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
    frozen_ = d.CreateTexture(w, h, 1, false);
    if (frozen_ && pixels.size() == size_t(w) * h * 4) d.UpdateTexture(frozen_, 0, pixels.data());
}

void ScreenPainter::Thaw() {
    if (frozen_) GraphicsDevice::Instance().device->ReleaseTexture(frozen_);
    frozen_ = 0;
}

int ScreenPainter::Measure(const std::string& text) {
    Prepare();
    if (font_) return font_->Measure(text).Width();
    return int(text.size()) * kCellHeight / 2;
}

bool ScreenPainter::Begin(Color dim) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    d.SetRenderTarget(0, gd.backBufferSurface);
    for (int i = 1; i < kMaxRenderTargets; ++i) d.SetRenderTarget(i, 0);
    if (!d.BeginScene()) return false;
    d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
    gd.sprite->Begin();
    if (frozen_) {
        gd.sprite->SetTransform(Matrix::Identity());
        gd.sprite->Draw(frozen_, {0, 0, w, h}, 0xFFFFFFFF);
    }
    Fill({0, 0, w, h}, dim);
    return true;
}

void ScreenPainter::End(Window& window) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    gd.sprite->End();
    d.EndScene();
    // In pixels, as every frame of the game: on a scaled display the window's size in points
    // would fill only part of it.
    int cw = gd.presentParams.backBufferWidth, ch = gd.presentParams.backBufferHeight;
    window.GetDrawableSize(&cw, &ch);
    // The developer overlay's last frame is not drawn over these screens.
    d.SetPresentOverlay(nullptr);
    d.Present(cw, ch);
}

void ScreenPainter::Fill(const RectI& r, Color color) {
    SpriteBatch& batch = *GraphicsDevice::Instance().sprite;
    batch.SetTransform(MatrixScaling(float(r.Width()), float(r.Height()), 1) *
                       MatrixTranslation(float(r.left), float(r.top), 0));
    batch.Draw(white_, {0, 0, 1, 1}, color);
}

void ScreenPainter::Text(const std::string& text, int x, int y, Color color) {
    if (!font_) return;
    SpriteBatch& batch = *GraphicsDevice::Instance().sprite;
    batch.SetTransform(MatrixTranslation(float(x), float(y), 0));
    font_->Draw(batch, text, color);
}

void ScreenPainter::Picture(const Texture* picture, int x, int y) {
    if (!picture || !picture->texture) return;
    const Matrix at = MatrixTranslation(float(x - picture->Width() / 2), float(y - picture->Height() / 2), 0);
    GraphicsDevice::Instance().DrawSprite(picture, 0xFFFFFFFF, &at);
}
