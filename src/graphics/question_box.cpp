// Drawing the game's own question box and waiting for its answer.
#include "graphics/question_box.hpp"

#include <cstdio>
#include <vector>

#include "graphics/graphics_device.hpp"
#include "graphics/question_panel.hpp"
#include "platform/i18n/language.hpp"
#include "platform/render/letterbox.hpp"
#include "platform/window/sdl_input.hpp"
#include "platform/window/window.hpp"

using namespace platform;

namespace {

constexpr int kCellHeight = 24;  // twice the HUD's face, read from across the room
constexpr int kWaitMs = 250;     // the loop sleeps in the system until an event comes

// The colours of the box: the game's night blue with its cyan light.
constexpr Color kDim = 0x99000000;
constexpr Color kEdge = 0xFF46D2E6;
constexpr Color kFace = 0xF0141C2C;
constexpr Color kCaption = 0xFF233A5A;
constexpr Color kButton = 0xFF34405A;
constexpr Color kFocused = 0xFF1E8CB4;
constexpr Color kTextColor = 0xFFFFFFFF;

}  // namespace

QuestionBox::~QuestionBox() { Release(); }

void QuestionBox::Release() {
    RenderDevice* d = GraphicsDevice::Instance().device.get();
    if (d && white_) d->ReleaseTexture(white_);
    if (d && frozen_) d->ReleaseTexture(frozen_);
    white_ = frozen_ = 0;
    font_.reset();
    fontTried_ = false;
}

int QuestionBox::Measure(const std::string& text) {
    if (font_) return font_->Measure(text).Width();
    return int(text.size()) * kCellHeight / 2;
}

void QuestionBox::Fill(const RectI& r, Color color) {
    SpriteBatch& batch = *GraphicsDevice::Instance().sprite;
    batch.SetTransform(MatrixScaling(float(r.Width()), float(r.Height()), 1) *
                       MatrixTranslation(float(r.left), float(r.top), 0));
    batch.Draw(white_, {0, 0, 1, 1}, color);
}

void QuestionBox::Text(const std::string& text, int x, int y, Color color) {
    if (!font_) return;
    SpriteBatch& batch = *GraphicsDevice::Instance().sprite;
    batch.SetTransform(MatrixTranslation(float(x), float(y), 0));
    font_->Draw(batch, text, color);
}

void QuestionBox::Draw(Window& window, const QuestionPanel& panel) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    d.SetRenderTarget(0, gd.backBufferSurface);
    for (int i = 1; i < kMaxRenderTargets; ++i) d.SetRenderTarget(i, 0);
    if (!d.BeginScene()) return;
    d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
    gd.sprite->Begin();
    if (frozen_) {
        gd.sprite->SetTransform(Matrix::Identity());
        gd.sprite->Draw(frozen_, {0, 0, w, h}, 0xFFFFFFFF);
    }
    Fill({0, 0, w, h}, kDim);
    const RectI& b = panel.box;
    Fill({b.left - 2, b.top - 2, b.right + 2, b.bottom + 2}, kEdge);
    Fill(b, kFace);
    Fill(panel.caption, kCaption);
    const int captionY = panel.caption.top + (QuestionPanel::kCaptionHeight - kCellHeight) / 2;
    Text(panel.request().caption, panel.caption.left + 14, captionY, kTextColor);
    int y = panel.textArea.top;
    for (const std::string& line : panel.lines) {
        Text(line, panel.textArea.left, y, kTextColor);
        y += QuestionPanel::kLineHeight;
    }
    for (size_t i = 0; i < panel.buttons.size(); ++i) {
        const QuestionPanel::Button& button = panel.buttons[i];
        const RectI& r = button.rect;
        const bool focused = int(i) == panel.focus;
        if (focused) Fill({r.left - 3, r.top - 3, r.right + 3, r.bottom + 3}, kEdge);
        Fill(r, focused ? kFocused : kButton);
        const int labelWidth = Measure(button.label);
        Text(button.label, r.left + (r.Width() - labelWidth) / 2, r.top + (r.Height() - kCellHeight) / 2, kTextColor);
    }
    gd.sprite->End();
    d.EndScene();
    // In pixels, as every frame of the game: on a scaled display the window's size in points
    // would fill only part of it.
    int cw = w, ch = h;
    window.GetDrawableSize(&cw, &ch);
    // The developer overlay's last frame is not drawn over the question.
    d.SetPresentOverlay(nullptr);
    d.Present(cw, ch);
}

QuestionBox::Result QuestionBox::Ask(Window& window, const DialogRequest& request, bool frozen) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    if (!fontTried_) {
        fontTried_ = true;
        font_ = std::make_unique<Font>(d);
        std::string why;
        if (!font_->Create("IPAPGothic", kCellHeight, &why)) {
            std::fprintf(stderr, Tr("korvelin: no face for the question box: %s\n"), why.c_str());
            font_.reset();
        }
    }
    if (!white_) {
        white_ = d.CreateTexture(1, 1, 1, false);
        const uint8_t white[4] = {255, 255, 255, 255};
        if (white_) d.UpdateTexture(white_, 0, white);
    }
    if (frozen) {
        // The picture the player last saw, held still behind the box. Its alpha is made opaque:
        // the sprite pass drops texels whose alpha is 0.
        std::vector<uint8_t> pixels = d.ReadPixels(kBackBuffer);
        for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
        frozen_ = d.CreateTexture(w, h, 1, false);
        if (frozen_ && pixels.size() == size_t(w) * h * 4) d.UpdateTexture(frozen_, 0, pixels.data());
    }

    // A report made while the game starts comes before the window is shown.
    window.Show();
    // The box needs the pointer back: shown, and not held by the mouse look.
    SdlInput& devices = window.devices();
    const bool cursorWasShown = devices.cursorShown();
    devices.SetCursorShown(true);

    QuestionPanel panel(request, w, h, [this](const std::string& text) { return Measure(text); });
    Result result;
    bool dirty = true;
    while (!panel.answer) {
        if (dirty) Draw(window, panel);
        dirty = false;
        WindowEvent e;
        if (!window.PollEvent(&e, kWaitMs)) continue;
        using Type = WindowEvent::Type;
        switch (e.type) {
            case Type::Close:
                // Closing the window answers what Return would; the caller ends the game after.
                result.closed = true;
                panel.answer = DefaultAnswer(request);
                break;
            case Type::ToggleFullscreen:
                gd.SetFullScreen(!window.IsFullscreen());
                dirty = true;
                break;
            case Type::Size:
            case Type::Exposed: dirty = true; break;
            case Type::PointerMove:
            case Type::PointerPress:
            case Type::PointerRelease: {
                int cw = w, ch = h;
                window.GetClientSize(&cw, &ch);
                Letterbox::Fit(cw, ch, w, h).ToPicture(e.pointer.x, e.pointer.y, w, h, &e.pointer.x, &e.pointer.y);
                dirty = panel.Handle(e);
                break;
            }
            case Type::Navigate: dirty = panel.Handle(e); break;
            default: break;
        }
    }
    result.answer = *panel.answer;

    devices.SetCursorShown(cursorWasShown);
    window.ForgetKeysPressedDuringDialog();
    if (frozen_) d.ReleaseTexture(frozen_);
    frozen_ = 0;
    return result;
}
