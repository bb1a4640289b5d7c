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
  for (TRadioGroup* g : {rgBrain, rgVictory, rgSizeMap, rgSizeTile})
    connect(g, &TRadioGroup::Click, this, &TFormSettings::ControlChange);
  connect(rgMode, &TRadioGroup::UserClick, this, &TFormSettings::ControlChange);
  for (QLineEdit* e : {eWidth, eHeight, eTile})
    connect(e, &QLineEdit::textChanged, this, &TFormSettings::ControlChange);
  for (QComboBox* c : {cbTileNeutral, cbTileOccuped, cbTileSelected, cbTilePressed})
    connect(c, &QComboBox::currentIndexChanged, this, &TFormSettings::ControlChange);
  for (QCheckBox* b : {chkbSelectIsland, chkbSelectPerspective, chkbSelectBoundary, chkbSkipTurn,
                       chkbAutoTurn, chkbAutostart, chkbReplay, chkbHallFameOnRecord, chkbMusic,
                       chkbMainBar, chkbColorBar, chkbStatusBar, chkbTileSigns})
    connect(b, &QCheckBox::toggled, this, &TFormSettings::ControlChange);
  connect(slVolume, &QSlider::valueChanged, this, &TFormSettings::ControlChange);

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
  const int index = rgSizeMap->ItemIndex();
  if (index >= 0 && index < kPresetCustom) return SizeMapPreset(index);
  return {FieldNumber(eWidth), FieldNumber(eHeight)};
}

int TFormSettings::GetSizeTile() const {
  const int index = rgSizeTile->ItemIndex();
  if (index >= 0 && index < kPresetCustom) return SizeTilePreset(index);
  return FieldNumber(eTile);
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
  const int index = rgBrain->ItemIndex();
  return index >= 0 && index <= 2 ? uint8_t(index + 1) : 0;
}

// ---------------------------------------------------------------------------------------------
// The file.

namespace {

// The control of a settings key: a radio group, a custom field, a tile-look list, a check box
// or the volume slider.
QObject* ControlOf(const QDialog& dialog, const cfg::TKeyInfo& k) {
  return dialog.findChild<QObject*>(QString::fromStdString(k.control));
}

}  // namespace

void TFormSettings::ReadParams() {
  const TIniFile& ini = ini_;
  const std::string section = cfg::OptionsSection(state_.ActiveGamer);
  for (const cfg::TKeyInfo& k : cfg::SettingsKeys()) {
    QObject* control = ControlOf(*this, k);
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setChecked(cfg::ReadKeyBool(ini, section, k));
      continue;
    }
    const int32_t value = cfg::ReadKeyInt(ini, section, k);
    if (auto* group = qobject_cast<TRadioGroup*>(control)) {
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
  // Our own options: check boxes after the 23 keys.
  for (const cfg::TKeyInfo& k : cfg::OurSettingsKeys())
    if (auto* box = qobject_cast<QCheckBox*>(ControlOf(*this, k)))
      box->setChecked(cfg::ReadKeyBool(ini, section, k));
  // A stored number that is no size leaves the key's default as the last valid one.
  const std::array<std::pair<QLineEdit*, const char*>, 3> fields = {
      {{eWidth, cfg::key::GameWidth},
       {eHeight, cfg::key::GameHeight},
       {eTile, cfg::key::GameTile}}};
  for (size_t i = 0; i < fields.size(); ++i) {
    const int n = FieldNumber(fields[i].first);
    lastValid_[i] = n >= 0 ? n : cfg::SettingsKey(fields[i].second)->def;
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
  for (const cfg::TKeyInfo& k : cfg::SettingsKeys()) {
    QObject* control = ControlOf(*this, k);
    int value = 0;
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
      value = box->isChecked() ? 1 : 0;
    } else if (auto* group = qobject_cast<TRadioGroup*>(control)) {
      value = group->ItemIndex();
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
      value = StoredFieldNumber(field);
      if (!WholeNumber(field)) {
        // Show what is stored instead of the text that could not be.
        const QSignalBlocker quiet(field);
        field->setText(QString::number(value));
      }
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      value = list->currentIndex();
    } else if (auto* slider = qobject_cast<QSlider*>(control)) {
      value = slider->value();
    }
    pairs.emplace_back(k.key, std::to_string(value));
  }
  for (const cfg::TKeyInfo& k : cfg::OurSettingsKeys())
    if (auto* box = qobject_cast<QCheckBox*>(ControlOf(*this, k)))
      pairs.emplace_back(k.key, box->isChecked() ? "1" : "0");
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
  if (rgBrain->ItemIndex() < 0 || rgBrain->ItemIndex() > 2)
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
  o.SizeMap = rgSizeMap->ItemIndex();
  std::tie(o.Width, o.Height) = GetSizeMap();
  o.SizeTile = rgSizeTile->ItemIndex();
  o.Tile = GetSizeTile();
  o.Brain = rgBrain->ItemIndex();
  o.Victory = rgVictory->ItemIndex();
  o.Looks = {cbTileNeutral->currentIndex(), cbTileOccuped->currentIndex(),
             cbTileSelected->currentIndex(), cbTilePressed->currentIndex()};
  const std::pair<QCheckBox*, uint8_t> flags[] = {{chkbSelectIsland, soSelectIsland},
                                                  {chkbSelectPerspective, soSelectPerspective},
                                                  {chkbSkipTurn, soSkipTurn},
                                                  {chkbAutoTurn, soAutoTurn},
                                                  {chkbAutostart, soAutostart},
                                                  {chkbSelectBoundary, soSelectBoundary},
                                                  {chkbReplay, soReplay},
                                                  {chkbHallFameOnRecord, soHallFameOnRecord}};
  for (const auto& [box, flag] : flags)
    if (box->isChecked()) o.SelectOptions |= flag;
  o.PanelFlags = CheckedPanels();
  o.Music = chkbMusic->isChecked();
  o.Volume = slVolume->value();
  o.TileSigns = chkbTileSigns->isChecked();
  return o;
}

void TFormSettings::UseOption() {
  const TGameOptions options = ControlOptions();
  const TGameOptions before = state_.Options;
  if (!host_.ApplyOptions(options)) {
    chkbMusic->setChecked(!options.Music);  // the sound system said no (it has told the player)
  }
  const TGameOptions& now = state_.Options;
  if (isVisible() && (now.Width != before.Width || now.Height != before.Height ||
                      now.Tile != before.Tile || now.PanelFlags != before.PanelFlags))
    activateWindow();

  // A mode chosen here is the game mode from now on, as the mode commands make it.
  const int mode = rgMode->ItemIndex();
  if ((mode == 0 || mode == 1) && (mode == 1) != state_.MultiUserMode)
    host_.SetGameMode(mode == 1);

  WriteParams();
}

uint8_t TFormSettings::CheckedPanels() const {
  return uint8_t((chkbMainBar->isChecked() ? pfMainBar : 0) |
                 (chkbColorBar->isChecked() ? pfColorBar : 0) |
                 (chkbStatusBar->isChecked() ? pfStatusBar : 0));
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
  QCheckBox* box = flag == pfMainBar    ? chkbMainBar
                   : flag == pfColorBar ? chkbColorBar
                                        : chkbStatusBar;
  box->setChecked(on);
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
  auto def = [](const char* key) { return cfg::SettingsKey(key)->def; };
  auto defText = [&](const char* key) { return QString::number(def(key)); };
  switch (page) {
    case 0:
      if (locked_) return;
      if (rgMode->ItemIndex() != 0) ControlChange();  // the mode is applied like the rest
      rgMode->SetItemIndex(0);
      rgBrain->SetItemIndex(def(cfg::key::GameBrain));
      rgVictory->SetItemIndex(def(cfg::key::GameVictory));
      return;
    case 1:
      if (!locked_) {
        rgSizeMap->SetItemIndex(def(cfg::key::GameSizeMap));
        eWidth->setText(defText(cfg::key::GameWidth));
        eHeight->setText(defText(cfg::key::GameHeight));
      }
      rgSizeTile->SetItemIndex(def(cfg::key::GameSizeTile));
      eTile->setText(defText(cfg::key::GameTile));
      return;
    case 2:
      cbTileNeutral->setCurrentIndex(def(cfg::key::TileNeutral));
      cbTileOccuped->setCurrentIndex(def(cfg::key::TileOccuped));
      cbTileSelected->setCurrentIndex(def(cfg::key::TileSelected));
      cbTilePressed->setCurrentIndex(def(cfg::key::TilePressed));
      for (const cfg::TKeyInfo& k : cfg::OurSettingsKeys())
        if (k.key == cfg::key::TileSigns) chkbTileSigns->setChecked(k.def != 0);
      return;
    case 3:
      chkbSelectIsland->setChecked(def(cfg::key::SelectIsland));
      chkbSelectPerspective->setChecked(def(cfg::key::SelectPerspective));
      chkbSelectBoundary->setChecked(def(cfg::key::SelectBound));
      chkbSkipTurn->setChecked(def(cfg::key::SelectSkipTurn));
      chkbAutoTurn->setChecked(true);  // no key: on in every run
      chkbAutostart->setChecked(def(cfg::key::SelectAutostart));
      chkbReplay->setChecked(def(cfg::key::SelectReplay));
      chkbHallFameOnRecord->setChecked(def(cfg::key::SelectHallfameOnRecord));
      chkbMusic->setChecked(def(cfg::key::SelectMusic));
      slVolume->setValue(def(cfg::key::Volume));
      return;
    case 4:
      chkbMainBar->setChecked(def(cfg::key::VisibleMainBar));
      chkbColorBar->setChecked(def(cfg::key::VisibleColorBar));
      chkbStatusBar->setChecked(def(cfg::key::VisibleStatusBar));
      return;
    default:
      return;
  }
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
