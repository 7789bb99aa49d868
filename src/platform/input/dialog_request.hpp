// A question or message for the player, as the game asks it and as input scripts answer it;
// where it is shown is the window's business (platform/window/dialogs.hpp).
#pragma once

#include <string>

namespace platform {

enum class DialogIcon { Question, Error, Warning, Info };
enum class DialogButtons { Ok, YesNo };
enum class DialogAnswer { Ok, Yes, No };

struct DialogRequest {
    std::string text;
    std::string caption;
    DialogIcon icon = DialogIcon::Info;
    DialogButtons buttons = DialogButtons::Ok;
    bool defaultYes = false;  // for YesNo: which answer Return gives
};

// The answer Return gives.
inline DialogAnswer DefaultAnswer(const DialogRequest& r) {
    if (r.buttons == DialogButtons::Ok) return DialogAnswer::Ok;
    return r.defaultYes ? DialogAnswer::Yes : DialogAnswer::No;
}

}  // namespace platform
