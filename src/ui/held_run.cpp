// The pause and the options, one held screen after another.
#include "ui/held_run.hpp"

#include "graphics/graphics_device.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/dialogs.hpp"
#include "sound/sound_manager.hpp"
#include "ui/held_screen.hpp"
#include "ui/options_screen.hpp"
#include "ui/pause_screen.hpp"

using namespace platform;

namespace {
constexpr const char* kLevelSound = "data/sound/shot.wav";  // heard at the effects' new level
}  // namespace

bool HeldRun::ShowOptions(SettingsOwner& settings, SoundManager& sound) {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    OptionsScreen screen(settings.Chosen(), pp.backBufferWidth, pp.backBufferHeight,
                         [&](const Settings& chosen, SettingGroup touched) {
                             settings.Change(chosen);
                             if (touched == SettingGroup::Audio) sound.PlayShot3D(kLevelSound);
                         });
    const bool open = screens_.Run(screen) == HeldScreen::End::Done;
    const std::string failed = settings.Keep();
    if (!failed.empty()) ShowMessage(&screens_.window(), failed, Tr("Settings"), DialogIcon::Warning);
    return open;
}

bool HeldRun::Options(SettingsOwner& settings, SoundManager& sound) {
    FrozenPicture frozen(screens_);
    return ShowOptions(settings, sound);
}

bool HeldRun::Pause(SettingsOwner& settings, SoundManager& sound, const Texture* caption) {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    sound.Pause();
    bool open = true;
    {
        // The options opened from the pause stand over the same picture of the run.
        FrozenPicture frozen(screens_);
        for (;;) {
            PauseScreen pause(caption, pp.backBufferWidth, pp.backBufferHeight);
            screens_.Run(pause);
            if (pause.choice() == PauseScreen::Choice::Resume) break;
            if (pause.choice() == PauseScreen::Choice::Close || !ShowOptions(settings, sound)) {
                open = false;
                break;
            }
        }
    }
    sound.Resume();
    return open;
}
