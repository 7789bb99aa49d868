// AlsaMessageCatcher: keeps ALSA's own error lines off standard error while the sound device
// opens, and remembers the first one as the reason.
#pragma once

#include <string>

// On a machine without a sound card ALSA prints every step of the failed open by itself, several
// lines before the game's own. While a catcher exists, ALSA's messages are caught instead; the
// first one says best what went wrong. Afterwards ALSA prints its messages again, so a fault
// while playing still shows. One catcher at a time.
class AlsaMessageCatcher {
public:
    AlsaMessageCatcher();
    ~AlsaMessageCatcher();
    AlsaMessageCatcher(const AlsaMessageCatcher&) = delete;
    AlsaMessageCatcher& operator=(const AlsaMessageCatcher&) = delete;

    // ALSA's first message since the catcher was made; empty when ALSA said nothing.
    std::string FirstMessage() const;
};
