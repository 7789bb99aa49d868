// The pause's two buttons and what the player's input does to them.
#include "ui/pause_screen.hpp"

#include "graphics/texture.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/window.hpp"
#include "ui/screen_painter.hpp"

using namespace platform;
using namespace box_colors;

namespace {

constexpr int kCellHeight = ScreenPainter::kCellHeight;
constexpr Color kHintColor = 0xFFA0B4C8;

// The two buttons, under the caption.
constexpr int kButtonWidth = 200, kButtonHeight = 44, kButtonGap = 40;
RectI PauseButton(int index, int w, int h) {
    const int left = w / 2 - kButtonWidth - kButtonGap / 2 + index * (kButtonWidth + kButtonGap);
    const int top = h / 2 + 90;
    return {left, top, left + kButtonWidth, top + kButtonHeight};
}

PauseScreen::Choice ChoiceOf(int button) {
    return button == 0 ? PauseScreen::Choice::Resume : PauseScreen::Choice::Options;
}

}  // namespace

void PauseScreen::Draw(ScreenPainter& painter) {
    const int w = width_, h = height_;
    if (caption_ && caption_->texture) {
        painter.Picture(caption_, w / 2, h / 2 - 20);
    } else {
        const char* word = "PAUSE";
        painter.Text(word, (w - painter.Measure(word)) / 2, h / 2 - 20 - kCellHeight / 2, kText);
    }
    const char* labels[] = {Tr("Resume"), Tr("Options")};
    for (int i = 0; i < 2; ++i) {
        const RectI r = PauseButton(i, w, h);
        if (i == focus_) painter.Fill({r.left - 3, r.top - 3, r.right + 3, r.bottom + 3}, kEdge);
        painter.Fill(r, i == focus_ ? kFocused : kButton);
        painter.Text(labels[i], r.left + (r.Width() - painter.Measure(labels[i])) / 2,
                     r.top + (r.Height() - kCellHeight) / 2, kText);
    }
    const char* hint = Tr("P or Start: resume     O or Y: options");
    painter.Text(hint, (w - painter.Measure(hint)) / 2, h / 2 + 160, kHintColor);
}

bool PauseScreen::Handle(const WindowEvent& e) {
    using Type = WindowEvent::Type;
    using Move = WindowEvent::Move;
    if (e.pause) {
        Choose(Choice::Resume);
        return false;
    }
    switch (e.type) {
        case Type::Options: Choose(Choice::Options); return false;
        case Type::Navigate:
            if (e.move == Move::Accept) Choose(ChoiceOf(focus_));
            else if (e.move == Move::Cancel) Choose(Choice::Resume);
            else focus_ = 1 - focus_;
            return !done_;
        case Type::PointerMove:
        case Type::PointerPress:
        case Type::PointerRelease: {
            bool changed = false;
            for (int i = 0; i < 2; ++i) {
                if (!PauseButton(i, width_, height_).Contains(e.pointer.x, e.pointer.y)) continue;
                if (e.type == Type::PointerRelease && pressed_ == i) {
                    Choose(ChoiceOf(i));
                    return false;
                }
                changed = changed || focus_ != i;
                focus_ = i;
                if (e.type == Type::PointerPress) pressed_ = i;
            }
            if (e.type == Type::PointerRelease) pressed_ = -1;
            return changed;
        }
        default: return false;
    }
}
