// Message boxes through SDL, owned by the game window.
#include "platform/window/dialogs.hpp"

#include <SDL.h>

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
        std::fprintf(stderr, "%s: %s (no message box could be shown: %s; answering %s)\n", r.caption.c_str(),
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
                      static_cast<int>(DialogAnswer::Ok), "OK"};
        count = 1;
    } else {
        Uint32 yesFlags = r.defaultYes ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        Uint32 noFlags = r.defaultYes ? SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT : SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        buttons[0] = {yesFlags, static_cast<int>(DialogAnswer::Yes), "はい"};
        buttons[1] = {noFlags, static_cast<int>(DialogAnswer::No), "いいえ"};
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
    int rc = SDL_ShowMessageBox(&data, &pressed);
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
