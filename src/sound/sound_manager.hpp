// SoundManager: the game's music and shot sounds, played through OpenAL Soft.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "math/math.hpp"
#include "sound/listener_pose.hpp"

// Plays one looping background track at a time and short effects with up to 20 overlapping
// copies each. Files are loaded on first use and kept until Release. The listener follows the
// camera, but every voice plays with 3D processing off, so music and shots sound the same
// wherever the camera is.
//
// Without a sound device the manager runs silent: it says so in one line on standard error
// (with ALSA's first reason; ALSA and OpenAL Soft print nothing of their own) and every call
// does nothing. A missing or malformed .wav becomes an entry without sound.
class SoundManager {
public:
    static constexpr int kVoicesPerEffect = 20;
    static constexpr float kRolloffFactor = 0.3f;
    static constexpr int kMixRate = 44100;  // samples per second of the mix

    // Ends with Init, so a new manager is ready to play; or, without openDevice, stays silent
    // without a word (a headless run, where nobody listens).
    explicit SoundManager(bool openDevice = true);
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Opens the default output device. Calling it on a running manager does nothing; after
    // Release it opens the device again.
    void Init();
    // Starts the looping track, or keeps it going: the same file every frame never restarts it.
    // A different file stops the previous track and rewinds it to its start.
    void PlayBgm(const char* file);
    // Plays one copy of a short sound on the first of its 20 voices that is not sounding;
    // with all 20 sounding, nothing plays.
    void PlayShot3D(const char* file);
    // The loudness of the music and of the shots, each 0 (silent) to 1 (as recorded); every
    // voice, playing or not, takes it at once.
    void SetVolumes(float music, float effects);
    // Holds every sounding voice where it is (the game is paused), and lets them go on.
    void Pause();
    void Resume();
    // Moves the listener to the camera; view is the device's view transform this frame.
    void UpdateListener(const Matrix& view);
    // Stops everything and frees every voice, buffer, the context and the device.
    void Release();

    // What is going on, for tests and the developer overlay.
    bool IsSilent() const { return openal_ == nullptr; }
    const std::string& CurrentBgm() const { return currentBgm_; }
    bool IsBgmPlaying(const char* file) const;
    // Play position of a track in sample frames from its start; 0 when not loaded.
    int BgmPlayPosition(const char* file) const;
    int ShotVoicesPlaying(const char* file) const;
    // The listener as the mixer has it, in the game's world; the origin when silent.
    ListenerPose Listener() const;

private:
    struct Openal;        // the device and its context
    struct SampleBuffer;  // one file's samples in the mixer
    struct BgmTrack;      // a track's buffer and its looping source
    struct EffectVoices;  // one buffer shared by kVoicesPerEffect sources

    // Reads a .wav into a mixer buffer; false (with one line on standard error) when the file
    // is missing, malformed or in a format we do not play.
    bool LoadWav(const char* file, SampleBuffer* out);
    void MakeCurrent() const;

    std::unique_ptr<Openal> openal_;  // null while silent
    // Keyed by the file name's text, so the same name from two places is one entry.
    std::map<std::string, std::unique_ptr<BgmTrack>, std::less<>> bgmTracks_;
    std::map<std::string, std::unique_ptr<EffectVoices>, std::less<>> effectVoices_;
    std::string currentBgm_;  // the track last started; empty at start
    float musicGain_ = 1.0f, effectsGain_ = 1.0f;
    bool paused_ = false;
};

