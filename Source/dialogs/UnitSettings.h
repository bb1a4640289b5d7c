// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog "Настройки". Its controls hold the current profile's options while the
// program runs; UseOption is the one place where they reach the machine, the main window and the
// settings file.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "engine/UnitCore.h"
#include "gui/RadioGroup.h"
#include "model/GameOptions.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class TIniFile;
class TMessageService;
class TMusic;
class TPlatform;
class TSettingsHost;
struct TProgramState;

class TFormSettings : public QDialog {
  Q_OBJECT

 public:
  // Created once, hidden, as a child window of the main window (`parent`), which puts the options
  // in force through `host`. Reads and writes the active profile's section of `ini`; the volume
  // slider is heard at once through `music` (may be null); boards are checked against the
  // platform's screen. btnUse starts disabled.
  TFormSettings(TSettingsHost& host, TIniFile& ini, TMessageService& messages,
                const TProgramState& state, TMusic* music, const TPlatform& platform,
                QWidget* parent);
  ~TFormSettings() override;

  // Every control with a key from "OPTIONS_" + ActiveGamer, each with its default; btnUse is
  // enabled afterwards.
  void ReadParams();
  // The 23 settings keys into OptionsSection, in catalogue order, then our own keys, in one
  // write.
  void WriteParams();
  // True when the controls describe valid options; otherwise the first failing check's message
  // (box titled "Error") and false.
  bool TestCondition();
  // The options the controls describe (a custom size that is no size gives -1).
  TGameOptions ControlOptions() const;
  // Puts the controls' options in force through the main window's ApplyOptions (a music switch
  // the sound system refuses unticks chkbMusic), takes a mode chosen here as the game mode, then
  // WriteParams. No validation of its own.
  void UseOption();
  // A profile was chosen and its options passed the check: as "ОК" pressed in code.
  void ApplyChosenProfile();
  // The main window's music command and panel switches: the check box changes, then UseOption.
  void SwitchMusic();
  void SwitchPanel(uint8_t flag, bool on);
  // The panels the three check boxes show (pfXxx flags), applied or not.
  uint8_t CheckedPanels() const;
  // false when a game starts: mode, board size, custom board fields, strength and victory are
  // locked; true when it ends: released as far as the other rules allow.
  void ControlEnabled(bool enabled);

  // Board size in tiles from the preset, or from eWidth/eHeight for "Особая" or no choice; a
  // field that is not a whole number from 0 to 255 gives -1.
  std::pair<int, int> GetSizeMap() const;
  // Tile edge in pixels from the preset, or from eTile for "Особая" or no choice (-1 likewise).
  int GetSizeTile() const;
  // Window height that is not board, from the three panel check boxes.
  int CalcHeightBorder() const;
  // Tile style of a tile-look list index; outside 0..3 an error box and stFlat.
  TTileStyle NumberToStyle(int index);
  // Strength of the classic game's computer from rgBrain: 1..4, 0 for no choice.
  uint8_t ClassicComputerLevel() const;

  // The buttons, callable in code. btnOkClick: check, apply pending changes, close with OK.
  // btnUseClick: check, apply, stay open. btnDefaultClick: defaults of the current page.
  void btnOkClick();
  void btnUseClick();
  void btnDefaultClick();

  // The main window's "Настройки" command: the dialog modal over the disabled window; a Cancel
  // with changes pending reloads the stored options. Returns the dialog's result.
  int ExecuteFromWindow();
  // Shows the game mode in rgMode without counting as a change (TFormGame::SetGameMode).
  void ShowMode(bool multiUser);

  bool Locked() const { return locked_; }  // a game runs (ControlEnabled(false))

  // ---- Controls --------------------------------------------------------------------------
  QTabWidget* pcOption = nullptr;
  QWidget* pcGame = nullptr;  // page 0 "Игра"
  QWidget* tsGame = nullptr;  // page 1 "Карта"
  QWidget* tsTile = nullptr;  // page 2 "Плитки"
  QWidget* tsOption = nullptr;
  QWidget* tsPanels = nullptr;

  TRadioGroup* rgMode = nullptr;
  TRadioGroup* rgBrain = nullptr;
  TRadioGroup* rgVictory = nullptr;
  TRadioGroup* rgSizeMap = nullptr;
  TRadioGroup* rgSizeTile = nullptr;
  QLineEdit* eWidth = nullptr;
  QLineEdit* eHeight = nullptr;
  QLineEdit* eTile = nullptr;
  QComboBox* cbTileNeutral = nullptr;
  QComboBox* cbTileOccuped = nullptr;
  QComboBox* cbTileSelected = nullptr;
  QComboBox* cbTilePressed = nullptr;
  QCheckBox* chkbSelectIsland = nullptr;
  QCheckBox* chkbSelectPerspective = nullptr;
  QCheckBox* chkbSelectBoundary = nullptr;
  QCheckBox* chkbSkipTurn = nullptr;
  QCheckBox* chkbAutoTurn = nullptr;
  QCheckBox* chkbAutostart = nullptr;
  QCheckBox* chkbReplay = nullptr;
  QCheckBox* chkbHallFameOnRecord = nullptr;
  QCheckBox* chkbMusic = nullptr;
  QSlider* slVolume = nullptr;
  QCheckBox* chkbMainBar = nullptr;
  QCheckBox* chkbColorBar = nullptr;
  QCheckBox* chkbStatusBar = nullptr;
  QCheckBox* chkbTileSigns = nullptr;  // "Плитки" page, under the four looks
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnUse = nullptr;
  QPushButton* btnDefault = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow: the focus goes to btnOk

 private:
  void CreatePages();
  QWidget* CreateGamePage();
  QWidget* CreateMapPage();
  QWidget* CreateTilePage();
  QWidget* CreateOptionPage();
  QWidget* CreatePanelPage();
  QComboBox* CreateTileList(const char* name, const char* caption, QWidget* page, int row);
  void ConnectChanges();

  void OkClick(bool close);
  void ControlChange();
  void rgSizeMapClick();
  void rgSizeTileClick();
  void rgModeClick();
  void chkbSelectIslandClick();
  void chkbMusicClick();
  void chkbTileSignsClick();  // the look pictures follow the box
  void slVolumeChange();
  void SetPageDefaults(int page);
  // The custom field's number, or -1 when its text is not a whole number from 0 to 255.
  static int FieldNumber(const QLineEdit* field);
  // The field's text as a 32-bit whole number, if it is one.
  static std::optional<int32_t> WholeNumber(const QLineEdit* field);
  // The number WriteParams stores for a custom field: any whole number it holds, else the last
  // valid size.
  int32_t StoredFieldNumber(const QLineEdit* field) const;
  bool TestField(QLineEdit* field, const char* message);

  TSettingsHost& host_;
  TIniFile& ini_;
  TMessageService& messages_;
  const TProgramState& state_;  // the active profile, the game mode and the options in force
  TMusic* music_;
  const TPlatform& platform_;
  bool locked_ = false;
  // The last whole number 0..255 each custom field held: eWidth, eHeight, eTile.
  std::array<int, 3> lastValid_{};
};
