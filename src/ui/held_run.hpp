// Holding the game between two frames of the window's loop: the pause over the run's frozen
// picture, with the way to the options and back, the music and the sounding shots held
// meanwhile; and the options on their own (from the title) over the picture the player sees.
// No update runs while either shows, so a held run changes neither a trace nor a recording.
#pragma once

#include <string>

#include "platform/settings/settings_table.hpp"

class HeldScreen;
class SoundManager;
class Texture;

// What the options screen changes: the player's settings, heard by the game at once, and kept
// when the screen closes.
class SettingsOwner {
public:
    virtual ~SettingsOwner() = default;
    virtual const platform::Settings& Chosen() const = 0;
    virtual void Change(const platform::Settings& chosen) = 0;
    // The options screen has closed: its changes are to be kept. Empty when they are (or there
    // was nothing to keep); else what failed, in the player's words, for the window to say.
    virtual std::string Keep() = 0;
};

class HeldRun {
public:
    explicit HeldRun(HeldScreen& screens) : screens_(screens) {}

    // The options screen over the picture the player sees now. A change of a volume plays a shot
    // at the new level; settings that cannot be kept when it closes are said in a box. False when
    // the window was asked to close meanwhile.
    bool Options(SettingsOwner& settings, SoundManager& sound);
    // The pause over the run's picture; `caption` is the PAUSE picture (none: the word). False
    // when the window was asked to close meanwhile.
    bool Pause(SettingsOwner& settings, SoundManager& sound, const Texture* caption);

private:
    bool ShowOptions(SettingsOwner& settings, SoundManager& sound);

    HeldScreen& screens_;
};
