// Laying out and answering the drawn question box.
#include "ui/question_panel.hpp"

#include <algorithm>

#include "platform/i18n/language.hpp"

using namespace platform;

namespace {

constexpr int kMargin = 40;          // between the box's edge and its text
constexpr int kMinWidth = 440;
constexpr int kButtonWidth = 140, kButtonHeight = 44, kButtonGap = 28;

// The bytes of the UTF-8 character that starts with `lead`.
size_t CharLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string rest = text.substr(start, end - start);
        const size_t before = out.size();
        while (measure(rest) > width) {
            // The longest head that fits, and at least one character.
            size_t cut = CharLength(static_cast<unsigned char>(rest[0]));
            for (size_t next = cut; next < rest.size(); next += CharLength(static_cast<unsigned char>(rest[next]))) {
                if (measure(rest.substr(0, next + CharLength(static_cast<unsigned char>(rest[next])))) > width) break;
                cut = next + CharLength(static_cast<unsigned char>(rest[next]));
            }
            cut = std::min(cut, rest.size());
            const size_t space = rest.rfind(' ', cut);
            const bool atSpace = space != std::string::npos && space > 0 && cut < rest.size();
            out.push_back(rest.substr(0, atSpace ? space : cut));
            rest = rest.substr(atSpace ? space + 1 : cut);
        }
        if (!rest.empty() || out.size() == before) out.push_back(rest);
        start = end + 1;
    }
    return out;
}

QuestionPanel::QuestionPanel(const DialogRequest& request, int pictureWidth, int pictureHeight,
                             const std::function<int(const std::string&)>& measure)
    : request_(request) {
    const int widest = std::max(kMinWidth, pictureWidth - 80);
    lines = WrapText(request.text, widest - 2 * kMargin, measure);
    int textWidth = measure(request.caption);
    for (const std::string& line : lines) textWidth = std::max(textWidth, measure(line));
    const int width = std::clamp(textWidth + 2 * kMargin, kMinWidth, widest);
    const int height = kCaptionHeight + 28 + int(lines.size()) * kLineHeight + 28 + kButtonHeight + 24;
    const int x = (pictureWidth - width) / 2, y = (pictureHeight - height) / 2;
    box = {x, y, x + width, y + height};
    caption = {x, y, x + width, y + kCaptionHeight};
    textArea = {x + kMargin, y + kCaptionHeight + 28, x + width - kMargin, y + kCaptionHeight + 28 + int(lines.size()) * kLineHeight};

    if (request.buttons == DialogButtons::Ok) {
        buttons.push_back({{}, Tr("OK"), DialogAnswer::Ok});
    } else {
        buttons.push_back({{}, Tr("Yes"), DialogAnswer::Yes});
        buttons.push_back({{}, Tr("No"), DialogAnswer::No});
        focus = request.defaultYes ? 0 : 1;
    }
    const int count = int(buttons.size());
    const int rowWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    int bx = x + (width - rowWidth) / 2;
    const int by = box.bottom - 24 - kButtonHeight;
    for (Button& b : buttons) {
        b.rect = {bx, by, bx + kButtonWidth, by + kButtonHeight};
        bx += kButtonWidth + kButtonGap;
    }
}

int QuestionPanel::ButtonAt(Point p) const {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].rect.Contains(p.x, p.y)) return int(i);
    return -1;
}

bool QuestionPanel::Handle(const WindowEvent& e) {
    using Type = WindowEvent::Type;
    using Move = WindowEvent::Move;
    const int count = int(buttons.size());
    const int before = focus;
    switch (e.type) {
        case Type::Navigate:
            switch (e.move) {
                case Move::Up:
                case Move::Left:
                case Move::Previous: focus = (focus + count - 1) % count; break;
                case Move::Down:
                case Move::Right:
                case Move::Next: focus = (focus + 1) % count; break;
                case Move::Accept: answer = buttons[focus].answer; return true;
                case Move::Cancel:
                    // Escape is No, whatever the default: the answer that keeps the game going.
                    answer = request_.buttons == DialogButtons::Ok ? DialogAnswer::Ok : DialogAnswer::No;
                    return true;
                case Move::Yes:
                    if (request_.buttons == DialogButtons::Ok) return false;
                    answer = DialogAnswer::Yes;
                    return true;
            }
            break;
        case Type::PointerMove:
            if (const int hit = ButtonAt(e.pointer); hit >= 0) focus = hit;
            break;
        case Type::PointerPress:
            pressed_ = ButtonAt(e.pointer);
            if (pressed_ >= 0) focus = pressed_;
            break;
        case Type::PointerRelease: {
            const int hit = ButtonAt(e.pointer);
            if (hit >= 0 && hit == pressed_) {
                answer = buttons[hit].answer;
                return true;
            }
            pressed_ = -1;
            break;
        }
        default: break;
    }
    return focus != before;
}
