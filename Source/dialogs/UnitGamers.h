// SPDX-License-Identifier: GPL-3.0-or-later
// The player-profiles dialog: create, rename, delete and choose the profile that plays. Each
// profile owns the options section "OPTIONS_" + name; choosing one makes it active and applies
// its options, game mode and layout number.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class TGameHost;
class TIniFile;
class TMessageService;
class TOptionDialogs;
class TPlatform;
struct TProgramState;

// Longest name the input takes.
inline constexpr int MaxGamerNameLength = 255;

inline constexpr char kMsgGamerDuplicate[] =
    "Игрок с таким именем уже есть.\r\nВыберите другое имя.";
inline constexpr char kMsgGamerComputer[] =
    "Введенное имя принадлежит компьютеру.\r\nВыберите другое имя.";
inline constexpr char kMsgGamerBadChars[] =
    "Имя содержит недопустимые символы.\r\nВыберите другое имя.";
inline constexpr char kMsgGamerActive[] = "Выбранный игрок в настоящее время активен.";
inline constexpr char kMsgGamerDelete[] = "Игрок будет удален.\r\nВы уверены?";
inline constexpr char kMsgGamerNone[] = "Не задан игрок.";

// Sorts profile names as the list shows them: letter case aside, in Russian collation.
void SortGamerList(std::vector<std::string>& list);

class TFormGamers : public QDialog {
  Q_OBJECT

 public:
  // Keeps the profiles in `ini` and `state`; a choice goes through the option dialogs
  // (`options`) and the main window (`host`). Centred on the platform's screen.
  TFormGamers(TIniFile& ini, TMessageService& messages, TProgramState& state,
              TOptionDialogs& options, TGameHost& host, const TPlatform& platform,
              QWidget* parent = nullptr);

  // The name rules for a new or renamed profile; shows the matching message on refusal.
  bool TestNameGamer(const std::string& name);
  // "Выбор", "Изменить" and "Удалить" only while there is a profile.
  void TestQuantityGamers();
  // The exit save of the active profile: layout number, game mode, this dialog's position.
  bool CloseProfile();
  // Leaves the start-up mode: "Выход" is gone for the rest of the run.
  void EndStartUp();
  bool StartUpMode() const { return startUp_; }
  // The name selected in the list, empty when none.
  std::string SelectedName() const;

  QListWidget* lbGamers = nullptr;
  QPushButton* btnSelect = nullptr;
  QPushButton* btnCreate = nullptr;
  QPushButton* btnChange = nullptr;
  QPushButton* btnErase = nullptr;
  QPushButton* btnExit = nullptr;

 public slots:
  void FormShow();
  void btnCreateClick();
  void btnChangeClick();
  void btnEraseClick();
  void btnSelectClick();
  // Every attempt to close; false keeps the dialog open.
  bool FormCloseQuery(int result);
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Asks for a name until it passes the rules; false when cancelled or left empty.
  bool AskName(const std::string& title, std::string& name);
  // Fills the list from GamerList (sorted for display) and selects `name` when given.
  void LoadList(const std::string& select);
  int IndexOf(const std::string& name, bool ignoreCase) const;

  // A choice whose options failed the check and were not applied: the profile is active, but
  // the dialog only closes with OK once they pass; closing otherwise goes back to `previous_`.
  void UndoPendingChoice();
  // The chosen profile's game mode and layout number, from its section.
  void RestoreModeAndLayout();

  TIniFile& ini_;
  TMessageService& messages_;
  TProgramState& state_;
  TOptionDialogs& options_;
  TGameHost& host_;
  const TPlatform& platform_;
  bool startUp_ = true;
  bool pending_ = false;
  // The profile active before a pending choice, with its game mode and layout number.
  std::string previous_;
  bool previousMode_ = false;
  int32_t previousCode_ = 0;
  bool twinsTold_ = false;  // profiles differing only in letter case: said once a run
};
