// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/SoundSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "sound/Mp3Gapless.h"
#include "sound/TrackFile.h"

struct TSoundSystem::TStream {
  Mix_Chunk* chunk = nullptr;
  int channel = 0;
  std::atomic<uint64_t> playedBytes{0};
};

namespace {

constexpr int kFrequency = 44100;
constexpr int kBufferFrames = 2048;

// Runs on the audio thread for every block the stream's channel mixes: counts what was played.
void CountPlayed(int, void*, int len, void* udata) {
  static_cast<std::atomic<uint64_t>*>(udata)->fetch_add(static_cast<uint64_t>(len),
                                                        std::memory_order_relaxed);
}

}  // namespace

TSoundSystem::TSoundSystem() = default;

TSoundSystem::~TSoundSystem() {
  Free();
}

bool TSoundSystem::Init() {
  if (open_) return true;
  // The game is not an SDL program: Ctrl+C and SIGTERM must keep their usual meaning.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  sdlAudio_ = true;
  Mix_Init(MIX_INIT_MP3);
  if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, 2, kBufferFrames) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlAudio_ = false;
    return false;
  }
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&frequency, &format, &channels);
  channels_ = channels > 0 ? channels : 2;
  frequency_ = frequency;
  open_ = true;
  ApplyVolume();
  return true;
}

bool TSoundSystem::Start() {
  if (!open_) return false;
  Mix_Resume(-1);
  return true;
}

TStreamHandle TSoundSystem::StreamCreateFile(const std::string& path) {
  if (!open_) return 0;
  // Decoded from memory: what was checked is what gets decoded.
  std::vector<unsigned char> bytes;
  std::string cause;
  if (!ReadTrackFile(path, bytes, cause) || bytes.empty()) return 0;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) return 0;
  Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
  if (chunk == nullptr) return 0;
  if (chunk->alen == 0) {  // decodes to nothing: not a usable track
    Mix_FreeChunk(chunk);
    return 0;
  }
  // A decoder that keeps the codec's delay and padding would put a gap into every loop.
  TMp3Gapless gapless;
  if (ParseMp3Gapless(bytes.data(), std::min<size_t>(bytes.size(), 65536), gapless) &&
      gapless.sampleRate == static_cast<uint32_t>(frequency_)) {
    const size_t frameBytes = static_cast<size_t>(channels_) * sizeof(int16_t);
    size_t first = 0, count = 0;
    GaplessRange(gapless, chunk->alen / frameBytes, first, count);
    if (first != 0) std::memmove(chunk->abuf, chunk->abuf + first * frameBytes, count * frameBytes);
    chunk->alen = static_cast<Uint32>(count * frameBytes);
  }
  auto slot = std::find(streams_.begin(), streams_.end(), nullptr);
  size_t index = static_cast<size_t>(slot - streams_.begin());
  if (slot == streams_.end()) streams_.emplace_back();
  auto stream = std::make_unique<TStream>();
  stream->chunk = chunk;
  stream->channel = static_cast<int>(index);
  // Each stream owns the channel of its index; grow the mixer's channels to cover it.
  if (Mix_AllocateChannels(-1) <= stream->channel) Mix_AllocateChannels(stream->channel + 1);
  Mix_Volume(stream->channel, (volume_ * MIX_MAX_VOLUME + 50) / 100);
  streams_[index] = std::move(stream);
  return static_cast<TStreamHandle>(index + 1);
}

TSoundSystem::TStream* TSoundSystem::Find(TStreamHandle stream) const {
  if (!open_ || stream == 0 || stream > streams_.size()) return nullptr;
  return streams_[stream - 1].get();
}

bool TSoundSystem::StreamPlay(TStreamHandle stream, bool restart) {
  TStream* s = Find(stream);
  if (s == nullptr) return false;
  if (!restart && Mix_Playing(s->channel)) return true;  // goes on from where it is
  Mix_HaltChannel(s->channel);
  Mix_UnregisterAllEffects(s->channel);
  s->playedBytes = 0;
  Mix_RegisterEffect(s->channel, CountPlayed, nullptr, &s->playedBytes);
  return Mix_PlayChannel(s->channel, s->chunk, -1) == s->channel;
}

bool TSoundSystem::ChannelStop(TStreamHandle stream) {
  TStream* s = Find(stream);
  if (s == nullptr) return false;
  Mix_HaltChannel(s->channel);
  return true;
}

void TSoundSystem::StreamFree(TStreamHandle stream) {
  TStream* s = Find(stream);
  if (s == nullptr) return;
  Mix_HaltChannel(s->channel);
  Mix_UnregisterAllEffects(s->channel);
  Mix_FreeChunk(s->chunk);
  streams_[stream - 1].reset();
}

void TSoundSystem::SetStreamVolume(int percent) {
  volume_ = std::clamp(percent, 0, 100);
  ApplyVolume();
}

void TSoundSystem::ApplyVolume() {
  if (open_) Mix_Volume(-1, (volume_ * MIX_MAX_VOLUME + 50) / 100);
}

void TSoundSystem::Stop() {
  if (open_) Mix_HaltChannel(-1);
}

void TSoundSystem::Free() {
  if (open_) {
    Mix_HaltChannel(-1);  // no channel may touch a chunk or a counter after this
    for (auto& s : streams_)
      if (s) Mix_FreeChunk(s->chunk);
    streams_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    open_ = false;
  }
  if (sdlAudio_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlAudio_ = false;
  }
}

bool TSoundSystem::IsPlaying(TStreamHandle stream) const {
  TStream* s = Find(stream);
  return s != nullptr && Mix_Playing(s->channel) != 0;
}

uint64_t TSoundSystem::PlayedFrames(TStreamHandle stream) const {
  TStream* s = Find(stream);
  if (s == nullptr) return 0;
  return s->playedBytes.load(std::memory_order_relaxed) /
         static_cast<uint64_t>(channels_ * sizeof(int16_t));
}

size_t TSoundSystem::StreamFrames(TStreamHandle stream) const {
  TStream* s = Find(stream);
  return s == nullptr ? 0 : s->chunk->alen / (channels_ * sizeof(int16_t));
}

const int16_t* TSoundSystem::StreamSamples(TStreamHandle stream) const {
  TStream* s = Find(stream);
  return s == nullptr ? nullptr : reinterpret_cast<const int16_t*>(s->chunk->abuf);
}
