// SoundManager: music and effect voices on OpenAL Soft.
//
// What the game asked of its old sound API and where it lives here:
//   device object + cooperative level   -> an ALC device and one context (sound keeps playing
//                                          when the window loses focus, as global focus did)
//   primary buffer at 44100 Hz stereo   -> the context's ALC_FREQUENCY; OpenAL Soft mixes to
//                                          the device's own channel layout
//   3D listener, rolloff 0.3            -> the AL listener; rolloff is a per-source value in
//                                          OpenAL, so every voice carries 0.3
//   static buffer + its 3D buffer       -> one AL buffer + one AL source
//   3D mode "disabled"                  -> source relative to the listener, at the listener,
//                                          spatialisation off where the mixer offers the switch
//   duplicated buffers sharing samples  -> 20 sources bound to the same AL buffer
//   status "playing"                    -> AL_SOURCE_STATE == AL_PLAYING
//   Stop + position 0                   -> alSourceRewind
//   COM initialise / uninitialise       -> nothing
#include "sound/sound_manager.hpp"

#include <algorithm>

#include <AL/alext.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/i18n/language.hpp"
#include "sound/al_handles.hpp"
#include "sound/alsa_message_catcher.hpp"
#include "sound/sound_clip.hpp"
#include "sound/wave_file.hpp"


struct SoundManager::Openal {
    AlcDevicePtr device;    // closed after the context (members go in reverse order)
    AlcContextPtr context;
    bool canUnspatialize = false;  // AL_SOFT_source_spatialize is there
};

struct SoundManager::SampleBuffer {
    AlBuffer buffer;
};

struct SoundManager::BgmTrack {
    AlBuffer buffer;  // declared first: the source lets go of it before it is deleted
    AlSource source;  // empty when the file did not load
};

struct SoundManager::EffectVoices {
    AlBuffer buffer;
    std::vector<AlSource> voices;  // empty when the file did not load
};

namespace {

// A voice with 3D processing off: it sits on the listener and moves with it, so the camera
// never changes how it sounds.
void SetUpVoice(ALuint source, ALuint buffer, bool looping, bool canUnspatialize) {
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, SoundManager::kRolloffFactor);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    if (canUnspatialize) alSourcei(source, AL_SOURCE_SPATIALIZE_SOFT, AL_FALSE);
}

bool IsPlaying(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

ALenum AlFormatOf(const SoundClip& clip) {
    if (clip.channels == 1) return clip.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return clip.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace

SoundManager::SoundManager(bool openDevice) {
    if (openDevice) Init();
}

SoundManager::~SoundManager() { Release(); }

void SoundManager::Init() {
    if (openal_) return;
    currentBgm_.clear();
    // Without a sound card OpenAL Soft and ALSA would each print their own lines before ours;
    // ours is the one line, with ALSA's first reason. ALSOFT_LOGLEVEL set by the user still
    // wins (OpenAL Soft reads it when first used, which is here).
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    const AlsaMessageCatcher alsa;
    auto silent = [&](const char* what) {
        const std::string reason = alsa.FirstMessage();
        std::fprintf(stderr, platform::Tr("korvelin: %s%s%s%s; the game runs without sound\n"), what,
                     reason.empty() ? "" : " (ALSA: ", reason.c_str(), reason.empty() ? "" : ")");
    };
    auto al = std::make_unique<Openal>();
    al->device.reset(alcOpenDevice(nullptr));
    if (!al->device) {
        silent(platform::Tr("no sound device could be opened"));
        return;
    }
    const ALCint attributes[] = {ALC_FREQUENCY, kMixRate, 0};
    al->context.reset(alcCreateContext(al->device.get(), attributes));
    if (!al->context || alcMakeContextCurrent(al->context.get()) != ALC_TRUE) {
        silent(platform::Tr("the sound device would not start"));
        return;
    }
    al->canUnspatialize = alIsExtensionPresent("AL_SOFT_source_spatialize") == AL_TRUE;
    openal_ = std::move(al);
}

void SoundManager::MakeCurrent() const {
    if (openal_ && alcGetCurrentContext() != openal_->context.get())
        alcMakeContextCurrent(openal_->context.get());
}

bool SoundManager::LoadWav(const char* file, SampleBuffer* out) {
    WaveFile wave;
    SoundClip clip;
    std::string error;
    if (!wave.Open(file))
        error = wave.Error();
    else if (LoadSoundClip(wave, &clip, &error) && clip.samples.size() > static_cast<size_t>(INT_MAX))
        error = "too large to play";
    wave.Close();

    if (error.empty()) {
        out->buffer = AlBuffer::Create();
        if (!out->buffer) {
            error = "no sound buffer left";
        } else {
            alGetError();
            alBufferData(out->buffer.id(), AlFormatOf(clip), clip.samples.data(),
                         static_cast<ALsizei>(clip.samples.size()),
                         static_cast<ALsizei>(clip.sampleRate));
            if (alGetError() != AL_NO_ERROR) error = "the mixer refused its samples";
        }
    }
    if (!error.empty()) {
        out->buffer.Reset();
        std::fprintf(stderr, platform::Tr("korvelin: sound \"%s\" stays silent: %s\n"), file, error.c_str());
        return false;
    }
    return true;
}

void SoundManager::PlayBgm(const char* file) {
    if (!openal_ || file == nullptr) return;
    MakeCurrent();
    auto it = bgmTracks_.find(std::string_view(file));
    if (it == bgmTracks_.end()) {
        auto track = std::make_unique<BgmTrack>();
        SampleBuffer loaded;
        if (LoadWav(file, &loaded)) {
            track->buffer = std::move(loaded.buffer);
            track->source = AlSource::Create();
            if (track->source) {
                SetUpVoice(track->source.id(), track->buffer.id(), true, openal_->canUnspatialize);
                alSourcef(track->source.id(), AL_GAIN, musicGain_);
            }
        }
        it = bgmTracks_.emplace(file, std::move(track)).first;
    }
    if (currentBgm_ != file) {
        auto previous = bgmTracks_.find(currentBgm_);
        if (previous != bgmTracks_.end() && previous->second->source)
            alSourceRewind(previous->second->source.id());
    }
    // alSourcePlay restarts a source that is already playing, so a running track is left alone.
    const AlSource& source = it->second->source;
    if (source && !IsPlaying(source.id())) alSourcePlay(source.id());
    currentBgm_ = file;
}

void SoundManager::PlayShot3D(const char* file) {
    if (!openal_ || file == nullptr) return;
    MakeCurrent();
    auto it = effectVoices_.find(std::string_view(file));
    if (it == effectVoices_.end()) {
        // All 20 voices are made together on first use, so firing never allocates.
        auto entry = std::make_unique<EffectVoices>();
        SampleBuffer loaded;
        if (LoadWav(file, &loaded)) {
            entry->buffer = std::move(loaded.buffer);
            entry->voices.reserve(kVoicesPerEffect);
            for (int i = 0; i < kVoicesPerEffect; ++i) {
                AlSource voice = AlSource::Create();
                if (!voice) break;  // the mixer ran out of sources: fewer voices, no failure
                SetUpVoice(voice.id(), entry->buffer.id(), false, openal_->canUnspatialize);
                alSourcef(voice.id(), AL_GAIN, effectsGain_);
                entry->voices.push_back(std::move(voice));
            }
        }
        it = effectVoices_.emplace(file, std::move(entry)).first;
    }
    for (const AlSource& voice : it->second->voices) {
        if (!IsPlaying(voice.id())) {
            alSourcePlay(voice.id());  // a stopped voice starts again from its first sample
            return;
        }
    }
}

void SoundManager::SetVolumes(float music, float effects) {
    musicGain_ = std::clamp(music, 0.0f, 1.0f);
    effectsGain_ = std::clamp(effects, 0.0f, 1.0f);
    if (!openal_) return;
    MakeCurrent();
    for (const auto& [name, track] : bgmTracks_)
        if (track->source) alSourcef(track->source.id(), AL_GAIN, musicGain_);
    for (const auto& [name, entry] : effectVoices_)
        for (const AlSource& voice : entry->voices) alSourcef(voice.id(), AL_GAIN, effectsGain_);
}

void SoundManager::Pause() {
    if (!openal_ || paused_) return;
    MakeCurrent();
    paused_ = true;
    for (const auto& [name, track] : bgmTracks_)
        if (track->source && IsPlaying(track->source.id())) alSourcePause(track->source.id());
    for (const auto& [name, entry] : effectVoices_)
        for (const AlSource& voice : entry->voices)
            if (IsPlaying(voice.id())) alSourcePause(voice.id());
}

void SoundManager::Resume() {
    if (!openal_ || !paused_) return;
    MakeCurrent();
    paused_ = false;
    // Only what the pause held goes on; a stopped voice stays stopped.
    auto resume = [](const AlSource& source) {
        ALint state = AL_STOPPED;
        alGetSourcei(source.id(), AL_SOURCE_STATE, &state);
        if (state == AL_PAUSED) alSourcePlay(source.id());
    };
    for (const auto& [name, track] : bgmTracks_)
        if (track->source) resume(track->source);
    for (const auto& [name, entry] : effectVoices_)
        for (const AlSource& voice : entry->voices) resume(voice);
}

void SoundManager::UpdateListener(const Matrix& view) {
    if (!openal_) return;
    MakeCurrent();
    const ListenerPose pose = ListenerPoseFromView(view);
    // OpenAL's world is right-handed, ours left-handed: z changes sign on the way in.
    alListener3f(AL_POSITION, pose.position.x, pose.position.y, -pose.position.z);
    const ALfloat orientation[6] = {pose.front.x, pose.front.y, -pose.front.z,
                                    pose.top.x,   pose.top.y,   -pose.top.z};
    alListenerfv(AL_ORIENTATION, orientation);
}

void SoundManager::Release() {
    if (openal_) {
        MakeCurrent();
        // Each entry deletes its sources before its buffer; then the context, then the device.
        bgmTracks_.clear();
        effectVoices_.clear();
        openal_.reset();
    }
    bgmTracks_.clear();
    effectVoices_.clear();
    currentBgm_.clear();
}

bool SoundManager::IsBgmPlaying(const char* file) const {
    if (!openal_ || file == nullptr) return false;
    MakeCurrent();
    auto it = bgmTracks_.find(std::string_view(file));
    return it != bgmTracks_.end() && it->second->source && IsPlaying(it->second->source.id());
}

int SoundManager::BgmPlayPosition(const char* file) const {
    if (!openal_ || file == nullptr) return 0;
    MakeCurrent();
    auto it = bgmTracks_.find(std::string_view(file));
    if (it == bgmTracks_.end() || !it->second->source) return 0;
    ALint offset = 0;
    alGetSourcei(it->second->source.id(), AL_SAMPLE_OFFSET, &offset);
    return offset;
}

int SoundManager::ShotVoicesPlaying(const char* file) const {
    if (!openal_ || file == nullptr) return 0;
    MakeCurrent();
    auto it = effectVoices_.find(std::string_view(file));
    if (it == effectVoices_.end()) return 0;
    int playing = 0;
    for (const AlSource& voice : it->second->voices) playing += IsPlaying(voice.id()) ? 1 : 0;
    return playing;
}

ListenerPose SoundManager::Listener() const {
    ListenerPose pose;
    if (!openal_) return pose;
    MakeCurrent();
    ALfloat p[3] = {};
    ALfloat o[6] = {};
    alGetListenerfv(AL_POSITION, p);
    alGetListenerfv(AL_ORIENTATION, o);
    pose.position = {p[0], p[1], -p[2]};
    pose.front = {o[0], o[1], -o[2]};
    pose.top = {o[3], o[4], -o[5]};
    return pose;
}
