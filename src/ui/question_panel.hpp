// The question box the game draws itself: where its parts lie on the picture, and how it is
// answered. The focus starts on the button Return gives (the default); arrows and Tab move it,
// Return, Space or the gamepad's south button press it; Escape, N or the east button answer No
// and Y answers Yes; the pointer presses the button it is let go over.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/render/sprite_batch.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/window.hpp"

class QuestionPanel {
public:
    struct Button {
        platform::RectI rect;
        const char* label = "";
        platform::DialogAnswer answer = platform::DialogAnswer::Ok;
    };
    // Pixels of the laid-out box, for a face whose lines are kLineHeight apart.
    static constexpr int kLineHeight = 30;
    static constexpr int kCaptionHeight = 36;

    // Lays the box out in the middle of a picture of this size. `measure` gives the width of a
    // line of text in pixels; longer lines are wrapped (at a space where there is one).
    QuestionPanel(const platform::DialogRequest& request, int pictureWidth, int pictureHeight,
                  const std::function<int(const std::string&)>& measure);

    // One move or pointer event, its pointer in picture pixels. True when it changed what the
    // box shows or answered it.
    bool Handle(const platform::WindowEvent& event);

    const platform::DialogRequest& request() const { return request_; }
    platform::RectI box, caption;
    std::vector<std::string> lines;    // the text, wrapped
    platform::RectI textArea;          // where the first line starts
    std::vector<Button> buttons;       // left to right
    int focus = 0;
    std::optional<platform::DialogAnswer> answer;

private:
    int ButtonAt(platform::Point p) const;
    platform::DialogRequest request_;
    int pressed_ = -1;  // the button the pointer went down on
};

// Breaks `text` into lines no wider than `width`: at its newlines, then at the last space that
// fits, else between two characters.
std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure);
