// Drawing the options screen.
#include "ui/options_screen.hpp"

#include "platform/i18n/language.hpp"
#include "ui/screen_painter.hpp"

using namespace platform;
using namespace box_colors;

namespace {
constexpr int kCellHeight = ScreenPainter::kCellHeight;
constexpr Color kHintColor = 0xFFA0B4C8;
constexpr Color kWaitingColor = 0xFFFFD060;
using Kind = OptionsMenu::Item::Kind;
}  // namespace

bool OptionsScreen::Handle(const WindowEvent& e) {
    const OptionsMenu::Outcome outcome = menu_.Handle(e);
    if (outcome == OptionsMenu::Outcome::Leave) done_ = true;
    if (outcome == OptionsMenu::Outcome::Changed) changed_(menu_.settings(), menu_.changedGroup());
    return outcome != OptionsMenu::Outcome::Nothing;
}

void OptionsScreen::Draw(ScreenPainter& painter) {
    const OptionsMenu& menu = menu_;
    const RectI& b = menu.box;
    painter.Fill({b.left - 2, b.top - 2, b.right + 2, b.bottom + 2}, kEdge);
    painter.Fill(b, kFace);
    const RectI caption{b.left, b.top, b.right, b.top + OptionsMenu::kCaptionHeight};
    painter.Fill(caption, kCaption);
    painter.Text(Tr("OPTIONS"), caption.left + 14, caption.top + (caption.Height() - kCellHeight) / 2, kText);
    const char* hint = menu.waiting() ? (menu.column() == 0 ? Tr("Press a key or mouse button") : Tr("Press a gamepad button"))
                                      : Tr("Arrows: choose, change   Return: select   Esc: done");
    painter.Text(hint, caption.right - 14 - painter.Measure(hint), caption.top + (caption.Height() - kCellHeight) / 2,
                 menu.waiting() ? kWaitingColor : kHintColor);
    const auto& items = menu.items();
    const OptionsMenu::Item* firstBinding = nullptr;
    for (size_t i = 0; i < items.size(); ++i) {
        const OptionsMenu::Item& item = items[i];
        const bool focused = i == menu.focus();
        const int textY = item.rect.top + (item.rect.Height() - kCellHeight) / 2;
        const bool binding = item.kind == Kind::Binding;
        if (binding && !firstBinding) firstBinding = &item;
        if (focused && !binding) painter.Fill(item.rect, kFocused);
        painter.Text(OptionsMenu::Label(item), item.rect.left + 12, textY, kText);
        if (item.kind == Kind::Defaults || item.kind == Kind::Done) continue;
        for (int cell = 0; cell < (binding ? 2 : 1); ++cell) {
            const RectI& r = item.cells[cell];
            const bool here = focused && (!binding || menu.column() == cell);
            if (binding) {
                if (here) painter.Fill({r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}, kEdge);
                painter.Fill(r, here ? kFocused : kButton);
            }
            const bool waiting = here && menu.waiting();
            const std::string value = waiting ? "..." : menu.Value(item, cell);
            painter.Text(value, r.left + 10, textY, waiting ? kWaitingColor : kText);
        }
    }
    // The two columns of the controls' rows.
    if (firstBinding) {
        const int y = firstBinding->rect.top - kCellHeight - 2;
        painter.Text(Tr("Keyboard, mouse"), firstBinding->cells[0].left + 10, y, kHintColor);
        painter.Text(Tr("Gamepad"), firstBinding->cells[1].left + 10, y, kHintColor);
    }
}
