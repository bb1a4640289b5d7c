// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitGamers.h"
#include "gui/Platform.h"

#include <QAction>
#include <QCollator>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "config/Catalogue.h"
#include "config/Cp1251.h"
#include "config/GamerFile.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "config/StoreMessages.h"
#include "dialogs/OptionDialogs.h"
#include "gui/QtText.h"
#include "model/ComputerLevels.h"
#include "model/GameHost.h"
#include "model/ProgramState.h"

namespace {

// The names of the computer strengths, which no person may take.
bool IsComputerName(const std::string& name) {
  return IsLevelName(name);
}

std::string CutName(const std::string& name) {
  const QString text = QString::fromStdString(name);
  return text.size() > MaxGamerNameLength ? text.left(MaxGamerNameLength).toStdString() : name;
}

}  // namespace

void SortGamerList(std::vector<std::string>& list) {
  QCollator collator{QLocale(QLocale::Russian)};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(list.begin(), list.end(), [&](const std::string& a, const std::string& b) {
    const int c = collator.compare(QString::fromStdString(a), QString::fromStdString(b));
    return c != 0 ? c < 0 : a < b;
  });
}

TFormGamers::TFormGamers(TIniFile& ini, TMessageService& messages, TProgramState& state,
                         TOptionDialogs& options, TGameHost& host, const TPlatform& platform,
                         QWidget* parent)
    : QDialog(parent),
      ini_(ini),
      messages_(messages),
      state_(state),
      options_(options),
      host_(host),
      platform_(platform) {
  setObjectName(QStringLiteral("FormGamers"));
  setWindowTitle(Q("Игроки"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  lbGamers = new QListWidget(this);
  lbGamers->setObjectName(QStringLiteral("lbGamers"));
  lbGamers->setSelectionMode(QAbstractItemView::SingleSelection);
  lbGamers->setFixedSize(200, 180);

  auto button = [this](const char* caption, const char* name) {
    auto* b = new QPushButton(Q(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setFixedWidth(90);
    return b;
  };
  btnSelect = button("Выбор", "btnSelect");
  btnSelect->setDefault(true);
  btnCreate = button("Создать", "btnCreate");
  btnChange = button("Изменить", "btnChange");
  btnErase = button("Удалить", "btnErase");
  btnExit = button("Выход", "btnExit");

  auto* column = new QVBoxLayout;
  column->addWidget(btnSelect);
  column->addSpacing(8);
  column->addWidget(btnCreate);
  column->addWidget(btnChange);
  column->addWidget(btnErase);
  column->addStretch(1);
  column->addWidget(btnExit);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(lbGamers);
  layout->addLayout(column);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnSelect, &QPushButton::clicked, this, &TFormGamers::btnSelectClick);
  connect(btnCreate, &QPushButton::clicked, this, &TFormGamers::btnCreateClick);
  connect(btnChange, &QPushButton::clicked, this, &TFormGamers::btnChangeClick);
  connect(btnErase, &QPushButton::clicked, this, &TFormGamers::btnEraseClick);
  connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
  connect(lbGamers, &QListWidget::itemDoubleClicked, this, [this] { btnSelectClick(); });
}

void TFormGamers::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CenterOnScreen(*this, platform_);
  FormShow();
}

void TFormGamers::FormShow() {
  const std::string last = ini_.ReadString(cfg::kSectionOther, cfg::kKeyLastLogin, "");
  LoadList(std::string());
  int row = last.empty() ? -1 : IndexOf(last, true);
  if (row < 0 && lbGamers->count() > 0) row = 0;
  lbGamers->setCurrentRow(row);
  TestQuantityGamers();
  btnSelect->setFocus();
  // The file cannot keep such profiles' sections apart: the player is told once, to rename one.
  if (!twinsTold_) {
    const auto twins = GamerCaseTwins(ini_);
    if (!twins.empty()) {
      twinsTold_ = true;
      messages_.Information(CaseTwinsText(twins));
    }
  }
}

void TFormGamers::LoadList(const std::string& select) {
  std::vector<std::string> names = state_.GamerList;
  SortGamerList(names);
  lbGamers->clear();
  for (const std::string& name : names) lbGamers->addItem(QString::fromStdString(name));
  if (!select.empty()) lbGamers->setCurrentRow(IndexOf(select, false));
}

int TFormGamers::IndexOf(const std::string& name, bool ignoreCase) const {
  const QString text = QString::fromStdString(name);
  for (int i = 0; i < lbGamers->count(); ++i)
    if (lbGamers->item(i)->text().compare(
            text, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
      return i;
  return -1;
}

std::string TFormGamers::SelectedName() const {
  const QListWidgetItem* item = lbGamers->currentItem();
  return item && item->isSelected() ? item->text().toStdString() : std::string();
}

void TFormGamers::TestQuantityGamers() {
  const bool any = lbGamers->count() > 0;
  btnSelect->setEnabled(any);
  btnChange->setEnabled(any);
  btnErase->setEnabled(any);
}

bool TFormGamers::TestNameGamer(const std::string& name) {
  TMessageService& messages = messages_;
  for (const std::string& gamer : state_.GamerList) {
    if (SameTextCI(gamer, name)) {
      messages.Error(kMsgGamerDuplicate);
      return false;
    }
  }
  if (IsComputerName(name)) {
    messages.Error(kMsgGamerComputer);
    return false;
  }
  // The name becomes a key and part of a section name: the file must give it back unchanged.
  if (!IniCanHoldName(name)) {
    messages.Error(kMsgGamerBadChars);
    return false;
  }
  return true;
}

bool TFormGamers::AskName(const std::string& title, std::string& name) {
  for (;;) {
    if (!messages_.InputQuery(title, "Введите имя:", name)) return false;
    name = CutName(name);
    if (name.empty()) return false;
    if (TestNameGamer(name)) return true;
  }
}

void TFormGamers::btnCreateClick() {
  std::string name;
  if (!AskName("Создание игрока", name)) return;
  TIniFile& ini = ini_;
  if (!ini.WriteString(cfg::kSectionGamers, name, name)) return;  // the store has said why
  ini.UpdateFile();
  TProgramState& state = state_;
  state.GamerList.push_back(name);
  SortGamerList(state.GamerList);
  LoadList(name);
  TestQuantityGamers();
  btnSelect->setFocus();
}

void TFormGamers::btnChangeClick() {
  const std::string old = SelectedName();
  if (old.empty()) return;
  std::string name = old;
  if (!AskName("Изменение игрока", name)) return;

  TIniFile& ini = ini_;
  TProgramState& state = state_;
  const bool active = state.ActiveGamer == old;
  const bool lastLogin =
      active || SameTextCI(ini.ReadString(cfg::kSectionOther, cfg::kKeyLastLogin, ""), old);
  const std::string newSection = cfg::OptionsSection(name);
  // A section left under the new name (by hand) must not mix into the moved options.
  if (ini.SectionExists(newSection) && !ini.EraseSection(newSection)) return;
  // Profile key, options and hall-of-fame names change in one replacement of the file.
  if (!RenameGamerInFile(ini, &messages_, old, name)) return;  // the store has said why
  if (lastLogin) ini.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, name);
  host_.ProfileRenamed(old, name);

  auto it = std::find(state.GamerList.begin(), state.GamerList.end(), old);
  if (it != state.GamerList.end())
    *it = name;
  else
    state.GamerList.push_back(name);
  SortGamerList(state.GamerList);
  LoadList(name);

  // The active profile stays active under its new name: its options and the exit save follow.
  if (active) {
    state.ActiveGamer = name;
    state.OptionsSection = newSection;
  }
  if (previous_ == old) previous_ = name;
}

void TFormGamers::btnEraseClick() {
  const std::string name = SelectedName();
  if (name.empty()) return;
  TProgramState& state = state_;
  TMessageService& messages = messages_;
  // While a choice waits for valid options, the profile before it still holds the window.
  if (name == state.ActiveGamer || (pending_ && name == previous_)) {
    messages.Error(kMsgGamerActive);
    return;
  }
  if (!messages.Confirm(kMsgGamerDelete)) return;

  // Options and statistics go with the name, in one replacement of the file.
  if (!DeleteGamerInFile(ini_, name)) return;
  host_.ProfileErased(name);

  auto it = std::find(state.GamerList.begin(), state.GamerList.end(), name);
  if (it != state.GamerList.end()) state.GamerList.erase(it);
  const int row = lbGamers->currentRow();
  delete lbGamers->takeItem(row);
  const int count = lbGamers->count();
  if (row >= count) {
    lbGamers->setCurrentRow(count - 1);
    btnCreate->setFocus();
  } else {
    lbGamers->setCurrentRow(row);
  }
  TestQuantityGamers();
}

void TFormGamers::btnSelectClick() {
  const std::string name = SelectedName();
  if (name.empty()) return;
  // Nothing could be kept under a name the file cannot hold: the rename is offered instead.
  if (!GamerNameHoldable(name)) {
    if (messages_.Confirm(UnholdableGamerText(name))) btnChangeClick();
    return;
  }
  TProgramState& state = state_;
  if (name == state.ActiveGamer && !pending_) {
    accept();
    return;
  }

  // A choice completes whole (profile, options, mode, layout number) or, left pending and then
  // abandoned, is undone whole: the profile before it comes back as it was.
  if (!pending_) {
    previous_ = state.ActiveGamer;
    previousMode_ = state.MultiUserMode;
    previousCode_ = host_.CodeGame();
  }
  state.ActiveGamer = name;
  state.OptionsSection = cfg::OptionsSection(name);
  ini_.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, name);

  options_.ReadParams();
  bool ok = options_.TestCondition();
  if (!ok) ok = options_.ShowSettings();
  // Options that fail the check are never left half-taken: the window would run with none (or
  // with the last profile's) while the settings dialog holds the faulty ones. "Выбор" asks
  // again; leaving the dialog goes back to the profile before.
  pending_ = !ok;
  if (!ok) return;

  options_.ApplyOptions();
  RestoreModeAndLayout();
  accept();
}

void TFormGamers::RestoreModeAndLayout() {
  const std::string& section = state_.OptionsSection;
  host_.SetGameMode(!ini_.ReadBool(section, cfg::kKeyClassicMode, true));
  // Layout numbers are never negative: such a value, like 0, means "no board yet".
  const int32_t code = ini_.ReadInteger(section, cfg::kKeyCodeGame, 0);
  host_.SetCodeGame(code > 0 ? code : 0);
  if (code <= 0) host_.SetRandomGame();
}

void TFormGamers::UndoPendingChoice() {
  pending_ = false;
  TProgramState& state = state_;
  state.ActiveGamer = previous_;
  state.OptionsSection = previous_.empty() ? std::string() : cfg::OptionsSection(previous_);
  if (previous_.empty()) return;  // start-up: the program ends
  ini_.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, previous_);
  // The abandoned choice may have applied its options ("Применить"): the profile before comes
  // back whole, its options read and applied again, its mode and layout number with them.
  options_.ReadParams();
  options_.ApplyOptions();
  host_.SetGameMode(previousMode_);
  host_.SetCodeGame(previousCode_);
}

bool TFormGamers::FormCloseQuery(int result) {
  if (startUp_ && result == QDialog::Rejected) return true;
  if (!state_.GamerList.empty()) return true;
  messages_.Error(kMsgGamerNone);
  return false;
}

void TFormGamers::done(int result) {
  if (!FormCloseQuery(result)) return;
  if (pending_ && result != QDialog::Accepted) UndoPendingChoice();
  QDialog::done(result);
}

void TFormGamers::EndStartUp() {
  startUp_ = false;
  btnExit->hide();
}

bool TFormGamers::CloseProfile() {
  const TProgramState& state = state_;
  TIniFile& ini = ini_;
  ini.WriteStrings(state.OptionsSection, {{cfg::kKeyCodeGame, std::to_string(host_.CodeGame())},
                                          {cfg::kKeyClassicMode, state.MultiUserMode ? "0" : "1"},
                                          {cfg::kKeyWindowLeft, std::to_string(x())},
                                          {cfg::kKeyWindowTop, std::to_string(y())}});
  ini.UpdateFile();
  return true;
}
