// Plays an input script into the input the game reads, frame by frame: key changes and cursor
// positions take effect before the update of their frame, answers wait for the next question,
// and a quit ends the run before its frame. Headless runs and replays in the window share it,
// so a recorded run is played the same way wherever it is played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "platform/input/dialog_request.hpp"
#include "platform/input/input.hpp"
#include "platform/input/input_script.hpp"

namespace platform {

// A key change or a cursor position, as the game's input takes it; answers and quits are not
// the input's business and are ignored here.
void ApplyInputEvent(const InputEvent& event, ScriptedInput& input);

class ScriptPlayer {
public:
    ScriptPlayer() = default;
    explicit ScriptPlayer(InputScript script) : script_(std::move(script)) {}

    // Applies the events of every frame up to `frame`. False when the script's quit has come:
    // the run ends before this frame runs.
    bool Apply(int64_t frame, ScriptedInput& input);
    // A question takes the oldest answer whose frame has come and that no question has taken
    // yet, else its default; *how says which (" (from the script)" or " (the default)").
    DialogAnswer Answer(const DialogRequest& request, const char** how);
    size_t answersLeft() const { return answers_.size(); }
    // Every event up to the last frame's has been applied: no key, cursor or quit is to come.
    bool Finished() const { return quit_ || next_ == script_.events.size(); }
    // The script says where the run ends (a recording's last line, "F quit").
    bool HasQuit() const {
        for (const InputEvent& e : script_.events)
            if (e.type == InputEvent::Type::Quit) return true;
        return false;
    }
    const InputScript& script() const { return script_; }

private:
    InputScript script_;
    size_t next_ = 0;
    std::deque<bool> answers_;
    bool quit_ = false;
};

}  // namespace platform
