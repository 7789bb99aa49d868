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
using namespace box_colors;

namespace {

constexpr int kCellHeight = ScreenPainter::kCellHeight;
constexpr int kWaitMs = 250;     // the loop sleeps in the system until an event comes

constexpr Color kDim = 0x99000000;

}  // namespace

void QuestionBox::Draw(Window& window, const QuestionPanel& panel) {
    if (!painter_.Begin(kDim)) return;
    const RectI& b = panel.box;
    painter_.Fill({b.left - 2, b.top - 2, b.right + 2, b.bottom + 2}, kEdge);
    painter_.Fill(b, kFace);
    painter_.Fill(panel.caption, kCaption);
    const int captionY = panel.caption.top + (QuestionPanel::kCaptionHeight - kCellHeight) / 2;
    painter_.Text(panel.request().caption, panel.caption.left + 14, captionY, kText);
    int y = panel.textArea.top;
    for (const std::string& line : panel.lines) {
        painter_.Text(line, panel.textArea.left, y, kText);
        y += QuestionPanel::kLineHeight;
    }
    for (size_t i = 0; i < panel.buttons.size(); ++i) {
        const QuestionPanel::Button& button = panel.buttons[i];
        const RectI& r = button.rect;
        const bool focused = int(i) == panel.focus;
        if (focused) painter_.Fill({r.left - 3, r.top - 3, r.right + 3, r.bottom + 3}, kEdge);
        painter_.Fill(r, focused ? kFocused : kButton);
        const int labelWidth = painter_.Measure(button.label);
        painter_.Text(button.label, r.left + (r.Width() - labelWidth) / 2, r.top + (r.Height() - kCellHeight) / 2,
                      kText);
    }
    painter_.End(window);
}

QuestionBox::Result QuestionBox::Ask(Window& window, const DialogRequest& request, bool frozen) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    painter_.Prepare(frozen);

    // A report made while the game starts comes before the window is shown.
    window.Show();
    // The box needs the pointer back: shown, and not held by the mouse look.
    SdlInput& devices = window.devices();
    const bool cursorWasShown = devices.cursorShown();
    devices.SetCursorShown(true);

    QuestionPanel panel(request, w, h, [this](const std::string& text) { return painter_.Measure(text); });
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
    painter_.Thaw();
    return result;
}
