// Modal message boxes owned by the game window: the start-up question, the quit questions and
// error reports. The game installs a handler that sends them where a player can answer them
// (the system's box, or a box the game draws itself); tests install one that answers instead.
#pragma once

#include <functional>
#include <string>

#include "platform/input/dialog_request.hpp"

namespace platform {

class Window;

// Shows a box and waits for the answer: through the handler when one is installed, else in the
// system's box. When no box can be shown, the question goes to standard error and the default
// answer is returned.
DialogAnswer ShowDialog(Window* owner, const DialogRequest& request);

// The system's own box. Buttons read はい / いいえ (or OK); Return gives the default answer and
// Escape answers No (the safe answer: play on), whatever the default. False, with the reason,
// when no box can be shown here: no display, a system without the fonts or helper the box
// needs, or the environment variable KORVELIN_NO_SYSTEM_BOXES set to anything but "" or "0" (as
// if the system had none). The box runs a loop of its own that hears no signal, so while it is
// open SIGTERM and SIGINT end the program at once, with the status they give between frames (0
// once the window's events are running, else the signal's own). A quit already asked for
// (SIGTERM just before) shows no box and gives the default answer.
bool ShowSystemDialog(Window* owner, const DialogRequest& request, DialogAnswer* answer, std::string* why);

// What such a signal writes before the program ends, and where: the recording's last line, so a
// recording ends where the run did. An fd of -1 writes nothing.
void SetLastWordsOnSignal(int fd, const std::string& words);

// The answer Return gives.
DialogAnswer DefaultAnswer(const DialogRequest& request);

// Convenience forms.
bool AskYesNo(Window* owner, const std::string& text, const std::string& caption, bool defaultYes = false);
void ShowMessage(Window* owner, const std::string& text, const std::string& caption, DialogIcon icon);

// The boxes take their text encoding from the environment's locale, and without a UTF-8 one
// (a console with no LANG, LANG=C) they show no text at all. Call once at start-up, before any
// thread: where the locale is not UTF-8, LC_ALL becomes C.UTF-8 for the boxes. The program's
// own reading of files does not depend on the locale.
void PreferUtf8ForDialogs();

// Replaces the real boxes (for tests and automation). An empty handler restores them.
using DialogHandler = std::function<DialogAnswer(const DialogRequest&)>;
void SetDialogHandler(DialogHandler handler);

}  // namespace platform
