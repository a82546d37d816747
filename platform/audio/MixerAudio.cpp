#include "platform/audio/MixerAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

constexpr int kWaveChannel = 0;

} // namespace

MixerAudio::~MixerAudio()
{
    if (state_ != State::Open)
        return;
    Mix_HaltMusic();
    if (music_ != nullptr)
        Mix_FreeMusic(music_);
    freeWave();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool MixerAudio::ensureOpen()
{
    if (state_ != State::Closed)
        return state_ == State::Open;
    state_ = State::Unavailable;
    // SDL would take SIGINT and SIGTERM for a quit event that nobody reads:
    // the client must still end on Ctrl-C and on kill.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        trace("sound: no audio device (%s); sounds are silent", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        trace("sound: no audio device (%s); sounds are silent", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // Wave sounds share one channel, so a new one always cuts the old one.
    Mix_AllocateChannels(1);
    state_ = State::Open;
    return true;
}

void MixerAudio::freeWave()
{
    if (wave_ == nullptr)
        return;
    Mix_HaltChannel(kWaveChannel);
    Mix_FreeChunk(wave_);
    wave_ = nullptr;
}

void MixerAudio::playWave(const std::string& path)
{
    if (!ensureOpen())
        return;
    freeWave();
    wave_ = Mix_LoadWAV(path.c_str());
    if (wave_ == nullptr) {
        trace("sound: cannot play %s (%s)", path.c_str(), Mix_GetError());
        return;
    }
    Mix_PlayChannel(kWaveChannel, wave_, 0);
}

void MixerAudio::stopWave()
{
    if (state_ == State::Open)
        Mix_HaltChannel(kWaveChannel);
}

bool MixerAudio::openMusic(const std::string& path)
{
    if (!ensureOpen())
        return false;
    if (music_ != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
    }
    music_ = Mix_LoadMUS(path.c_str());
    if (music_ == nullptr)
        trace("sound: cannot open %s (%s)", path.c_str(), Mix_GetError());
    return music_ != nullptr;
}

void MixerAudio::playMusicFromStart()
{
    if (state_ == State::Open && music_ != nullptr)
        Mix_PlayMusic(music_, 0);
}

void MixerAudio::stopMusic()
{
    if (state_ == State::Open)
        Mix_HaltMusic();
}

bool MixerAudio::wavePlaying() const { return state_ == State::Open && Mix_Playing(kWaveChannel) != 0; }
bool MixerAudio::musicPlaying() const { return state_ == State::Open && Mix_PlayingMusic() != 0; }

} // namespace tessaly
