// Where the game's questions go in the window. In a window where the system's box can be shown,
// there; in full screen (a box would open behind the game), while a gamepad is in use (a system
// box cannot be answered with one), and where no system box can be shown at all, in the game's
// own box drawn over the frozen picture; when a recorded run is replayed, the script answers.
// Every Yes/No answer given while frames run goes into the recording, at the frame it was
// asked in, so a replay meets the same answer at the same question.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/input/input_recorder.hpp"
#include "platform/input/script_player.hpp"
#include "platform/window/dialogs.hpp"

namespace platform {
class Window;
}
class HeldScreen;

class QuestionHandler {
public:
    // The game's own box is a held screen on `screens`' window.
    explicit QuestionHandler(HeldScreen& screens);

    platform::DialogAnswer Ask(const platform::DialogRequest& request);
    // The system's box, where it will do (a window, no gamepad in use, boxes shown so far); none
    // when the game has to ask in its own box, which needs the device.
    std::optional<platform::DialogAnswer> TryAskInSystemBox(const platform::DialogRequest& request);
    // Set by the frame loop: frames run (the back buffer holds a picture, answers are recorded
    // and replayed), and the frame now running.
    bool running = false;
    int64_t frame = 0;
    platform::InputRecorder* recorder = nullptr;
    platform::ScriptPlayer* replay = nullptr;
    // The window was closed while the game's own box asked.
    bool closeRequested = false;
    // Questions asked so far: the game stands still while one waits, and a focus lost to the
    // system's box while it asked is not the player leaving the game.
    int64_t asked = 0;
    // When the last question was answered: the focus coming and going around the system's box
    // is told to the game a little after the box has gone.
    std::chrono::steady_clock::time_point answeredAt{};

private:
    platform::DialogAnswer AskPlayer(const platform::DialogRequest& request);

    HeldScreen& screens_;
    platform::Window& window_;
    bool systemBoxFailed_ = false;  // once no box could be shown, none will be
};

// Says a question nobody sees on standard error, with its answer and where the answer came from
// ("start-up" or "frame 12" for `when`).
void ReportQuestion(const std::string& when, const platform::DialogRequest& request, platform::DialogAnswer answer,
                    const char* how);
