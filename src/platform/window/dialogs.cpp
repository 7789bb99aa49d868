// Message boxes through SDL, owned by the game window.
#include "platform/window/dialogs.hpp"

#include <SDL.h>

#include <langinfo.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/i18n/language.hpp"
#include "platform/window/window.hpp"

namespace platform {

namespace {

DialogHandler& Handler() {
    static DialogHandler handler;
    return handler;
}

bool SystemBoxesSwitchedOff() {
    const char* off = std::getenv("KORVELIN_NO_SYSTEM_BOXES");
    return off && *off && std::strcmp(off, "0") != 0;
}

// The signal handler's state, set before it is installed: only what a handler may touch.
volatile sig_atomic_t gSignalStatus = -1;  // -1: end as the signal's own default would
int gLastWordsFd = -1;
char gLastWords[128];
size_t gLastWordsLength = 0;
// A system box is being shown, by this process.
volatile sig_atomic_t gBoxOpen = 0;
pid_t gBoxOwner = 0;

// SDL shows the system's box in a child process of its own (forked; on Wayland a helper started
// from one). That child must end with the game, however the game ends, and leave the game's
// signals and recording alone: it is killed when the game is gone, and hears signals as any
// program does. Runs in every child forked while a box is being shown, before anything else.
extern "C" void ChildOfTheBox() {
    if (!gBoxOpen) return;
    gLastWordsFd = -1;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != gBoxOwner) ::_exit(0);  // the game ended before the line above
}

extern "C" void EndAtOnce(int signal) {
    if (gLastWordsFd >= 0 && gLastWordsLength > 0) {
        const ssize_t written = ::write(gLastWordsFd, gLastWords, gLastWordsLength);
        (void)written;
    }
    if (gSignalStatus >= 0) ::_exit(gSignalStatus);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// While it lives, SIGTERM and SIGINT end the program at once; the handlers before are put back.
class SignalsEndAtOnce {
public:
    SignalsEndAtOnce() {
        static const int childrenWatched = pthread_atfork(nullptr, nullptr, ChildOfTheBox);
        (void)childrenWatched;
        gBoxOwner = ::getpid();
        gBoxOpen = 1;
        // With the window's events running, SDL turns these signals into a quit, which ends the
        // game with 0; without them the signal's default ends it.
        gSignalStatus = SDL_WasInit(SDL_INIT_VIDEO) ? 0 : -1;
        struct sigaction action {};
        action.sa_handler = EndAtOnce;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, &term_);
        sigaction(SIGINT, &action, &interrupt_);
    }
    ~SignalsEndAtOnce() {
        sigaction(SIGTERM, &term_, nullptr);
        sigaction(SIGINT, &interrupt_, nullptr);
        gBoxOpen = 0;
    }
    SignalsEndAtOnce(const SignalsEndAtOnce&) = delete;
    SignalsEndAtOnce& operator=(const SignalsEndAtOnce&) = delete;

private:
    struct sigaction term_ {}, interrupt_ {};
};

// A quit (SIGTERM, SIGINT, or the window closed) is waiting for the frame loop.
bool QuitWaiting() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    return SDL_HasEvent(SDL_QUIT) == SDL_TRUE;
}

const char* AnswerName(DialogAnswer answer) {
    return answer == DialogAnswer::Yes ? "yes" : answer == DialogAnswer::No ? "no" : "OK";
}

Uint32 IconFlags(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Error: return SDL_MESSAGEBOX_ERROR;
        case DialogIcon::Warning: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

void SetDialogHandler(DialogHandler handler) { Handler() = std::move(handler); }

void SetLastWordsOnSignal(int fd, const std::string& words) {
    gLastWordsFd = -1;
    gLastWordsLength = std::min(words.size(), sizeof gLastWords);
    std::memcpy(gLastWords, words.data(), gLastWordsLength);
    gLastWordsFd = fd;
}

void PreferUtf8ForDialogs() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string keep = current ? current : "C";
    const bool utf8 = std::setlocale(LC_CTYPE, "") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, keep.c_str());
    if (!utf8) setenv("LC_ALL", "C.UTF-8", 1);
}

DialogAnswer ShowDialog(Window* owner, const DialogRequest& r) {
    if (Handler()) return Handler()(r);
    DialogAnswer answer = DefaultAnswer(r);
    std::string why;
    if (!ShowSystemDialog(owner, r, &answer, &why))
        std::fprintf(stderr, Tr("%s: %s (no message box could be shown: %s; answering %s)\n"), r.caption.c_str(),
                     r.text.c_str(), why.c_str(), AnswerName(answer));
    return answer;
}

bool ShowSystemDialog(Window* owner, const DialogRequest& r, DialogAnswer* answer, std::string* why) {
    *answer = DefaultAnswer(r);
    if (SystemBoxesSwitchedOff()) {
        *why = "system boxes are switched off (KORVELIN_NO_SYSTEM_BOXES)";
        return false;
    }

    SDL_MessageBoxButtonData buttons[2] = {};
    int count = 0;
    if (r.buttons == DialogButtons::Ok) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                      static_cast<int>(DialogAnswer::Ok), Tr("OK")};
        count = 1;
    } else {
        // Escape is always No; Return gives the default.
        const Uint32 yesFlags = r.defaultYes ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        const Uint32 noFlags =
            SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT | (r.defaultYes ? 0 : SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT);
        buttons[0] = {yesFlags, static_cast<int>(DialogAnswer::Yes), Tr("Yes")};
        buttons[1] = {noFlags, static_cast<int>(DialogAnswer::No), Tr("No")};
        count = 2;
    }
    SDL_MessageBoxData data = {};
    data.flags = IconFlags(r.icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = owner ? static_cast<SDL_Window*>(owner->NativeHandle()) : nullptr;
    data.title = r.caption.c_str();
    data.message = r.text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;

    // The game hides the cursor and grabs the mouse while playing; a box needs both back.
    SDL_bool relative = SDL_GetRelativeMouseMode();
    SDL_SetRelativeMouseMode(SDL_FALSE);
    int showCursor = SDL_ShowCursor(SDL_QUERY);
    SDL_ShowCursor(SDL_ENABLE);
    int pressed = -1;
    int rc = 0;
    if (!QuitWaiting()) {
        const SignalsEndAtOnce signals;
        rc = SDL_ShowMessageBox(&data, &pressed);
    }
    SDL_ShowCursor(showCursor);
    SDL_SetRelativeMouseMode(relative);
    if (owner) owner->ForgetKeysPressedDuringDialog();

    if (rc != 0) {
        *why = SDL_GetError();
        return false;
    }
    // Closed without a button (by the window manager): the default, as Return would give.
    if (pressed >= 0) *answer = static_cast<DialogAnswer>(pressed);
    return true;
}

bool AskYesNo(Window* owner, const std::string& text, const std::string& caption, bool defaultYes) {
    DialogRequest r{text, caption, DialogIcon::Question, DialogButtons::YesNo, defaultYes};
    return ShowDialog(owner, r) == DialogAnswer::Yes;
}

void ShowMessage(Window* owner, const std::string& text, const std::string& caption, DialogIcon icon) {
    ShowDialog(owner, DialogRequest{text, caption, icon, DialogButtons::Ok, false});
}

}  // namespace platform
