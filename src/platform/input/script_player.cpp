// Playing input scripts frame by frame.
#include "platform/input/script_player.hpp"

namespace platform {

void ApplyInputEvent(const InputEvent& e, ScriptedInput& input) {
    switch (e.type) {
        case InputEvent::Type::Down: input.SetKey(e.key, true); break;
        case InputEvent::Type::Up: input.SetKey(e.key, false); break;
        case InputEvent::Type::Cursor: input.SetCursor(input.ClientToScreen(e.cursor)); break;
        case InputEvent::Type::Answer:
        case InputEvent::Type::Quit: break;
    }
}

bool ScriptPlayer::Apply(int64_t frame, ScriptedInput& input) {
    const std::vector<InputEvent>& events = script_.events;
    for (; !quit_ && next_ < events.size() && events[next_].frame <= frame; ++next_) {
        const InputEvent& e = events[next_];
        if (e.type == InputEvent::Type::Quit) quit_ = true;
        else if (e.type == InputEvent::Type::Answer) answers_.push_back(e.yes);
        else ApplyInputEvent(e, input);
    }
    return !quit_;
}

DialogAnswer ScriptPlayer::Answer(const DialogRequest& r, const char** how) {
    *how = "";
    if (r.buttons == DialogButtons::Ok) return DefaultAnswer(r);
    if (answers_.empty()) {
        *how = " (the default)";
        return DefaultAnswer(r);
    }
    const bool yes = answers_.front();
    answers_.pop_front();
    *how = " (from the script)";
    return yes ? DialogAnswer::Yes : DialogAnswer::No;
}

}  // namespace platform
