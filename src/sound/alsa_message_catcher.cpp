// ALSA's error handler, pointed at a store of the first message.
#include "sound/alsa_message_catcher.hpp"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

std::mutex gMutex;  // the mixer's thread may report while the device starts
std::string gFirst;

void Catch(const char* /*file*/, int /*line*/, const char* /*function*/, int err, const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    const std::lock_guard<std::mutex> lock(gMutex);
    if (!gFirst.empty()) return;
    gFirst = text;
    if (err != 0) gFirst += std::string(": ") + snd_strerror(err);
}

}  // namespace

AlsaMessageCatcher::AlsaMessageCatcher() {
    {
        const std::lock_guard<std::mutex> lock(gMutex);
        gFirst.clear();
    }
    snd_lib_error_set_handler(Catch);
}

AlsaMessageCatcher::~AlsaMessageCatcher() { snd_lib_error_set_handler(nullptr); }

std::string AlsaMessageCatcher::FirstMessage() const {
    const std::lock_guard<std::mutex> lock(gMutex);
    return gFirst;
}
