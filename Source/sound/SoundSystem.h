// SPDX-License-Identifier: GPL-3.0-or-later
// The audio back end of the music: a small set of operations on SDL2_mixer. Each stream is an MP3
// file decoded once into memory and bound to a channel of its own, so several streams can sound
// at once and a playing stream can simply go on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using TStreamHandle = uint32_t;  // 0 = no stream

class TSoundSystem {
 public:
  TSoundSystem();
  virtual ~TSoundSystem();
  TSoundSystem(const TSoundSystem&) = delete;
  TSoundSystem& operator=(const TSoundSystem&) = delete;

  // Opens the default output device at 44100 Hz, 16-bit stereo. False when there is no usable
  // device or sound server.
  virtual bool Init();
  // Lets the output run. False when the device is not open.
  virtual bool Start();
  // Decodes a whole MP3 (or any format the mixer reads) into a stream; 0 on failure.
  virtual TStreamHandle StreamCreateFile(const std::string& path);
  // Plays the stream endlessly. restart: from its beginning; otherwise a playing stream goes on
  // (a stopped one starts from its beginning). False for an unknown handle.
  virtual bool StreamPlay(TStreamHandle stream, bool restart);
  // Stops the stream. False (and nothing else) for an unknown handle or a closed device.
  virtual bool ChannelStop(TStreamHandle stream);
  // Releases one stream (stopping it first).
  virtual void StreamFree(TStreamHandle stream);
  // Global volume of all streams, 0..100, linear in amplitude. Kept while the device is closed.
  virtual void SetStreamVolume(int percent);
  // Silences the output: every stream stops.
  virtual void Stop();
  // Frees every stream and closes the device.
  virtual void Free();

  // Queries, mostly for tests.
  bool IsOpen() const { return open_; }
  bool IsPlaying(TStreamHandle stream) const;
  // Frames played since the stream last started (grows past the length as it loops).
  uint64_t PlayedFrames(TStreamHandle stream) const;
  // Length of the decoded stream in frames; its samples in the device format (16-bit, interleaved).
  size_t StreamFrames(TStreamHandle stream) const;
  const int16_t* StreamSamples(TStreamHandle stream) const;
  int StreamVolume() const { return volume_; }
  int OutputChannels() const { return channels_; }

 private:
  struct TStream;
  TStream* Find(TStreamHandle stream) const;
  void ApplyVolume();

  std::vector<std::unique_ptr<TStream>> streams_;  // index + 1 = handle; freed slots are null
  bool open_ = false;
  bool sdlAudio_ = false;
  int volume_ = 100;
  int channels_ = 2;
  int frequency_ = 44100;
};
