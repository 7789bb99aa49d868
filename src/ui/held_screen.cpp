// The pause and the options screen, drawn over the held picture in the question box's style.
#include "graphics/held_screens.hpp"

#include "graphics/graphics_device.hpp"
#include "graphics/options_menu.hpp"
#include "graphics/texture.hpp"
#include "platform/i18n/language.hpp"
#include "platform/render/letterbox.hpp"
#include "platform/window/sdl_input.hpp"
#include "platform/window/window.hpp"

using namespace platform;
using namespace box_colors;

namespace {

constexpr int kWaitMs = 250;  // the loop sleeps in the system until an event comes
constexpr int kCellHeight = ScreenPainter::kCellHeight;

constexpr Color kPauseDim = 0xB0000000;
constexpr Color kDim = 0xC0000000;
constexpr Color kHintColor = 0xFFA0B4C8;
constexpr Color kWaitingColor = 0xFFFFD060;

// The pause's two buttons, under the caption.
constexpr int kButtonWidth = 200, kButtonHeight = 44, kButtonGap = 40;
RectI PauseButton(int index, int w, int h) {
    const int left = w / 2 - kButtonWidth - kButtonGap / 2 + index * (kButtonWidth + kButtonGap);
    const int top = h / 2 + 90;
    return {left, top, left + kButtonWidth, top + kButtonHeight};
}

// The event's pointer from window pixels to picture pixels.
void ToPicture(Window& window, WindowEvent& e, int w, int h) {
    int cw = w, ch = h;
    window.GetClientSize(&cw, &ch);
    Letterbox::Fit(cw, ch, w, h).ToPicture(e.pointer.x, e.pointer.y, w, h, &e.pointer.x, &e.pointer.y);
}

bool Inside(const RectI& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The pointer shown and free of the mouse look while a held screen shows; as it was after.
class FreePointer {
public:
    explicit FreePointer(SdlInput& devices) : devices_(devices), was_(devices.cursorShown()) {
        devices.SetCursorShown(true);
    }
    ~FreePointer() { devices_.SetCursorShown(was_); }

private:
    SdlInput& devices_;
    bool was_;
};

}  // namespace

void HeldScreens::DrawPause(Window& window, const Texture* caption, int focus) {
    const GraphicsDevice& gd = GraphicsDevice::Instance();
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    if (!painter_.Begin(kPauseDim)) return;
    if (caption && caption->texture) {
        painter_.Picture(caption, w / 2, h / 2 - 20);
    } else {
        const char* word = "PAUSE";
        painter_.Text(word, (w - painter_.Measure(word)) / 2, h / 2 - 20 - kCellHeight / 2, kText);
    }
    const char* labels[] = {Tr("Resume"), Tr("Options")};
    for (int i = 0; i < 2; ++i) {
        const RectI r = PauseButton(i, w, h);
        if (i == focus) painter_.Fill({r.left - 3, r.top - 3, r.right + 3, r.bottom + 3}, kEdge);
        painter_.Fill(r, i == focus ? kFocused : kButton);
        painter_.Text(labels[i], r.left + (r.Width() - painter_.Measure(labels[i])) / 2,
                      r.top + (r.Height() - kCellHeight) / 2, kText);
    }
    const char* hint = Tr("P or Start: resume     O or Y: options");
    painter_.Text(hint, (w - painter_.Measure(hint)) / 2, h / 2 + 160, kHintColor);
    painter_.End(window);
}

HeldScreens::PauseEnd HeldScreens::Pause(Window& window, const Texture* caption) {
    const GraphicsDevice& gd = GraphicsDevice::Instance();
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    painter_.Prepare(true);
    window.Show();
    FreePointer pointer(window.devices());
    int focus = 0;
    int pressed = -1;
    bool dirty = true;
    for (;;) {
        if (dirty) DrawPause(window, caption, focus);
        dirty = false;
        WindowEvent e;
        if (!window.PollEvent(&e, kWaitMs)) continue;
        using Type = WindowEvent::Type;
        using Move = WindowEvent::Move;
        if (e.pause) return PauseEnd::Resume;
        switch (e.type) {
            case Type::Close: return PauseEnd::Close;
            case Type::Options: return PauseEnd::Options;
            case Type::ToggleFullscreen: GraphicsDevice::Instance().SetFullScreen(!window.IsFullscreen()); [[fallthrough]];
            case Type::Size:
            case Type::Exposed: dirty = true; break;
            case Type::Navigate:
                if (e.move == Move::Accept) return focus == 0 ? PauseEnd::Resume : PauseEnd::Options;
                if (e.move == Move::Cancel) return PauseEnd::Resume;
                focus = 1 - focus;
                dirty = true;
                break;
            case Type::PointerMove:
            case Type::PointerPress:
            case Type::PointerRelease:
                ToPicture(window, e, w, h);
                for (int i = 0; i < 2; ++i) {
                    if (!Inside(PauseButton(i, w, h), e.pointer)) continue;
                    if (e.type == Type::PointerRelease && pressed == i)
                        return i == 0 ? PauseEnd::Resume : PauseEnd::Options;
                    dirty = dirty || focus != i;
                    focus = i;
                    if (e.type == Type::PointerPress) pressed = i;
                }
                if (e.type == Type::PointerRelease) pressed = -1;
                break;
            default: break;
        }
    }
}

void HeldScreens::DrawOptions(Window& window, const OptionsMenu& menu) {
    if (!painter_.Begin(kDim)) return;
    const RectI& b = menu.box;
    painter_.Fill({b.left - 2, b.top - 2, b.right + 2, b.bottom + 2}, kEdge);
    painter_.Fill(b, kFace);
    const RectI caption{b.left, b.top, b.right, b.top + OptionsMenu::kCaptionHeight};
    painter_.Fill(caption, kCaption);
    painter_.Text(Tr("OPTIONS"), caption.left + 14, caption.top + (caption.Height() - kCellHeight) / 2, kText);
    const char* hint = menu.waiting() ? (menu.column() == 0 ? Tr("Press a key or mouse button") : Tr("Press a gamepad button"))
                                      : Tr("Arrows: choose, change   Return: select   Esc: done");
    painter_.Text(hint, caption.right - 14 - painter_.Measure(hint), caption.top + (caption.Height() - kCellHeight) / 2,
                  menu.waiting() ? kWaitingColor : kHintColor);
    const auto& items = menu.items();
    for (size_t i = 0; i < items.size(); ++i) {
        const OptionsMenu::Item& item = items[i];
        const bool focused = i == menu.focus();
        const int textY = item.rect.top + (item.rect.Height() - kCellHeight) / 2;
        const bool binding = item.row == OptionsMenu::Row::Binding;
        const bool button = item.row == OptionsMenu::Row::Defaults || item.row == OptionsMenu::Row::Done;
        if (focused && !binding) painter_.Fill(item.rect, kFocused);
        painter_.Text(OptionsMenu::Label(item), item.rect.left + 12, textY, kText);
        if (button) continue;
        for (int cell = 0; cell < (binding ? 2 : 1); ++cell) {
            const RectI& r = item.cells[cell];
            const bool here = focused && (!binding || menu.column() == cell);
            if (binding) {
                if (here) painter_.Fill({r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}, kEdge);
                painter_.Fill(r, here ? kFocused : kButton);
            }
            const bool waiting = here && menu.waiting();
            const std::string value = waiting ? "..." : menu.Value(item, cell);
            painter_.Text(value, r.left + 10, textY, waiting ? kWaitingColor : kText);
        }
    }
    // The two columns of the controls' rows.
    const OptionsMenu::Item* first = nullptr;
    for (const auto& item : items)
        if (item.row == OptionsMenu::Row::Binding && !first) first = &item;
    if (first) {
        const int y = first->rect.top - kCellHeight - 2;
        painter_.Text(Tr("Keyboard, mouse"), first->cells[0].left + 10, y, kHintColor);
        painter_.Text(Tr("Gamepad"), first->cells[1].left + 10, y, kHintColor);
    }
    painter_.End(window);
}

bool HeldScreens::Options(Window& window, Settings& settings, const Apply& apply, bool frozen) {
    const GraphicsDevice& gd = GraphicsDevice::Instance();
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    painter_.Prepare(frozen);
    window.Show();
    FreePointer pointer(window.devices());
    OptionsMenu menu(settings, w, h);
    bool dirty = true;
    bool open = true;
    for (;;) {
        if (dirty) DrawOptions(window, menu);
        dirty = false;
        WindowEvent e;
        if (!window.PollEvent(&e, kWaitMs)) continue;
        using Type = WindowEvent::Type;
        if (e.type == Type::Close) {
            open = false;
            break;
        }
        if (e.type == Type::ToggleFullscreen) GraphicsDevice::Instance().SetFullScreen(!window.IsFullscreen());
        if (e.type == Type::PointerMove || e.type == Type::PointerPress || e.type == Type::PointerRelease)
            ToPicture(window, e, w, h);
        const OptionsMenu::Outcome outcome = menu.Handle(e);
        using Outcome = OptionsMenu::Outcome;
        if (outcome == Outcome::Leave) break;
        if (outcome == Outcome::Changed || outcome == Outcome::VolumeChanged) {
            settings = menu.settings();
            apply(settings, outcome == Outcome::VolumeChanged);
        }
        dirty = outcome != Outcome::Nothing || e.type == Type::Size || e.type == Type::Exposed ||
                e.type == Type::ToggleFullscreen;
    }
    if (frozen) painter_.Thaw();
    window.ForgetKeysPressedDuringDialog();
    return open;
}
