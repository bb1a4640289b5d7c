// SPDX-License-Identifier: GPL-3.0-or-later
// TFormMultiUserGame: the four seat frames, their enabled-state rules, reading, checking and
// storing the setup, and what a multi-user start takes from it.
#include "dialogs/UnitMultiUserGame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/Catalogue.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "gui/QtText.h"
#include "model/ComputerLevels.h"
#include "model/ProgramState.h"

namespace {

QString Name(const char* prefix, int seat) {
  return QString::fromLatin1(prefix) + QString::number(seat);
}

// A radio button set in code: checking one unchecks its partner, clearing one leaves both clear
// (an auto-exclusive button cannot be cleared directly).
void SetRadio(QRadioButton* button, bool checked) {
  if (checked) {
    button->setChecked(true);
    return;
  }
  button->setAutoExclusive(false);
  button->setChecked(false);
  button->setAutoExclusive(true);
}

// The positions of the six keys of a seat in cfg::MultiUserKeys.
enum { kChecked, kCommand, kComputerChecked, kHumanChecked, kComputer, kName };

}  // namespace

TFormMultiUserGame::TFormMultiUserGame(TIniFile& ini, TMessageService& messages,
                                       const TProgramState& state, QWidget* parent)
    : QDialog(parent), ini_(ini), messages_(messages), state_(state) {
  setObjectName(QStringLiteral("FormMultiUserGame"));
  setWindowTitle(Q("Настройки многопользовательской игры"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  auto* seats = new QGridLayout;
  for (int n = 1; n <= 4; ++n) seats->addWidget(CreateSeat(n), (n - 1) / 2, (n - 1) % 2);

  btnOk = new QPushButton(Q("ОК"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setDefault(true);  // Enter presses it
  btnCancel = new QPushButton(Q("Отмена"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);
  connect(btnOk, &QPushButton::clicked, this, &TFormMultiUserGame::btnOkClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Esc presses it too

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOk);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(seats);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (int n = 1; n <= 4; ++n) chkbGamerClick(n);
}

TFormMultiUserGame::~TFormMultiUserGame() = default;

QGroupBox* TFormMultiUserGame::CreateSeat(int n) {
  // The leading blanks of the caption leave room for the check box lying on it.
  auto* frame = new QGroupBox(Q("       Игрок ") + QString::number(n) + QStringLiteral(" "), this);
  frame->setObjectName(Name("gbGamer", n));
  auto* check = new QCheckBox(frame);
  check->setObjectName(Name("chkbGamer", n));
  check->move(8, 0);
  auto* computer = new QRadioButton(Q("Компьютер"), frame);
  computer->setObjectName(Name("rbComputer", n));
  computer->setChecked(true);
  auto* human = new QRadioButton(Q("Человек"), frame);
  human->setObjectName(Name("rbHuman", n));
  auto* team = new QComboBox(frame);
  team->setObjectName(Name("cbCommand", n));
  team->addItems({Q("Нет"), Q("Команда 1"), Q("Команда 2"), Q("Команда 3"), Q("Команда 4")});
  auto* strength = new QComboBox(frame);
  strength->setObjectName(Name("cbComputer", n));
  for (const TComputerLevel& level : ComputerLevels()) strength->addItem(Q(level.MultiUserName));
  auto* profile = new QComboBox(frame);
  profile->setObjectName(Name("cbHuman", n));
  profile->setMinimumContentsLength(20);

  auto* layout = new QGridLayout(frame);
  layout->setContentsMargins(8, 20, 8, 8);
  layout->addWidget(computer, 0, 0);
  layout->addWidget(strength, 0, 1);
  layout->addWidget(human, 1, 0);
  layout->addWidget(profile, 1, 1);
  auto* teamLabel = new QLabel(Q("Команда:"), frame);
  teamLabel->setBuddy(team);
  layout->addWidget(teamLabel, 2, 0);
  layout->addWidget(team, 2, 1);
  check->raise();

  gbGamer[size_t(n)] = frame;
  chkbGamer[size_t(n)] = check;
  rbComputer[size_t(n)] = computer;
  rbHuman[size_t(n)] = human;
  cbCommand[size_t(n)] = team;
  cbComputer[size_t(n)] = strength;
  cbHuman[size_t(n)] = profile;

  connect(check, &QCheckBox::toggled, this, [this, n] { chkbGamerClick(n); });
  for (QRadioButton* r : {computer, human})
    connect(r, &QRadioButton::toggled, this, [this, n] { ControlClick(n); });
  return frame;
}

// ---------------------------------------------------------------------------------------------
// Enabled-state rules.

void TFormMultiUserGame::chkbGamerClick(int n) {
  const size_t s = size_t(n);
  const bool on = chkbGamer[s]->isChecked();
  rbComputer[s]->setEnabled(on);
  rbHuman[s]->setEnabled(on);
  cbCommand[s]->setEnabled(on);
  if (on) {
    ControlClick(n);
  } else {
    cbComputer[s]->setEnabled(false);
    cbHuman[s]->setEnabled(false);
  }
}

void TFormMultiUserGame::ControlClick(int n) {
  const size_t s = size_t(n);
  // A seat that does not take part keeps both lists disabled whatever its type.
  const bool on = chkbGamer[s]->isChecked();
  cbComputer[s]->setEnabled(on && rbComputer[s]->isChecked());
  cbHuman[s]->setEnabled(on && rbHuman[s]->isChecked());
}

// ---------------------------------------------------------------------------------------------
// The file.

void TFormMultiUserGame::FillProfileLists() {
  QStringList names;
  for (const std::string& name : state_.GamerList) names << QString::fromStdString(name);
  for (int n = 1; n <= 4; ++n) {
    QComboBox* list = cbHuman[size_t(n)];
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(-1);
  }
}

namespace {

// Position of `name` in a profile list, names compared without regard to case; -1 when absent.
int FindProfile(const QComboBox* list, const QString& name) {
  if (name.isEmpty()) return -1;
  for (int i = 0; i < list->count(); ++i)
    if (list->itemText(i).compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

}  // namespace

void TFormMultiUserGame::ReadParams() {
  FillProfileLists();
  const TIniFile& ini = ini_;
  const std::string section = cfg::OptionsSection(state_.ActiveGamer);
  for (int n = 1; n <= 4; ++n) {
    const size_t s = size_t(n);
    const std::vector<cfg::TKeyInfo> keys = cfg::MultiUserKeys(n);
    chkbGamer[s]->setChecked(cfg::ReadKeyBool(ini, section, keys[kChecked]));
    // A team or strength the list does not have reads as the first item ("Нет", "Легкий"):
    // a seat with no team or a computer of strength 0 would start a broken game.
    const int team = cfg::ReadKeyInt(ini, section, keys[kCommand]);
    cbCommand[s]->setCurrentIndex(team >= 0 && team < cbCommand[s]->count() ? team : 0);
    // Computer first, then person: both set leaves a person, both clear leaves neither.
    SetRadio(rbComputer[s], cfg::ReadKeyBool(ini, section, keys[kComputerChecked]));
    SetRadio(rbHuman[s], cfg::ReadKeyBool(ini, section, keys[kHumanChecked]));
    const int level = cfg::ReadKeyInt(ini, section, keys[kComputer]);
    cbComputer[s]->setCurrentIndex(level >= 0 && level < cbComputer[s]->count() ? level : 0);
    const QString name = QString::fromStdString(cfg::ReadKeyString(ini, section, keys[kName]));
    cbHuman[s]->setCurrentIndex(FindProfile(cbHuman[s], name));
  }
  for (int n = 1; n <= 4; ++n) chkbGamerClick(n);
}

void TFormMultiUserGame::WriteParams() {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int n = 1; n <= 4; ++n) {
    const size_t s = size_t(n);
    const std::vector<cfg::TKeyInfo> keys = cfg::MultiUserKeys(n);
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    pairs.emplace_back(keys[kChecked].key, flag(chkbGamer[s]->isChecked()));
    pairs.emplace_back(keys[kCommand].key, std::to_string(cbCommand[s]->currentIndex()));
    pairs.emplace_back(keys[kComputerChecked].key, flag(rbComputer[s]->isChecked()));
    pairs.emplace_back(keys[kHumanChecked].key, flag(rbHuman[s]->isChecked()));
    pairs.emplace_back(keys[kComputer].key, std::to_string(cbComputer[s]->currentIndex()));
    const QComboBox* list = cbHuman[s];
    pairs.emplace_back(keys[kName].key,
                       list->currentIndex() >= 0 ? list->currentText().toStdString() : "");
  }
  // The whole setup in one replacement of the file.
  ini_.WriteStrings(state_.OptionsSection, pairs);
}

// ---------------------------------------------------------------------------------------------
// Checking and the start of a game.

bool TFormMultiUserGame::TestCondition() {
  auto fail = [this](const std::string& text) {
    messages_.Error(text, "Error");
    return false;
  };
  int seats = 0;
  std::array<int, 9> sides{};  // sides 1..8
  for (int n = 1; n <= 4; ++n) {
    const size_t s = size_t(n);
    if (!chkbGamer[s]->isChecked()) continue;
    ++seats;
    if (rbHuman[s]->isChecked() && cbHuman[s]->currentIndex() < 0) {
      cbHuman[s]->setFocus();
      return fail("Не выбран игрок.");
    }
    if (!rbComputer[s]->isChecked() && !rbHuman[s]->isChecked())
      return fail("У игрока №" + std::to_string(n) + "не определено тип.");
    const int team = cbCommand[s]->currentIndex();
    ++sides[size_t(team > 0 ? team + 4 : n)];
  }
  if (seats < 2) return fail("Количество игроков меньше двух.");
  int opponents = 0;
  for (int count : sides)
    if (count > 0) ++opponents;
  if (opponents < 2) return fail("Количество противников меньше двух.");
  return true;
}

TSeatSetup TFormMultiUserGame::SeatSetup(int n) const {
  TSeatSetup seat;
  if (n < 1 || n > 4 || !chkbGamer[size_t(n)]->isChecked()) return seat;
  const size_t s = size_t(n);
  const int team = cbCommand[s]->currentIndex();
  seat.Team = team > 0 && team <= 4 ? uint8_t(team) : 0;
  if (rbComputer[s]->isChecked()) {
    seat.Kind = gkComputer;
    seat.Name = "Компьютер №" + std::to_string(n);
    const int level = cbComputer[s]->currentIndex();
    seat.Level = LevelOfStored(level);
  } else if (rbHuman[s]->isChecked()) {
    seat.Kind = gkHuman;
    seat.Name = cbHuman[s]->currentText().toStdString();
  }
  return seat;
}

// ---------------------------------------------------------------------------------------------
// Showing and the buttons.

void TFormMultiUserGame::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Profiles may have been created, renamed or deleted since the lists were filled.
  std::array<QString, 5> chosen;
  for (int n = 1; n <= 4; ++n)
    if (cbHuman[size_t(n)]->currentIndex() >= 0)
      chosen[size_t(n)] = cbHuman[size_t(n)]->currentText();
  FillProfileLists();
  for (int n = 1; n <= 4; ++n)
    cbHuman[size_t(n)]->setCurrentIndex(FindProfile(cbHuman[size_t(n)], chosen[size_t(n)]));
}

void TFormMultiUserGame::btnOkClick() {
  if (!TestCondition()) return;
  WriteParams();
  accept();
}

int TFormMultiUserGame::ExecuteFromWindow() {
  const int result = exec();
  if (result != QDialog::Accepted) ReadParams();  // unconfirmed changes are dropped
  return result;
}
