// The controls' names and the default keys and buttons.
#include "platform/settings/settings.hpp"

namespace platform {

const char* ControlSettingKey(Control control) {
    switch (control) {
        case Control::SlideLeft: return "slide_left";
        case Control::SlideRight: return "slide_right";
        case Control::Fire: return "fire";
        case Control::Start: return "start";
        case Control::Back: return "back";
        case Control::Pause: return "pause";
        case Control::Count: break;
    }
    return "";
}

bool MayShareKeys(Control a, Control b) {
    return (a == Control::Start && b == Control::Pause) || (a == Control::Pause && b == Control::Start);
}

// Letter keys by their place: "A" is where A sits on a QWERTY keyboard, whatever the layout.
Bindings Settings::DefaultKeys() { return {{{"A"}, {"D"}, {"MouseLeft"}, {"Space"}, {"Escape"}, {"P"}}}; }

// The left stick or the shoulder buttons slide, the right trigger or the south button fires.
Bindings Settings::DefaultButtons() {
    return {{{"leftx-", "leftshoulder"}, {"leftx+", "rightshoulder"}, {"righttrigger", "a"}, {"start"}, {"back"},
             {"start"}}};
}

}  // namespace platform
