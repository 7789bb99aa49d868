// Drawing the game's own question box and waiting for its answer.
#include "ui/question_box.hpp"

#include <optional>

#include "graphics/graphics_device.hpp"
#include "ui/held_screen.hpp"
#include "ui/screen_painter.hpp"

using namespace platform;
using namespace box_colors;

namespace {
constexpr int kCellHeight = ScreenPainter::kCellHeight;
}  // namespace

QuestionScreen::QuestionScreen(HeldScreen& screens, const DialogRequest& request)
    : panel_(request, GraphicsDevice::Instance().presentParams.backBufferWidth,
             GraphicsDevice::Instance().presentParams.backBufferHeight,
             [&screens](const std::string& text) { return screens.Measure(text); }) {}

void QuestionScreen::WindowClosed() { panel_.answer = DefaultAnswer(panel_.request()); }

void QuestionScreen::Draw(ScreenPainter& painter) {
    const QuestionPanel& panel = panel_;
    const RectI& b = panel.box;
    painter.Fill({b.left - 2, b.top - 2, b.right + 2, b.bottom + 2}, kEdge);
    painter.Fill(b, kFace);
    painter.Fill(panel.caption, kCaption);
    const int captionY = panel.caption.top + (QuestionPanel::kCaptionHeight - kCellHeight) / 2;
    painter.Text(panel.request().caption, panel.caption.left + 14, captionY, kText);
    int y = panel.textArea.top;
    for (const std::string& line : panel.lines) {
        painter.Text(line, panel.textArea.left, y, kText);
        y += QuestionPanel::kLineHeight;
    }
    for (size_t i = 0; i < panel.buttons.size(); ++i) {
        const QuestionPanel::Button& button = panel.buttons[i];
        const RectI& r = button.rect;
        const bool focused = int(i) == panel.focus;
        if (focused) painter.Fill({r.left - 3, r.top - 3, r.right + 3, r.bottom + 3}, kEdge);
        painter.Fill(r, focused ? kFocused : kButton);
        const int labelWidth = painter.Measure(button.label);
        painter.Text(button.label, r.left + (r.Width() - labelWidth) / 2, r.top + (r.Height() - kCellHeight) / 2,
                     kText);
    }
}

QuestionResult AskInGameBox(HeldScreen& screens, const DialogRequest& request, bool overFrozen) {
    std::optional<FrozenPicture> frozen;
    if (overFrozen) frozen.emplace(screens);
    QuestionScreen screen(screens, request);
    QuestionResult result;
    result.closed = screens.Run(screen) == HeldScreen::End::WindowClosed;
    result.answer = screen.answer();
    return result;
}
