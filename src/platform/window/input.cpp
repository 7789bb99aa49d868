// The current input and the scripted implementation.
#include "platform/window/input.hpp"

namespace platform {

namespace {
ScriptedInput& IdleInput() {
    static ScriptedInput idle;
    return idle;
}
Input* gCurrent = nullptr;
}  // namespace

Input& GetInput() { return gCurrent ? *gCurrent : IdleInput(); }
void SetInput(Input* input) { gCurrent = input; }

int16_t ScriptedInput::AsyncKeyState(Key key) {
    auto i = static_cast<size_t>(key);
    int16_t state = down_[i] ? static_cast<int16_t>(0x8000) : 0;
    if (pressed_[i]) state |= 1;
    pressed_[i] = false;
    return state;
}

void ScriptedInput::SetKey(Key key, bool down) {
    auto i = static_cast<size_t>(key);
    if (down && !down_[i]) pressed_[i] = true;
    down_[i] = down;
}

void ScriptedInput::Tap(Key key) {
    pressed_[static_cast<size_t>(key)] = true;
}

}  // namespace platform
