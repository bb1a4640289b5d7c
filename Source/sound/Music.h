// SPDX-License-Identifier: GPL-3.0-or-later
// The game's background music: three looping tracks (title, in-game, about), switched on and off
// by the settings, and the rules for which track plays at which moment of the game. The main
// window owns one TMusic and forwards its events to it; all boxes go through TMessageService.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "config/MessageService.h"
#include "sound/SoundSystem.h"

enum class TMusicTrack { mtTitle = 0, mtInGame = 1, mtAbout = 2 };

class TMusic {
 public:
  // musicFolder: the folder holding "Title.mp3", "InGame.mp3" and "About.mp3".
  TMusic(std::string musicFolder, TMessageService* messages);
  // For tests: a sound system of one's own (e.g. one whose start fails).
  TMusic(std::string musicFolder, TMessageService* messages, std::unique_ptr<TSoundSystem> sound);
  ~TMusic();
  TMusic(const TMusic&) = delete;
  TMusic& operator=(const TMusic&) = delete;

  // Music is on. Set by the settings' apply step (see SwitchMusic), false at start.
  bool MusicEnabled() const { return musicEnabled_; }
  void SetMusicEnabled(bool on) { musicEnabled_ = on; }

  // on: open and start the sound system and load the three tracks (true even when a track
  // failed; false with a message when the system cannot be initialised or started).
  // off: stop and release everything; true.
  bool InitializeMusic(bool on);
  // Loads one track from the music folder; false with a message when the file is missing or not
  // a valid track.
  bool SetMusic(const std::string& fileName, TMusicTrack track);

  // Play a track endlessly when music is on and the track is loaded; restart = from its
  // beginning, otherwise a playing track goes on.
  void StartPlayTitle(bool restart) { StartPlay(TMusicTrack::mtTitle, restart); }
  void StartPlayMain(bool restart) { StartPlay(TMusicTrack::mtInGame, restart); }
  void StartPlayDeveloper(bool restart) { StartPlay(TMusicTrack::mtAbout, restart); }
  // Stop a track; silently nothing when it is not loaded or music is off.
  void StopTitle() { Stop(TMusicTrack::mtTitle); }
  void StopMain() { Stop(TMusicTrack::mtInGame); }
  void StopDeveloper() { Stop(TMusicTrack::mtAbout); }

  // Global volume of the tracks, 0..100 (the settings' slider). Kept while music is off.
  void SetVolume(int percent);

  // The moments of the game, each with its music calls.
  // Apply the music check box: when `on` differs from MusicEnabled, switch the sound system and,
  // on success, set MusicEnabled, restart the in-game (gameRunning) or title track and, when on,
  // apply `volume`. Returns false when switching failed: the check box goes back, MusicEnabled
  // stays. The window then shows image 20 (MusicEnabled) or 21.
  bool SwitchMusic(bool on, bool gameRunning, int volume);
  // A game starts: title stops; in-game restarts, or with autostart a playing one goes on.
  void GameStarted(bool autostart);
  // A game stopped: title restarts; in-game stops unless the next game starts at once.
  void GameStopped(bool nextGameStarts);
  // Around the modal About dialog.
  void AboutOpening(bool gameRunning);
  void AboutClosed(bool gameRunning);
  // The window closes.
  void Shutdown() { InitializeMusic(false); }

  // Queries.
  bool Loaded(TMusicTrack track) const { return loaded_[Index(track)]; }
  bool Playing(TMusicTrack track) const;
  uint64_t PlayedFrames(TMusicTrack track) const;  // since the track last started
  bool SoundInitialized() const { return initialized_; }
  bool SoundStarted() const { return started_; }
  const std::string& MusicFolder() const { return folder_; }
  TSoundSystem& Sound() { return *sound_; }

 private:
  static size_t Index(TMusicTrack t) { return static_cast<size_t>(t); }
  void StartPlay(TMusicTrack track, bool restart);
  void Stop(TMusicTrack track);

  std::string folder_;
  TMessageService* messages_;
  std::unique_ptr<TSoundSystem> sound_;
  bool musicEnabled_ = false;
  bool initialized_ = false;
  bool started_ = false;
  std::array<TStreamHandle, 3> streams_{};
  std::array<bool, 3> loaded_{};
};
