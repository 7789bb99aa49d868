// The current input and the scripted implementation.
#include "platform/input/input.hpp"

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

void KeyLatches::Pressed(Key key) {
    const auto i = static_cast<size_t>(key);
    pressed_[i] = true;
    stale_[i] = false;
}

void KeyLatches::Released(Key key) { stale_[static_cast<size_t>(key)] = false; }

int16_t KeyLatches::Query(Key key, bool down) {
    const auto i = static_cast<size_t>(key);
    if (stale_[i]) {
        // Held since before ForgetKeys (no press can be pending: a press ends the hold).
        if (!down) stale_[i] = false;  // released, whether or not the release came as an event
        return 0;
    }
    int16_t state = down ? static_cast<int16_t>(0x8000) : 0;
    if (pressed_[i]) state |= 1;
    pressed_[i] = false;
    return state;
}

void KeyLatches::Forget(Key key, bool downNow) {
    const auto i = static_cast<size_t>(key);
    pressed_[i] = false;
    stale_[i] = downNow;
}

int16_t ScriptedInput::AsyncKeyState(Key key) { return latches_.Query(key, down_[static_cast<size_t>(key)]); }

void ScriptedInput::ForgetKeys() {
    for (size_t i = 0; i < down_.size(); ++i) latches_.Forget(static_cast<Key>(i), down_[i]);
}

void ScriptedInput::SetKey(Key key, bool down) {
    auto i = static_cast<size_t>(key);
    if (down && !down_[i]) latches_.Pressed(key);
    if (!down) latches_.Released(key);
    down_[i] = down;
}

void ScriptedInput::Tap(Key key) { latches_.Pressed(key); }

}  // namespace platform
