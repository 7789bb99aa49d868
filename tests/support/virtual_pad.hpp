// A gamepad for tests: SDL's virtual joystick with every game-controller button and axis, heard
// even though no window has the focus, its triggers at rest.
#pragma once

#include <SDL.h>

namespace test_pad {

// Starts SDL's game controllers and plugs the pad in; null with SDL's reason on failure. The
// pad's device index goes to *index (for pulling it out again).
inline SDL_Joystick* Attach(int* index) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return nullptr;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "KORVELIN test pad";
    *index = SDL_JoystickAttachVirtualEx(&desc);
    if (*index < 0) return nullptr;
    SDL_Joystick* pad = SDL_JoystickOpen(*index);
    if (!pad) return nullptr;
    // A trigger's raw axis rests at its bottom.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    return pad;
}

}  // namespace test_pad
