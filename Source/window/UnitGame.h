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
#include "window/GameActions.h"
#include "window/GameBoard.h"
#include "window/GameCommands.h"
#include "window/GameSetup.h"
#include "window/GameStatus.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QStatusBar;
class QToolBar;
class TGameRecords;
class TGameServices;
class TGameWatch;
struct TGameRecord;
struct TBoardView;
class TMapImage;
class TMusic;
class TPlatform;

// Caption of the main window; a running game or a chosen layout appends " Расклад #" + number.
inline constexpr const char* GameCaption = "Morvik 1.2 final.";

class TFormGame : public QMainWindow {
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
  TMusic* Music() { return music_.get(); }  // made with the window, kept for its life

  // ---- Parts -----------------------------------------------------------------------------
  // Once, after the program has created the dialogs.
  void SetDialogs(const TGameDialogs& dialogs) { commands_->SetDialogs(dialogs); }
  // The actions of the table, and what each runs.
  QAction* Action(TGameAction id) const { return (*actions_)[id]; }
  TGameCommands& Commands() { return *commands_; }
  TGameStatus& Status() { return *status_; }
  TGameBoard& Board() { return *board_; }
  // The options in force, the game mode and the layout number: the dialogs' host.
  TGameSetup& Setup() { return *setup_; }
  // Enables every action by its rule, from what the machine allows right now.
  void UpdateActions();

  // ---- Game flow -------------------------------------------------------------------------
  // The start (after the running game's question, or a recorded game continued); false when
  // the multi-user setup refused.
  bool StartNewGame(const TGameRecord* resume = nullptr);
  // Ends the running game; noAutostart = true for the stop command, false at the end of a game
  // (then, with "Автостарт", the next game starts from the event loop once the move unwinds).
  void StopGame(bool noAutostart);
  // A game stopped by the player before its end counts as stopped for every person in it who
  // had chosen a colour. Called before the stop; nothing when no game runs.
  void CountStoppedGame();
  // A person's colour choice; taken only while the game waits for a person (colour choices
  // arriving while computers move are ignored).
  void SetColor(uint8_t color);
  // Help for a learner: the hard computer's colour shown on the board, and the last choice taken
  // back; either only when the machine allows it, and either makes the seat an assisted one.
  void ShowHint();
  void TakeBackMove();
  void OnChangeGamer(uint8_t previousSeat);
  // Caption "Morvik 1.2 final. Расклад #" + CodeGame.
  void ShowCodeGameCaption();
  bool AutostartPending() const { return autostartPending_; }

  // ---- Window --------------------------------------------------------------------------
  // The board's buffer and the window's size from the shown board, tile size and PanelFlags;
  // then the idle board.
  void SetSizeWindow();
  // Shows or hides atbGame, atbColor and sbMain (with pbBrain) by State().PanelFlags().
  void ShowPanels();

  // ---- Icons -----------------------------------------------------------------------------
  static constexpr int IconCount = ColorIconCount;
  const QIcon& ilColor(int index) const;

  // ---- End of a game -----------------------------------------------------------------------
  // Results, statistics and the hall of fame recorded in that order, in one write of the file;
  // sets State().RecordAdded. The first step of ShowResults.
  TGameEndRecord RecordGameEnd();

  // ---- Games as files (UnitGameRecord.cpp) ---------------------------------------------
  // The running game's record, the last finished one, saving, opening and the kept game.
  TGameRecords& Records() { return *records_; }
  // Watching a recorded game step by step.
  TGameWatch& Watch() { return *watch_; }
  // Goes on with an unfinished recorded game as the running game (its seats already filled the
  // way the caller wants them). False when it could not be continued (the message was shown).
  bool ContinueRecordedGame(const TGameRecord& record);
  // The session ends (logout, a termination signal). Without `close`, the kept game and the
  // profile are written now and the game goes on (a logout may yet be cancelled); with it, the
  // window closes as "Выход" closes it, without asking.
  void SessionEnding(bool close);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;  // centred on the screen the first time

 private:
  void CreateMenus();
  void CreateBoard();  // the board part, and a click on it
  // The master's search, run off the window's thread while the window handles its events and
  // moves the progress bar; 0 when the game was stopped or replaced meanwhile.
  uint8_t ThinkMaster(const std::shared_ptr<TMasterThought>& thought,
                      const std::function<bool()>& wanted);
  void QueueAutostart();
  void ShowIdle();  // the idle steps of StopGame

  TMessageService* messages_;
  const TPlatform& platform_;
  TProgramState state_;
  std::unique_ptr<TIniFile> iniFile_;
  std::unique_ptr<TGameServices> services_;  // what the machine asks of the window
  std::unique_ptr<TMorvikMachine> machine_;
  std::unique_ptr<TMusic> music_;
  std::unique_ptr<TGameSetup> setup_;
  std::unique_ptr<TGameRecords> records_;
  std::unique_ptr<TGameWatch> watch_;
  std::unique_ptr<TGameCommands> commands_;
  std::unique_ptr<TGameActions> actions_;
  std::unique_ptr<TGameStatus> status_;
  std::unique_ptr<TGameBoard> board_;
  bool inGame_ = false;  // a game holds the settings: from its start until the window is idle
  QMenuBar* menuBar_ = nullptr;
  QToolBar* mainBar_ = nullptr;
  QToolBar* colorBar_ = nullptr;
  QMenu* colorMenu_ = nullptr;  // the board's popup during a game
  QMenu* panelMenu_ = nullptr;  // right-click menu of the menu bar: the three panel switches

  bool autostartPending_ = false;
  bool placed_ = false;  // centred once; later size changes only keep it on the screen
  // Where the program last put the window: while it is still there the player has not moved it,
  // and a size change centres it again.
  std::optional<QPoint> placedAt_;
  int gameSerial_ = 0;         // counts started games; a click checks it after letting events run
  bool closeUnasked_ = false;  // the session ends: closing asks nothing
};
