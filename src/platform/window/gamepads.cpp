// Game controllers: hot-plugging, the keys they hold and the right stick's look.
#include "platform/window/gamepads.hpp"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {

constexpr int kLookDeadZone = 7000;        // of 32767: a worn stick at rest stays inside
constexpr int kSlowest = 16;               // one pixel past the mouse look's dead zone
constexpr int kFastest = 200;              // the mouse look turns offset / 100 degrees a frame
constexpr int kPushed = 16384;             // a stick or trigger this far holds its key...
constexpr int kLetGo = 12000;              // ...until it comes back this far

bool Has(uint32_t buttons, SDL_GameControllerButton b) { return (buttons >> b) & 1u; }

// A threshold with some slack, so a stick resting near it does not chatter.
bool Latch(bool held, int value) { return held ? value > kLetGo : value > kPushed; }

}  // namespace

int LookOffset(int axis) {
    const int magnitude = std::min(std::abs(axis), 32767);
    if (magnitude <= kLookDeadZone) return 0;
    const double t = double(magnitude - kLookDeadZone) / double(32767 - kLookDeadZone);
    const int offset = kSlowest + int(std::lround((kFastest - kSlowest) * t * t));
    return axis < 0 ? -offset : offset;
}

Gamepads::~Gamepads() {
    for (Pad& pad : pads_) Close(pad);
}

Gamepads::Pad* Gamepads::Find(int32_t id) {
    for (Pad& pad : pads_)
        if (pad.id == id) return &pad;
    return nullptr;
}

void Gamepads::Close(Pad& pad) {
    if (pad.controller) SDL_GameControllerClose(pad.controller);
    pad.controller = nullptr;
}

Gamepads::Seen Gamepads::HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which);
            if (!controller) return Seen::Pad;
            const int32_t id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (Find(id)) {
                SDL_GameControllerClose(controller);  // announced twice: keep the one opened first
                return Seen::Pad;
            }
            Pad pad;
            pad.controller = controller;
            pad.id = id;
            pads_.push_back(pad);
            return Seen::Pad;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            // What it held is let go with it.
            auto it = std::find_if(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.id == e.cdevice.which; });
            if (it != pads_.end()) {
                Close(*it);
                pads_.erase(it);
            }
            return Seen::Pad;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* pad = Find(e.cbutton.which);
            if (!pad || e.cbutton.button >= 32) return Seen::Pad;
            const uint32_t bit = 1u << e.cbutton.button;
            if (e.type == SDL_CONTROLLERBUTTONDOWN) {
                pad->buttons |= bit;
                return Seen::PadUsed;
            }
            pad->buttons &= ~bit;
            return Seen::Pad;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = Find(e.caxis.which);
            if (!pad) return Seen::Pad;
            const int v = e.caxis.value;
            switch (e.caxis.axis) {
                case SDL_CONTROLLER_AXIS_LEFTX:
                    pad->stickLeft = Latch(pad->stickLeft, -v);
                    pad->stickRight = Latch(pad->stickRight, v);
                    break;
                case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: pad->trigger = Latch(pad->trigger, v); break;
                case SDL_CONTROLLER_AXIS_RIGHTX: pad->rightX = e.caxis.value; break;
                case SDL_CONTROLLER_AXIS_RIGHTY: pad->rightY = e.caxis.value; break;
                default: break;
            }
            return std::abs(v) > kPushed ? Seen::PadUsed : Seen::Pad;
        }
        default: return Seen::NotPad;
    }
}

bool Gamepads::Holds(Key key) const {
    for (const Pad& pad : pads_) {
        const uint32_t b = pad.buttons;
        switch (key) {
            case Key::A:
                if (pad.stickLeft || Has(b, SDL_CONTROLLER_BUTTON_LEFTSHOULDER)) return true;
                break;
            case Key::D:
                if (pad.stickRight || Has(b, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER)) return true;
                break;
            case Key::LeftButton:
                if (pad.trigger || Has(b, SDL_CONTROLLER_BUTTON_A)) return true;
                break;
            case Key::Space:
                if (Has(b, SDL_CONTROLLER_BUTTON_START)) return true;
                break;
            case Key::Escape:
                if (Has(b, SDL_CONTROLLER_BUTTON_BACK)) return true;
                break;
            default: break;
        }
    }
    return false;
}

Point Gamepads::Look() const {
    Point best;
    for (const Pad& pad : pads_) {
        const Point look{LookOffset(pad.rightX), LookOffset(pad.rightY)};
        if (std::abs(look.x) + std::abs(look.y) > std::abs(best.x) + std::abs(best.y)) best = look;
    }
    return best;
}

}  // namespace platform
