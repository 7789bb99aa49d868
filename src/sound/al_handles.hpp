// RAII owners for OpenAL objects; private to the sound folder (the only place that sees AL).
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>
#include <utility>

struct AlcDeviceCloser {
    void operator()(ALCdevice* device) const { alcCloseDevice(device); }
};
struct AlcContextDestroyer {
    void operator()(ALCcontext* context) const {
        if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
};
using AlcDevicePtr = std::unique_ptr<ALCdevice, AlcDeviceCloser>;
using AlcContextPtr = std::unique_ptr<ALCcontext, AlcContextDestroyer>;

// One AL name (buffer or source) owned by this object. A source must be deleted before the
// buffer it plays, so owners declare buffers before sources.
template <void (*Gen)(ALsizei, ALuint*), void (*Delete)(ALsizei, const ALuint*)>
class AlName {
public:
    AlName() = default;
    ~AlName() { Reset(); }
    AlName(const AlName&) = delete;
    AlName& operator=(const AlName&) = delete;
    AlName(AlName&& o) noexcept : id_(std::exchange(o.id_, 0)) {}
    AlName& operator=(AlName&& o) noexcept {
        if (this != &o) {
            Reset();
            id_ = std::exchange(o.id_, 0);
        }
        return *this;
    }

    // A fresh name, or an empty object when AL has none left.
    static AlName Create() {
        AlName n;
        alGetError();
        ALuint id = 0;
        Gen(1, &id);
        if (alGetError() == AL_NO_ERROR) n.id_ = id;
        return n;
    }
    void Reset() {
        if (id_ != 0) Delete(1, &id_);
        id_ = 0;
    }
    ALuint id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }

private:
    ALuint id_ = 0;
};

inline void GenBuffers(ALsizei n, ALuint* ids) { alGenBuffers(n, ids); }
inline void DeleteBuffers(ALsizei n, const ALuint* ids) { alDeleteBuffers(n, ids); }
inline void GenSources(ALsizei n, ALuint* ids) { alGenSources(n, ids); }
inline void DeleteSources(ALsizei n, const ALuint* ids) { alDeleteSources(n, ids); }

using AlBuffer = AlName<GenBuffers, DeleteBuffers>;
using AlSource = AlName<GenSources, DeleteSources>;
