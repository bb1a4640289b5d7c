// SPDX-License-Identifier: GPL-3.0-or-later
// TFormSettings: reading, checking, applying and storing the options; the buttons and the rules
// that keep the controls' enabled states.
#include "dialogs/UnitSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <tuple>

#include "config/Catalogue.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "dialogs/SettingsHost.h"
#include "gui/Platform.h"
#include "gui/QtText.h"
#include "model/ComputerLevels.h"
#include "model/OptionTable.h"
#include "model/ProgramState.h"
#include "sound/Music.h"

namespace {

// Title of every box this dialog shows.
constexpr char kErrorTitle[] = "Error";

// Messages for a custom field that does not hold a size.
constexpr char kBadWidth[] =
    "Ширина карты должна быть целым числом от 0 до 255.\r\nИсправьте настройки карты.";
constexpr char kBadHeight[] =
    "Высота карты должна быть целым числом от 0 до 255.\r\nИсправьте настройки карты.";
constexpr char kBadTile[] =
    "Размер плитки должен быть целым числом от 0 до 255.\r\nИсправьте настройки карты.";

constexpr int kPresetCustom = 4;

}  // namespace

TFormSettings::TFormSettings(TSettingsHost& host, TIniFile& ini, TMessageService& messages,
                             const TProgramState& state, TMusic* music, const TPlatform& platform,
                             QWidget* parent)
    : QDialog(parent),
      host_(host),
      ini_(ini),
      messages_(messages),
      state_(state),
      music_(music),
      platform_(platform) {
  CreatePages();
  for (int page = 0; page < pcOption->count(); ++page) SetPageDefaults(page);
  rgMode->SetItemIndex(0);
  ConnectChanges();
  ControlEnabled(true);
  chkbSelectIslandClick();
  chkbMusicClick();
  slVolumeChange();
  btnUse->setEnabled(false);
}

TFormSettings::~TFormSettings() = default;

void TFormSettings::ConnectChanges() {
  // Every control with a key, and chkbAutoTurn, marks the options as changed. So does a mode
  // chosen by the user (it is applied); the mode commands set rgMode without that.
  for (const TOptionInfo& o : OptionTable()) {
    QObject* control = findChild<QObject*>(QString::fromLatin1(o.Control));
    if (auto* g = qobject_cast<TRadioGroup*>(control))
      connect(g, &TRadioGroup::Click, this, &TFormSettings::ControlChange);
    else if (auto* e = qobject_cast<QLineEdit*>(control))
      connect(e, &QLineEdit::textChanged, this, &TFormSettings::ControlChange);
    else if (auto* c = qobject_cast<QComboBox*>(control))
      connect(c, &QComboBox::currentIndexChanged, this, &TFormSettings::ControlChange);
    else if (auto* b = qobject_cast<QCheckBox*>(control))
      connect(b, &QCheckBox::toggled, this, &TFormSettings::ControlChange);
    else if (auto* v = qobject_cast<QSlider*>(control))
      connect(v, &QSlider::valueChanged, this, &TFormSettings::ControlChange);
  }
  connect(rgMode, &TRadioGroup::UserClick, this, &TFormSettings::ControlChange);

  connect(rgSizeMap, &TRadioGroup::Click, this, &TFormSettings::rgSizeMapClick);
  connect(rgSizeTile, &TRadioGroup::Click, this, &TFormSettings::rgSizeTileClick);
  connect(rgMode, &TRadioGroup::Click, this, &TFormSettings::rgModeClick);
  connect(chkbSelectIsland, &QCheckBox::toggled, this, &TFormSettings::chkbSelectIslandClick);
  connect(chkbMusic, &QCheckBox::toggled, this, &TFormSettings::chkbMusicClick);
  connect(chkbTileSigns, &QCheckBox::toggled, this, &TFormSettings::chkbTileSignsClick);
  connect(slVolume, &QSlider::valueChanged, this, &TFormSettings::slVolumeChange);

  // Each custom field remembers its last valid number: that is what the file gets while the
  // field holds something else under a fixed preset.
  const std::array<QLineEdit*, 3> fields = {eWidth, eHeight, eTile};
  for (size_t i = 0; i < fields.size(); ++i)
    connect(fields[i], &QLineEdit::textChanged, this, [this, i, fields] {
      const int n = FieldNumber(fields[i]);
      if (n >= 0) lastValid_[i] = n;
    });
}

// ---------------------------------------------------------------------------------------------
// Change handlers and enabled-state rules.

void TFormSettings::ControlChange() {
  btnUse->setEnabled(true);
}

void TFormSettings::rgSizeMapClick() {
  const bool on = rgSizeMap->ItemIndex() == kPresetCustom && !locked_;
  eWidth->setEnabled(on);
  eHeight->setEnabled(on);
}

void TFormSettings::rgSizeTileClick() {
  eTile->setEnabled(rgSizeTile->ItemIndex() == kPresetCustom);
}

void TFormSettings::rgModeClick() {
  rgBrain->setEnabled(rgMode->ItemIndex() == 0 && !locked_);
}

void TFormSettings::chkbSelectIslandClick() {
  chkbSelectPerspective->setEnabled(chkbSelectIsland->isChecked());
}

void TFormSettings::chkbMusicClick() {
  slVolume->setEnabled(chkbMusic->isChecked());
}

void TFormSettings::slVolumeChange() {
  const int value = slVolume->value();
  slVolume->setToolTip(Q("Громкость ") + QString::number(value) + QStringLiteral("%"));
  // Heard at once, before the options are applied; a Cancel that reloads sets it back here.
  if (music_) music_->SetVolume(value);
}

void TFormSettings::ControlEnabled(bool enabled) {
  locked_ = !enabled;
  rgMode->setEnabled(enabled);
  rgSizeMap->setEnabled(enabled);
  rgVictory->setEnabled(enabled);
  rgModeClick();
  rgSizeMapClick();
  rgSizeTileClick();
}

void TFormSettings::ShowMode(bool multiUser) {
  rgMode->SetItemIndex(multiUser ? 1 : 0);
}

void TFormSettings::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Over the main window; at start-up, while that is still hidden, in the middle of the screen.
  if (!event->spontaneous())
    CenterOnWindow(*this, parentWidget() ? parentWidget()->window() : nullptr, platform_);
  btnOk->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Sizes and looks.

int TFormSettings::FieldNumber(const QLineEdit* field) {
  const QString text = field->text().trimmed();
  if (text.isEmpty() || text.size() > 3) return -1;
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
  const int n = text.toInt();
  return n <= 255 ? n : -1;
}

std::optional<int32_t> TFormSettings::WholeNumber(const QLineEdit* field) {
  bool ok = false;
  const int n = field->text().trimmed().toInt(&ok, 10);
  return ok ? std::optional<int32_t>(n) : std::nullopt;
}

int32_t TFormSettings::StoredFieldNumber(const QLineEdit* field) const {
  // Any whole number is kept as typed (the check refuses it when it is used as a size); only
  // text that is no number falls back to the last valid size.
  if (const std::optional<int32_t> n = WholeNumber(field)) return *n;
  return lastValid_[field == eWidth ? 0 : field == eHeight ? 1 : 2];
}

std::pair<int, int> TFormSettings::GetSizeMap() const {
  return ControlOptions().MapSize();
}

int TFormSettings::GetSizeTile() const {
  return ControlOptions().TileSize();
}

int TFormSettings::CalcHeightBorder() const {
  return 67 + (chkbMainBar->isChecked() ? 28 : 0) + (chkbColorBar->isChecked() ? 28 : 0) +
         (chkbStatusBar->isChecked() ? 20 : 0);
}

TTileStyle TFormSettings::NumberToStyle(int index) {
  TTileStyle style = stFlat;
  if (!LookStyle(index, style)) messages_.Error("Неизвестный стиль плитки.", kErrorTitle);
  return style;
}

uint8_t TFormSettings::ClassicComputerLevel() const {
  return LevelOfStored(rgBrain->ItemIndex());
}

// ---------------------------------------------------------------------------------------------
// The file.

namespace {

// The control of an option: a radio group, a custom field, a tile-look list, a check box or the
// volume slider.
QObject* ControlOf(const QDialog& dialog, const TOptionInfo& option) {
  return dialog.findChild<QObject*>(QString::fromLatin1(option.Control));
}

// What a control shows, as the option's number (a custom field's text is the caller's).
int ControlValue(const QObject* control) {
  if (auto* box = qobject_cast<const QCheckBox*>(control)) return box->isChecked() ? 1 : 0;
  if (auto* group = qobject_cast<const TRadioGroup*>(control)) return group->ItemIndex();
  if (auto* list = qobject_cast<const QComboBox*>(control)) return list->currentIndex();
  if (auto* slider = qobject_cast<const QSlider*>(control)) return slider->value();
  return 0;
}

void SetControlValue(QObject* control, int32_t value) {
  if (auto* box = qobject_cast<QCheckBox*>(control)) {
    box->setChecked(value != 0);
  } else if (auto* group = qobject_cast<TRadioGroup*>(control)) {
    group->SetItemIndex(value);
  } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
    field->setText(QString::number(value));
  } else if (auto* list = qobject_cast<QComboBox*>(control)) {
    // A look the list does not have leaves it without a choice (caught by the check).
    list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
  } else if (auto* slider = qobject_cast<QSlider*>(control)) {
    slider->setValue(value);  // kept within 0..100 by the slider
  }
}

}  // namespace

void TFormSettings::ReadParams() {
  const TIniFile& ini = ini_;
  const std::string section = cfg::OptionsSection(state_.ActiveGamer);
  for (const TOptionInfo& o : OptionTable()) {
    if (!o.Key) continue;
    const int32_t value = o.OnOff() ? int32_t(ini.ReadBool(section, o.Key, o.Default != 0))
                                    : ini.ReadInteger(section, o.Key, o.Default);
    SetControlValue(ControlOf(*this, o), value);
  }
  // A stored number that is no size leaves the key's default as the last valid one.
  const std::array<QLineEdit*, 3> fields = {eWidth, eHeight, eTile};
  for (size_t i = 0; i < fields.size(); ++i) {
    const int n = FieldNumber(fields[i]);
    lastValid_[i] = n >= 0 ? n : OptionByControl(fields[i]->objectName().toStdString())->Default;
  }
  // The mode has no key: it follows the program's game mode.
  ShowMode(state_.MultiUserMode);
  rgSizeMapClick();
  rgSizeTileClick();
  chkbSelectIslandClick();
  chkbMusicClick();
  btnUse->setEnabled(true);
}

void TFormSettings::WriteParams() {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const TOptionInfo& o : OptionTable()) {
    if (!o.Key) continue;
    QObject* control = ControlOf(*this, o);
    int value = ControlValue(control);
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
      value = StoredFieldNumber(field);
      if (!WholeNumber(field)) {
        // Show what is stored instead of the text that could not be.
        const QSignalBlocker quiet(field);
        field->setText(QString::number(value));
      }
    }
    pairs.emplace_back(o.Key, std::to_string(value));
  }
  // Every key in one replacement of the file: never half of them.
  ini_.WriteStrings(state_.OptionsSection, pairs);
}

// ---------------------------------------------------------------------------------------------
// Checking.

bool TFormSettings::TestField(QLineEdit* field, const char* message) {
  if (FieldNumber(field) >= 0) return true;
  pcOption->setCurrentWidget(tsGame);
  if (field->isEnabled()) field->setFocus();
  messages_.Error(message, kErrorTitle);
  return false;
}

bool TFormSettings::TestCondition() {
  auto fail = [this](const char* text) {
    messages_.Error(text, kErrorTitle);
    return false;
  };
  const bool tileFromField = !(rgSizeTile->ItemIndex() >= 0 && rgSizeTile->ItemIndex() < 4);
  const bool mapFromFields = !(rgSizeMap->ItemIndex() >= 0 && rgSizeMap->ItemIndex() < 4);

  if (tileFromField && !TestField(eTile, kBadTile)) return false;
  const int64_t t = GetSizeTile();
  if (t < 10) return fail("Ширина плитки меньше 10.\r\nИсправьте настройки игры.");

  if (mapFromFields && !TestField(eWidth, kBadWidth)) return false;
  const auto [width, height] = GetSizeMap();
  const int64_t w = width;
  if (w < 10) return fail("Ширина игрового поля меньше 10.\r\nИсправьте настройки карты.");
  if (w * t < 390)
    return fail("Ширина окна меньше минимально допустимой.\r\nИсправьте настройки карты.");
  const QSize screen = platform_.ScreenSize();
  if (screen.width() - 22 < w * t)
    return fail("Ширина окна больше ширины экрана.\r\nИсправьте настройки карты.");

  if (mapFromFields && !TestField(eHeight, kBadHeight)) return false;
  const int64_t h = height;
  if (h < 10) return fail("Высота игрового поля меньше 10.\r\nИсправьте настройки карты.");
  if (screen.height() - CalcHeightBorder() < h * t)
    return fail("Высота окна больше высоты экрана.\r\nИсправьте настройки карты.");

  if (rgSizeMap->ItemIndex() < 0 || rgSizeMap->ItemIndex() > 4)
    return fail("Некорректный размер карты.\r\nИсправьте настройки карты.");
  if (rgSizeTile->ItemIndex() < 0 || rgSizeTile->ItemIndex() > 4)
    return fail("Некорректный размер плитки.\r\nИсправьте настройки карты.");
  if (!LevelByStored(rgBrain->ItemIndex()))
    return fail("Некорректный уровень игры компьютера.\r\nИсправьте настройки карты.");
  if (rgVictory->ItemIndex() < 0 || rgVictory->ItemIndex() > 1)
    return fail("Некорректный способ определения победы.\r\nИсправьте настройки карты.");
  if (cbTileNeutral->currentIndex() < 0)
    return fail("Не задан вид нейтральной плитки.\r\nИсправьте настройки карты.");
  if (cbTileOccuped->currentIndex() < 0)
    return fail("Не задан вид захваченной плитки плитки.\r\nИсправьте настройки карты.");
  if (cbTileSelected->currentIndex() < 0)
    return fail("Не задан вид выделенной плитки.\r\nИсправьте настройки карты.");
  if (cbTilePressed->currentIndex() < 0)
    return fail("Не задан вид нажатой плитки.\r\nИсправьте настройки карты.");
  return true;
}

// ---------------------------------------------------------------------------------------------
// Applying.

TGameOptions TFormSettings::ControlOptions() const {
  TGameOptions o;
  for (const TOptionInfo& option : OptionTable()) {
    const QObject* control = ControlOf(*this, option);
    const auto* field = qobject_cast<const QLineEdit*>(control);
    option.Set(o, field ? FieldNumber(field) : ControlValue(control));
  }
  return o;
}

void TFormSettings::UseOption() {
  const TGameOptions options = ControlOptions();
  const TGameOptions before = state_.Options;
  if (!host_.ApplyOptions(options)) {
    chkbMusic->setChecked(!options.Music);  // the sound system said no (it has told the player)
  }
  const TGameOptions& now = state_.Options;
  if (isVisible() && (now.MapSize() != before.MapSize() || now.TileSize() != before.TileSize() ||
                      now.PanelFlags != before.PanelFlags))
    activateWindow();

  // A mode chosen here is the game mode from now on, as the mode commands make it.
  const int mode = rgMode->ItemIndex();
  if ((mode == 0 || mode == 1) && (mode == 1) != state_.MultiUserMode) host_.SetGameMode(mode == 1);

  WriteParams();
}

uint8_t TFormSettings::CheckedPanels() const {
  return ControlOptions().PanelFlags;
}

void TFormSettings::ApplyChosenProfile() {
  // As "ОК" pressed in code: pending options applied, "Применить" off. (At start-up the main
  // window, and with it this dialog, is disabled: the button's own state is what counts.)
  if (btnUse->isEnabledTo(this)) {
    UseOption();
    btnUse->setEnabled(false);
  }
}

void TFormSettings::SwitchMusic() {
  chkbMusic->toggle();
  UseOption();
}

void TFormSettings::SwitchPanel(uint8_t flag, bool on) {
  const TOptionInfo* option = OptionByFlag(&TGameOptions::PanelFlags, flag);
  if (!option) return;
  qobject_cast<QCheckBox*>(ControlOf(*this, *option))->setChecked(on);
  UseOption();
}

// ---------------------------------------------------------------------------------------------
// Buttons.

void TFormSettings::OkClick(bool close) {
  if (!TestCondition()) return;
  if (btnUse->isEnabled()) {
    UseOption();
    btnUse->setEnabled(false);
  }
  if (close) accept();
}

void TFormSettings::btnOkClick() {
  OkClick(true);
}

void TFormSettings::btnUseClick() {
  OkClick(false);
}

void TFormSettings::btnDefaultClick() {
  SetPageDefaults(pcOption->currentIndex());
}

void TFormSettings::SetPageDefaults(int page) {
  // The mode has no key and no place in the options, but is applied like them.
  if (page == 0 && !locked_) {
    if (rgMode->ItemIndex() != 0) ControlChange();
    rgMode->SetItemIndex(0);
  }
  for (const TOptionInfo& o : OptionTable())
    if (o.Page == page && !(locked_ && o.GameLocked))
      SetControlValue(ControlOf(*this, o), o.Default);
}

// ---------------------------------------------------------------------------------------------
// The main window's command.

int TFormSettings::ExecuteFromWindow() {
  // The modal loop keeps the main window from input; the window itself stays enabled because
  // disabling it would disable this dialog, its child, too.
  const int result = exec();
  if (result == QDialog::Rejected && btnUse->isEnabled()) ReadParams();
  ShowMode(state_.MultiUserMode);  // a mode chosen and then cancelled is forgotten
  if (QWidget* owner = parentWidget()) {
    owner->activateWindow();
    owner->setFocus();
  }
  return result;
}
