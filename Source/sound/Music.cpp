// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/Music.h"

#include <filesystem>
#include <utility>

#include "sound/TrackFile.h"

namespace {

constexpr const char* kTrackFiles[3] = {"Title.mp3", "InGame.mp3", "About.mp3"};

}  // namespace

TMusic::TMusic(std::string musicFolder, TMessageService* messages)
    : TMusic(std::move(musicFolder), messages, std::make_unique<TSoundSystem>()) {}

TMusic::TMusic(std::string musicFolder, TMessageService* messages,
               std::unique_ptr<TSoundSystem> sound)
    : folder_(std::move(musicFolder)), messages_(messages), sound_(std::move(sound)) {}

TMusic::~TMusic() {
  InitializeMusic(false);
}

bool TMusic::InitializeMusic(bool on) {
  loaded_.fill(false);
  if (on) {
    // A system left initialised by an earlier failed start is used as it is: opening it a
    // second time would fail and music could never be switched on again.
    if (!initialized_) {
      initialized_ = sound_->Init();
      if (!initialized_) {
        messages_->Error("Невозможно инициализировать звуковую систему.");
        return false;
      }
    }
    started_ = sound_->Start();
    if (!started_) {
      messages_->Error("Невозможно запустить звуковую систему.");
      return false;
    }
    for (size_t i = 0; i < loaded_.size(); ++i)
      loaded_[i] = SetMusic(kTrackFiles[i], static_cast<TMusicTrack>(i));
    return true;
  }
  if (started_) {
    sound_->Stop();
    started_ = false;
  }
  if (initialized_) {
    sound_->Free();  // releases the streams as well
    initialized_ = false;
  }
  streams_.fill(0);
  return true;
}

bool TMusic::SetMusic(const std::string& fileName, TMusicTrack track) {
  TStreamHandle& handle = streams_[Index(track)];
  if (handle != 0) {  // a track loaded again replaces the old stream instead of leaking it
    sound_->StreamFree(handle);
    handle = 0;
  }
  std::filesystem::path path = std::filesystem::path(folder_) / fileName;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    messages_->Error("Файл \"\\Music\\" + fileName + "\" не найден.");
    return false;
  }
  // Anything but a regular file of sensible size is refused before it is opened for decoding.
  std::string cause;
  if (!CheckTrackFile(path.string(), cause)) {
    messages_->Error("Некорректный файл \"" + fileName + "\".\r\n" + cause);
    return false;
  }
  handle = sound_->StreamCreateFile(path.string());
  if (handle == 0) {
    messages_->Error("Некорректный файл \"" + fileName + "\".");
    return false;
  }
  return true;
}

void TMusic::StartPlay(TMusicTrack track, bool restart) {
  size_t i = Index(track);
  if (musicEnabled_ && loaded_[i]) sound_->StreamPlay(streams_[i], restart);
}

void TMusic::Stop(TMusicTrack track) {
  sound_->ChannelStop(streams_[Index(track)]);  // an unknown stream is ignored
}

void TMusic::SetVolume(int percent) {
  sound_->SetStreamVolume(percent);
}

bool TMusic::SwitchMusic(bool on, bool gameRunning, int volume) {
  if (on == musicEnabled_) return true;
  if (!InitializeMusic(on)) return false;
  musicEnabled_ = on;
  if (gameRunning)
    StartPlayMain(true);
  else
    StartPlayTitle(true);
  if (on) SetVolume(volume);
  return true;
}

void TMusic::GameStarted(bool autostart) {
  StopTitle();
  StartPlayMain(!autostart);
}

void TMusic::GameStopped(bool nextGameStarts) {
  StartPlayTitle(true);
  if (!nextGameStarts) StopMain();
}

void TMusic::AboutOpening(bool gameRunning) {
  if (gameRunning)
    StopMain();
  else
    StopTitle();
  StartPlayDeveloper(true);
}

void TMusic::AboutClosed(bool gameRunning) {
  StopDeveloper();
  if (gameRunning)
    StartPlayMain(true);
  else
    StartPlayTitle(true);
}

bool TMusic::Playing(TMusicTrack track) const {
  return sound_->IsPlaying(streams_[Index(track)]);
}

uint64_t TMusic::PlayedFrames(TMusicTrack track) const {
  return sound_->PlayedFrames(streams_[Index(track)]);
}
