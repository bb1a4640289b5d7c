// SPDX-License-Identifier: GPL-3.0-or-later
// The music rules of the game through SDL's dummy driver: loading with its messages, switching
// on and off, and which track plays at each moment.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ScriptedMessages.h"
#include "SoundTestSupport.h"
#include "sound/Music.h"

using namespace soundtest;
using namespace std::chrono_literals;
using T = TMusicTrack;

namespace {

const char* const kInitFailed = "Невозможно инициализировать звуковую систему.";
const char* const kStartFailed = "Невозможно запустить звуковую систему.";

class MusicRules : public ::testing::Test {
 protected:
  TTempDir dir;
  TScriptedMessages messages;

  void SetUp() override {
    UseDriver("dummy");
    for (const char* f : {"Title.mp3", "InGame.mp3", "About.mp3"})
      std::filesystem::copy_file(BuiltMusic() / f, dir.path / f);
  }
  std::unique_ptr<TMusic> Make() { return std::make_unique<TMusic>(dir.path.string(), &messages); }
  static std::vector<T> PlayingTracks(const TMusic& m) {
    std::vector<T> out;
    for (T t : {T::mtTitle, T::mtInGame, T::mtAbout})
      if (m.Playing(t)) out.push_back(t);
    return out;
  }
  // Lets the dummy device play a track a little: go-on and restart are told apart by the frames
  // played. Waits for the frames rather than a fixed time, so a busy machine cannot fool it.
  static void Listen(const TMusic& m, T track) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (m.PlayedFrames(track) < 8192 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(10ms);
  }
};

TEST_F(MusicRules, SwitchingOnLoadsAllTracksAndStartsTheRightOne) {
  auto m = Make();
  ASSERT_TRUE(m->SwitchMusic(true, /*gameRunning=*/false, 20));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(m->MusicEnabled());
  EXPECT_TRUE(m->Loaded(T::mtTitle) && m->Loaded(T::mtInGame) && m->Loaded(T::mtAbout));
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtTitle});
  EXPECT_EQ(m->Sound().StreamVolume(), 20);

  // Off during a game: everything falls silent and is released.
  ASSERT_TRUE(m->SwitchMusic(false, true, 20));
  EXPECT_FALSE(m->MusicEnabled());
  EXPECT_TRUE(PlayingTracks(*m).empty());
  EXPECT_FALSE(m->SoundInitialized());
  EXPECT_FALSE(m->Loaded(T::mtTitle));

  // On again during a game: the in-game track, from its beginning, at the slider's volume.
  ASSERT_TRUE(m->SwitchMusic(true, true, 70));
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtInGame});
  EXPECT_LT(m->PlayedFrames(T::mtInGame), 44100u / 10);
  EXPECT_EQ(m->Sound().StreamVolume(), 70);
  // The same state again changes nothing.
  EXPECT_TRUE(m->SwitchMusic(true, true, 70));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MusicRules, GamesWithAndWithoutAutostart) {
  auto m = Make();
  ASSERT_TRUE(m->SwitchMusic(true, false, 20));
  m->GameStarted(/*autostart=*/false);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtInGame});
  Listen(*m, T::mtInGame);
  // End of a game with autostart: the title is started and stopped again in the same step,
  // the in-game track goes on.
  uint64_t before = m->PlayedFrames(T::mtInGame);
  ASSERT_GT(before, 4096u);
  m->GameStopped(/*nextGameStarts=*/true);
  EXPECT_TRUE(m->Playing(T::mtTitle));
  m->GameStarted(/*autostart=*/true);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtInGame});
  EXPECT_GE(m->PlayedFrames(T::mtInGame), before);
  // Stop without a new game: title from its beginning, in-game silent.
  m->GameStopped(false);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtTitle});
  // A new game without autostart begins the in-game track again.
  m->GameStarted(false);
  EXPECT_LT(m->PlayedFrames(T::mtInGame), before);
}

TEST_F(MusicRules, AboutDialogInterruptsAndRestarts) {
  auto m = Make();
  ASSERT_TRUE(m->SwitchMusic(true, false, 20));
  m->AboutOpening(false);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtAbout});
  m->AboutClosed(false);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtTitle});

  m->GameStarted(false);
  Listen(*m, T::mtInGame);
  uint64_t before = m->PlayedFrames(T::mtInGame);
  m->AboutOpening(true);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtAbout});
  Listen(*m, T::mtAbout);
  m->AboutClosed(true);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtInGame});
  EXPECT_LT(m->PlayedFrames(T::mtInGame), before) << "the in-game track starts from its beginning";

  m->Shutdown();
  EXPECT_TRUE(PlayingTracks(*m).empty());
  EXPECT_FALSE(m->SoundInitialized());
}

TEST_F(MusicRules, MissingInGameTrackIsReportedOnceAndGamesAreSilent) {
  std::filesystem::remove(dir.path / "InGame.mp3");
  auto m = Make();
  ASSERT_TRUE(m->SwitchMusic(true, false, 20)) << "music counts as on";
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].kind, "error");
  EXPECT_EQ(messages.shown[0].text, "Файл \"\\Music\\InGame.mp3\" не найден.");
  EXPECT_TRUE(m->Loaded(T::mtTitle));
  EXPECT_FALSE(m->Loaded(T::mtInGame));
  EXPECT_TRUE(m->Loaded(T::mtAbout));

  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtTitle});
  m->GameStarted(false);
  EXPECT_TRUE(PlayingTracks(*m).empty());
  m->GameStopped(false);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtTitle});
  m->GameStarted(true);
  m->AboutOpening(true);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtAbout});
  m->AboutClosed(true);
  EXPECT_TRUE(PlayingTracks(*m).empty());
  EXPECT_EQ(messages.shown.size(), 1u) << "playing and stopping the missing track is silent";
}

TEST_F(MusicRules, FolderWithSpacesAndCyrillicLetters) {
  auto folder = dir.path / "Мои игры" / "Music";
  std::filesystem::create_directories(folder);
  for (const char* f : {"Title.mp3", "InGame.mp3", "About.mp3"})
    std::filesystem::copy_file(dir.path / f, folder / f);
  TMusic m(folder.string(), &messages);
  ASSERT_TRUE(m.SwitchMusic(true, false, 20));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(m.Playing(T::mtTitle));
}

TEST_F(MusicRules, CorruptOrEmptyTrackIsInvalid) {
  {
    std::ofstream bad(dir.path / "About.mp3", std::ios::binary | std::ios::trunc);
    bad << "This is no MPEG audio, just text that happens to be named About.mp3.\n";
  }
  std::ofstream(dir.path / "Title.mp3", std::ios::trunc).close();
  auto m = Make();
  ASSERT_TRUE(m->InitializeMusic(true));
  EXPECT_EQ(messages.Texts("error"),
            (std::vector<std::string>{"Некорректный файл \"Title.mp3\".",
                                      "Некорректный файл \"About.mp3\"."}));
  EXPECT_FALSE(m->Loaded(T::mtTitle));
  EXPECT_TRUE(m->Loaded(T::mtInGame));
  EXPECT_FALSE(m->Loaded(T::mtAbout));
}

TEST_F(MusicRules, RequestsWhileOffOrUnloadedAreIgnored) {
  auto m = Make();
  // Nothing initialised yet.
  m->StartPlayTitle(true);
  m->StopMain();
  m->StopDeveloper();
  m->GameStarted(false);
  m->GameStopped(false);
  m->AboutOpening(false);
  m->AboutClosed(false);
  m->SetVolume(40);  // remembered for later
  EXPECT_TRUE(PlayingTracks(*m).empty());
  // Initialised, tracks loaded, but music not enabled: still nothing plays.
  ASSERT_TRUE(m->InitializeMusic(true));
  EXPECT_EQ(m->Sound().StreamVolume(), 40);
  m->StartPlayTitle(true);
  m->StartPlayMain(false);
  m->StartPlayDeveloper(true);
  EXPECT_TRUE(PlayingTracks(*m).empty());
  m->SetMusicEnabled(true);
  m->StartPlayDeveloper(true);
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtAbout});
  m->StopDeveloper();
  m->StopTitle();  // not playing: nothing happens
  EXPECT_TRUE(PlayingTracks(*m).empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MusicRules, NoSoundSystemLeavesMusicOffWithItsMessage) {
  UseDriver("no-such-audio-driver");
  auto m = Make();
  EXPECT_FALSE(m->SwitchMusic(true, false, 20));
  EXPECT_FALSE(m->MusicEnabled());
  EXPECT_EQ(messages.Texts("error"), std::vector<std::string>{kInitFailed});
  m->StartPlayTitle(true);
  m->GameStarted(false);
  EXPECT_TRUE(PlayingTracks(*m).empty());
  // Once a device is there, switching on works.
  UseDriver("dummy");
  messages.Clear();
  EXPECT_TRUE(m->SwitchMusic(true, false, 20));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(PlayingTracks(*m), std::vector<T>{T::mtTitle});
}

// A sound system that opens but will not start, counting its openings.
struct TStubbornSound : TSoundSystem {
  int inits = 0;
  bool startWorks = false;
  bool Init() override {
    ++inits;
    return TSoundSystem::Init();
  }
  bool Start() override { return startWorks && TSoundSystem::Start(); }
};

TEST_F(MusicRules, FailedStartIsReportedAndTheOpenSystemIsReused) {
  auto sound = std::make_unique<TStubbornSound>();
  TStubbornSound* stub = sound.get();
  TMusic m(dir.path.string(), &messages, std::move(sound));
  EXPECT_FALSE(m.SwitchMusic(true, false, 20));
  EXPECT_EQ(messages.Texts("error"), std::vector<std::string>{kStartFailed});
  EXPECT_TRUE(m.SoundInitialized()) << "the system stays initialised";
  EXPECT_FALSE(m.MusicEnabled());

  stub->startWorks = true;
  messages.Clear();
  EXPECT_TRUE(m.SwitchMusic(true, false, 20));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(stub->inits, 1) << "opened once, not a second time";
  EXPECT_TRUE(m.Playing(T::mtTitle));
}

TEST_F(MusicRules, LoadingATrackAgainReplacesIt) {
  auto m = Make();
  ASSERT_TRUE(m->SwitchMusic(true, false, 20));
  TStreamHandle next = 0;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(m->SetMusic("About.mp3", T::mtAbout));
  // The five loads reused one slot: a fresh stream gets the next handle after the three tracks.
  next = m->Sound().StreamCreateFile((dir.path / "About.mp3").string());
  EXPECT_LE(next, 4u);
}

}  // namespace
