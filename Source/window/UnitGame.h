// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: owns the machine, the settings file, the program state, the painter, the
// message service and the music; conducts a game (start, turn cycle through the engine, stop,
// autostart) and turns pointer, keys and colour actions into colour choices.
#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "config/IniFile.h"
#include "config/MessageService.h"
#include "dialogs/SettingsHost.h"
#include "engine/UnitCore.h"
#include "model/GameEnd.h"
#include "model/GameHost.h"
#include "model/PointerState.h"
#include "model/ProgramState.h"
#include "painter/MapPainter.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QStatusBar;
class QToolBar;
class TFormAbout;
class TFormGamers;
class TFormHallFame;
class TFormResult;
class TFormMultiUserGame;
class TFormSettings;
class TFormStats;
class TGameRecords;
class TGameWatch;
struct TGameRecord;
struct TBoardView;
class TMapImage;
class TMusic;
class TPlatform;

// Caption of the main window; a running game or a chosen layout appends " Расклад #" + number.
inline constexpr const char* GameCaption = "Morvik 1.2 final.";

// The dialogs the main window opens. The program creates them after the window, as its child
// windows, and hands them over once (TFormGame::SetDialogs); one left null is never opened.
struct TGameDialogs {
  TFormSettings* Settings = nullptr;
  TFormResult* Result = nullptr;
  TFormMultiUserGame* MultiUser = nullptr;
  TFormHallFame* HallFame = nullptr;
  TFormGamers* Gamers = nullptr;
  TFormAbout* About = nullptr;
  TFormStats* Stats = nullptr;
};

class TFormGame : public QMainWindow,
                  public TWindowServices,
                  public TGameHost,
                  public TSettingsHost {
  Q_OBJECT

 public:
  // `messages` and `platform` stay owned by the caller and must outlive the window (the program
  // passes the Qt message service and the real platform, tests a scripted one and a double).
  // Creates the settings file if missing, opens it, creates the machine and loads GamerList.
  TFormGame(TMessageService* messages, const TPlatform& platform, QWidget* parent = nullptr);
  ~TFormGame() override;

  // ---- Owned objects ---------------------------------------------------------------------
  TMorvikMachine& Machine() { return *machine_; }
  TIniFile& IniFile() { return *iniFile_; }
  TProgramState& State() { return state_; }
  TMessageService& Messages() { return *messages_; }
  TMapPainter& Painter() { return painter_; }
  TMusic* Music() { return music_.get(); }  // made with the window, kept for its life
  const QImage& MapImage() const;           // the board as shown (wraps the painter's buffer)

  // ---- Options and game mode (UnitGameOptions.cpp) ----------------------------------------
  // The one operation that puts options in force: machine (board, tile, looks), window size and
  // panels, music and volume, SelectOptions, PanelFlags, VictoryByArea and State().Options.
  // A size of -1 (a custom field without a size) leaves the machine's. Writes nothing to the
  // file. False when the music could not be switched as asked (it stays as it was).
  bool ApplyOptions(const TGameOptions& options) override;
  // The catalogue's defaults for a fresh profile (the music left as it is), until a profile's
  // own options are applied.
  void ApplyDefaultOptions();
  // Strength of the classic game's computer seat (1..4), from the options in force.
  uint8_t ClassicComputerLevel() const;
  // The one operation that sets the game mode: MultiUserMode, both mode actions and the settings
  // dialog's rgMode together.
  void SetGameMode(bool multiUser) override;
  int32_t CodeGame() const override;
  void SetCodeGame(int32_t code) override;

  // ---- Dialogs ---------------------------------------------------------------------------
  // Once, after the program has created the dialogs.
  void SetDialogs(const TGameDialogs& dialogs);

  // ---- Game flow -------------------------------------------------------------------------
  void SetStatus(const std::string& text) override;  // status panel 4, repainted at once
  void ShowGamerArea(int seat) override;             // status panel seat - 1
  // Ends the running game; noAutostart = true for the stop command, false at the end of a game
  // (then, with "Автостарт", the next game starts from the event loop once the move unwinds).
  void StopGame(bool noAutostart);
  // A game stopped by the player before its end counts as stopped for every person in it who
  // had chosen a colour. Called before the stop; nothing when no game runs.
  void CountStoppedGame();
  void SetRandomGame() override;  // new layout number from the clock; the caption is not changed
  // A person's colour choice; taken only while the game waits for a person (colour choices
  // arriving while computers move are ignored).
  void SetColor(uint8_t color);
  void OnChangeGamer(uint8_t previousSeat);
  void OnChangeStateColor(uint8_t color);
  // The master's search, run off the window's thread while the window handles its events and
  // moves the progress bar; 0 when the game was stopped or replaced meanwhile.
  uint8_t ThinkMaster(const std::shared_ptr<TMasterThought>& thought,
                      const std::function<bool()>& wanted);
  // Caption "Morvik 1.2 final. Расклад #" + CodeGame.
  void ShowCodeGameCaption();
  bool AutostartPending() const { return autostartPending_; }

  // ---- Board -----------------------------------------------------------------------------
  void SetSizeWindow();  // image, bitmap and window from the board, tile size and PanelFlags
  void PresentShow();    // the idle board
  void DrawMap(bool showProgress) override;
  void DrawIsland(uint16_t island, TTileState state, bool framed) override;
  // The position drawn afresh, as a turn change leaves it: every island, then the territory of
  // the seat to move unframed (with its outline when asked). After a take-back and after new
  // looks during a game; a highlight on the board is dropped.
  void ShowPosition();
  // Shows or hides atbGame, atbColor and sbMain (with pbBrain) by State().PanelFlags().
  void ShowPanels();

  // ---- Music ---------------------------------------------------------------------------
  // Image 20 (music on) or 21 (off) on actSettingsMusic and its menu entry.
  void SetMusicIcon(bool on);

  // ---- Icons -----------------------------------------------------------------------------
  static constexpr int IconCount = 26;
  const QIcon& ilColor(int index) const;

  // ---- The pointer on the board ---------------------------------------------------------
  const TPointerState& Pointer() const { return pointer_; }

  // ---- End of a game -----------------------------------------------------------------------
  // Results, statistics and the hall of fame recorded in that order, in one write of the file;
  // sets State().RecordAdded. The first step of ShowResults.
  TGameEndRecord RecordGameEnd();

  // ---- Games as files (UnitGameRecord.cpp) ---------------------------------------------
  // The running game's record, the last finished one, saving, opening and the kept game.
  TGameRecords& Records() { return *records_; }
  // Watching a recorded game step by step.
  TGameWatch& Watch() { return *watch_; }
  // The board the window draws: another machine's (a game being watched), or with nullptr the
  // window's own. The window takes the other board's size; its looks stay the window's.
  void ShowMachine(const TMorvikMachine* shown);
  // Goes on with an unfinished recorded game as the running game (its seats already filled the
  // way the caller wants them). False when it could not be continued (the message was shown).
  bool ContinueRecordedGame(const TGameRecord& record);
  void ProfileRenamed(const std::string& from, const std::string& to) override;
  void ProfileErased(const std::string& name) override;

  // ---- Controls --------------------------------------------------------------------------
  QMenuBar* accmMain = nullptr;
  QToolBar* atbGame = nullptr;
  QToolBar* atbColor = nullptr;
  TMapImage* iMap = nullptr;
  QStatusBar* sbMain = nullptr;
  std::array<QLabel*, 7> sbPanels{};  // the seven status panels
  QProgressBar* pbBrain = nullptr;
  QMenu* pmColor = nullptr;   // the board's popup during a game
  QMenu* pmPanels = nullptr;  // right-click menu of accmMain: the three panel actions
  QMenu* miGame = nullptr;
  QMenu* miSettings = nullptr;
  QMenu* miHelp = nullptr;

  QAction* actMenuStartGame = nullptr;
  QAction* actMenuContinueGame = nullptr;
  QAction* actMenuStopGame = nullptr;
  QAction* actMenuGamers = nullptr;
  QAction* actMenuHallOfFame = nullptr;
  QAction* actMenuStats = nullptr;
  QAction* actMenuSaveGame = nullptr;
  QAction* actMenuOpenGame = nullptr;
  QAction* actMenuExit = nullptr;
  QAction* actSettingsGameClassic = nullptr;
  QAction* actSettingsGameMultiUser = nullptr;
  QActionGroup* agGameMode = nullptr;
  QAction* actSettingsMusic = nullptr;
  QAction* actSettingsSetCodeGame = nullptr;
  QAction* actMenuSettings = nullptr;
  QAction* actMenuSettingsMultiUser = nullptr;
  QAction* actHelpMaintenanse = nullptr;
  QAction* actHelpHomePage = nullptr;
  QAction* actHelpMail = nullptr;
  QAction* actHelpForum = nullptr;
  QAction* actHelpAboutProgram = nullptr;
  QAction* actMainBoss = nullptr;
  QAction* actPanelMainBar = nullptr;
  QAction* actPanelColorBar = nullptr;
  QAction* actPanelStatusBar = nullptr;
  std::array<QAction*, 8> actColor{};  // actColor[1..7]; [0] unused
  // Help for a learner (UnitGameCoach.cpp): the hard computer's colour, and taking a choice back.
  QAction* actMenuHint = nullptr;
  QAction* actMenuUndo = nullptr;

  // ---- Window services the engine uses ---------------------------------------------------
  void ClearGamerPanel() override;
  void SetProgressPosition(int position) override;
  void SetProgressMax(int maximum) override;
  int GetProgressMax() override;
  void StepProgress() override;
  void RepaintMap() override;
  void ShowResults() override;     // RecordGameEnd, then ShowResultsDialog
  bool RecordAdded() override;     // State().RecordAdded
  void ShowHallOfFame() override;  // hall-of-fame dialog, modal
  void StopGameAtEnd() override;   // StopGame(false)
  bool SkipTurn() override;
  bool AutoTurnOption() override;
  bool HallFameOnRecord() override;
  bool VictoryByArea() override;
  void Error(const std::string& text) override;

 public slots:
  // One slot per action; the dialog routes are filled in as the dialogs exist.
  void actMenuStartGameExecute();
  void actMenuStopGameExecute();
  void actMenuGamersExecute();
  void actMenuHallOfFameExecute();
  void actMenuStatsExecute();  // only between games or while a person is to choose
  void actMenuExitExecute();
  void actSettingsGameClassicExecute();
  void actSettingsGameMultiUserExecute();
  void actSettingsMusicExecute();
  void actSettingsSetCodeGameExecute();
  void actMenuSettingsExecute();
  void actMenuSettingsMultiUserExecute();
  void actHelpMaintenanseExecute();
  void actHelpHomePageExecute();
  void actHelpMailExecute();
  void actHelpForumExecute();
  void actHelpAboutProgramExecute();
  void actMainBossExecute();
  void actPanelMainBarExecute();
  void actPanelColorBarExecute();
  void actPanelStatusBarExecute();
  void actColorExecute(int color);  // actColor1..7, tag = colour
  void pmPanelsPopup();             // the panel menu is about to open
  void actMenuHintExecute();
  // What the status panel says while a hint for `color` is shown.
  QString HintStatusText(uint8_t color) const;
  void actMenuUndoExecute();
  void actMenuContinueGameExecute();
  void actMenuSaveGameExecute();
  void actMenuOpenGameExecute();

 protected:
  // The results dialog, modal: display and the replay question only.
  virtual void ShowResultsDialog(const TGameEndRecord& record);
  // Start step 2: in multi-user mode the multi-user setup checks its seats (showing its own
  // message); false refuses the start.
  virtual bool TestMultiUserCondition();
  // Start step 5: all four seats; classic here, multi-user from the multi-user setup.
  void FillSeats();
  virtual void FillMultiUserSeats();
  // The settings that a running game must not change: locked at a start, released when idle.
  virtual void SettingsControlEnabled(bool enabled);
  // On close, when a profile is active: store its layout number and game mode.
  virtual void SaveActiveProfile();

  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;  // centred on the screen the first time

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateStatusBar();
  void CreateBoard();  // the image and its pointer events
  // The start after the running-game question; false when the multi-user setup refused.
  bool StartNewGame(const TGameRecord* resume = nullptr);
  void CreateRecordActions();  // UnitGameRecord.cpp
  void QueueAutostart();
  void ShowIdle();         // the idle steps of StopGame
  bool BoardFits() const;  // the bitmap has the size of the shown board
  const TMorvikMachine& Shown() const { return shown_ ? *shown_ : *machine_; }
  TBoardView BoardView() const;

  // Hint, take-back and statistics enabled by what the machine allows right now.
  void UpdateActions();

  // The pointer (UnitGameBoard.cpp): the highlight options in force, and the cursor and status
  // text after a pointer operation.
  TPointerLooks Looks() const;
  void AfterPointer(bool hintEnded);

  TMessageService* messages_;
  const TPlatform& platform_;
  TProgramState state_;
  std::unique_ptr<TIniFile> iniFile_;
  std::unique_ptr<TMorvikMachine> machine_;
  TMapPainter painter_;
  std::unique_ptr<TMusic> music_;
  std::array<QIcon, IconCount> icons_;
  const TMorvikMachine* shown_ = nullptr;  // a watched game's machine; null: the window's own
  std::unique_ptr<TGameRecords> records_;
  std::unique_ptr<TGameWatch> watch_;

  TPointerState pointer_;
  TIslandDraw drawUnframed_ = [this](uint16_t island, TTileState state) {
    DrawIsland(island, state, false);
  };
  bool autostartPending_ = false;
  bool placed_ = false;  // centred once; later size changes only keep it on the screen
  // Where the program last put the window: while it is still there the player has not moved it,
  // and a size change centres it again.
  std::optional<QPoint> placedAt_;
  int gameSerial_ = 0;  // counts started games; a click checks it after letting events run
  int progressMax_ = 0;
  int progressPosition_ = 0;

  // The dialogs given by SetDialogs; each is null until then and once it is gone.
  QPointer<TFormSettings> FormSettings;
  QPointer<TFormMultiUserGame> FormMultiUserGame;
  QPointer<TFormResult> FormResult;
  QPointer<TFormHallFame> FormHallFame;
  QPointer<TFormGamers> FormGamers;
  QPointer<TFormAbout> FormAbout;
  QPointer<TFormStats> FormStats;
};
