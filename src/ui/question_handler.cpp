// Sending each question where the player can answer it.
#include "ui/question_handler.hpp"

#include <cstdio>
#include <string>

#include "graphics/graphics_device.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/sdl_input.hpp"
#include "platform/window/window.hpp"
#include "ui/held_screen.hpp"
#include "ui/question_box.hpp"

using namespace platform;

void ReportQuestion(const std::string& when, const DialogRequest& r, DialogAnswer answer, const char* how) {
    const char* shown = r.buttons == DialogButtons::Ok ? "" : answer == DialogAnswer::Yes ? " -> yes" : " -> no";
    std::fprintf(stderr, "korvelin: %s: %s: %s%s%s\n", when.c_str(), r.caption.c_str(), r.text.c_str(), shown, how);
}

QuestionHandler::QuestionHandler(HeldScreen& screens) : screens_(screens), window_(screens.window()) {}

std::optional<DialogAnswer> QuestionHandler::TryAskInSystemBox(const DialogRequest& r) {
    if (systemBoxFailed_ || window_.IsFullscreen() || window_.devices().gamepadInUse()) return std::nullopt;
    DialogAnswer answer = DefaultAnswer(r);
    std::string why;
    // A signal that ends the game while the box is open ends the recording where the run ends.
    if (recorder && running) {
        recorder->Flush();
        InputEvent quit;
        quit.frame = frame;
        quit.type = InputEvent::Type::Quit;
        SetLastWordsOnSignal(recorder->fd(), FormatInputEvent(quit) + "\n");
    }
    const bool shown = ShowSystemDialog(&window_, r, &answer, &why);
    SetLastWordsOnSignal(-1, "");
    if (shown) return answer;
    std::fprintf(stderr, Tr("korvelin: no system message box (%s): the game asks in its own box\n"), why.c_str());
    systemBoxFailed_ = true;
    return std::nullopt;
}

DialogAnswer QuestionHandler::AskPlayer(const DialogRequest& r) {
    if (const std::optional<DialogAnswer> answer = TryAskInSystemBox(r)) return *answer;
    if (!GraphicsDevice::Instance().device || GraphicsDevice::Instance().window != &window_) {
        // Before the device exists nothing can be drawn: said here, answered by default.
        const DialogAnswer answer = DefaultAnswer(r);
        ReportQuestion("start-up", r, answer, " (the default)");
        return answer;
    }
    const QuestionResult result = AskInGameBox(screens_, r, running);
    if (result.closed) closeRequested = true;
    return result.answer;
}

DialogAnswer QuestionHandler::Ask(const DialogRequest& r) {
    ++asked;
    const bool question = r.buttons == DialogButtons::YesNo;
    if (question && running && replay) {
        const char* how = "";
        const DialogAnswer answer = replay->Answer(r, &how);
        ReportQuestion("frame " + std::to_string(frame), r, answer, how);
        return answer;
    }
    const DialogAnswer answer = AskPlayer(r);
    answeredAt = std::chrono::steady_clock::now();
    if (question && running && recorder) {
        InputEvent e;
        e.frame = frame;
        e.type = InputEvent::Type::Answer;
        e.yes = answer == DialogAnswer::Yes;
        recorder->Write(e);
    }
    return answer;
}
