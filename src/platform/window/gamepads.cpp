// Game controllers: hot-plugging, what each holds and the right stick's look.
#include "platform/window/gamepads.hpp"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {

static_assert(SDL_CONTROLLER_AXIS_MAX == 6);

constexpr int kLookDeadZone = 7000;        // of 32767: a worn stick at rest stays inside
constexpr int kSlowest = 16;               // one pixel past the mouse look's dead zone
constexpr int kFastest = 200;              // the mouse look turns offset / 100 degrees a frame
constexpr int kPushed = 16384;             // a stick or trigger this far holds its way...
constexpr int kLetGo = 12000;              // ...until it comes back this far

// The way an axis is pushed now, given the way it was pushed: a threshold with some slack.
int8_t Pushed(int8_t was, int value) {
    if (was > 0 && value > kLetGo) return 1;
    if (was < 0 && value < -kLetGo) return -1;
    return value > kPushed ? 1 : value < -kPushed ? -1 : 0;
}

}  // namespace

int LookOffset(int axis, double scale) {
    const int magnitude = std::min(std::abs(axis), 32767);
    if (magnitude <= kLookDeadZone) return 0;
    const double t = double(magnitude - kLookDeadZone) / double(32767 - kLookDeadZone);
    const int base = kSlowest + int(std::lround((kFastest - kSlowest) * t * t));
    const int offset = std::max(kSlowest, int(std::lround(base * scale)));
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

Gamepads::Seen Gamepads::HandleEvent(const SDL_Event& e, std::optional<DeviceInput>* pressed) {
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
                if (pressed && !(pad->buttons & bit)) *pressed = DeviceInput{DeviceInput::Kind::PadButton, e.cbutton.button, 0};
                pad->buttons |= bit;
                return Seen::PadUsed;
            }
            pad->buttons &= ~bit;
            return Seen::Pad;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = Find(e.caxis.which);
            if (!pad || e.caxis.axis >= kAxes) return Seen::Pad;
            const int v = e.caxis.value;
            int8_t& way = pad->pushed[e.caxis.axis];
            const int8_t was = way;
            way = Pushed(was, v);
            if (pressed && way != 0 && way != was) *pressed = DeviceInput{DeviceInput::Kind::PadAxis, e.caxis.axis, way};
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_RIGHTX) pad->rightX = e.caxis.value;
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_RIGHTY) pad->rightY = e.caxis.value;
            return std::abs(v) > kPushed ? Seen::PadUsed : Seen::Pad;
        }
        default: return Seen::NotPad;
    }
}

bool Gamepads::Holds(const DeviceInput& input) const {
    for (const Pad& pad : pads_) {
        if (input.kind == DeviceInput::Kind::PadButton && input.code >= 0 && input.code < 32 &&
            ((pad.buttons >> input.code) & 1u))
            return true;
        if (input.kind == DeviceInput::Kind::PadAxis && input.code >= 0 && size_t(input.code) < kAxes &&
            pad.pushed[size_t(input.code)] == input.way)
            return true;
    }
    return false;
}

Point Gamepads::Look(double scale) const {
    Point best;
    for (const Pad& pad : pads_) {
        const Point look{LookOffset(pad.rightX, scale), LookOffset(pad.rightY, scale)};
        if (std::abs(look.x) + std::abs(look.y) > std::abs(best.x) + std::abs(best.y)) best = look;
    }
    return best;
}

}  // namespace platform
