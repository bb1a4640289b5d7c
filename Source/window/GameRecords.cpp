// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/GameRecords.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#include "config/GamerStats.h"
#include "gui/Platform.h"
#include "model/GameOptions.h"
#include "model/GameResults.h"
#include "window/GameWatch.h"
#include "window/UnitGame.h"

namespace {

// The settings file remembers the folder of the last record chosen, percent-encoded so that any
// path survives the file's code page. Sections the game's own reading never looks at.
constexpr const char* FolderSection = "RECORDS";
constexpr const char* FolderKey = "Folder";
constexpr const char* RecordFilter = "Записи игр (*.morvik);;Все файлы (*)";

QString DefaultChooseFile(TFormGame& form, bool save, const QString& folder) {
  QFileDialog::Options options;
  // Under tests and on the offscreen platform the desktop's own dialog cannot be driven.
  if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
    options |= QFileDialog::DontUseNativeDialog;
  const QString filter = QString::fromUtf8(RecordFilter);
  if (save) {
    QString path = QFileDialog::getSaveFileName(&form, QStringLiteral("Сохранить игру"), folder,
                                                filter, nullptr, options);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".morvik");
    return path;
  }
  return QFileDialog::getOpenFileName(&form, QStringLiteral("Открыть игру"), folder, filter,
                                      nullptr, options);
}

bool ClassicShape(const TGameRecord& r) {
  return r.Seats[1].Kind == gkHuman && r.Seats[2].Kind == gkNone && r.Seats[3].Kind == gkNone &&
         r.Seats[4].Kind == gkComputer && r.Seats[1].Team == 0 && r.Seats[4].Team == 0;
}

}  // namespace

TGameRecords::TGameRecords(TFormGame& form, const TPlatform& platform)
    : form_(form), platform_(platform) {
  ChooseFile = [this](bool save, const QString& folder) {
    return DefaultChooseFile(form_, save, folder);
  };
}

TGameRecords::~TGameRecords() = default;

// ---------------------------------------------------------------------------------------------
// Recording the running game.

void TGameRecords::GameStarting() {
  // While a game runs, the kept game is that game's, which its stop has counted. Otherwise it is
  // one left when the program closed: replaced by another game it is over now, and counts as
  // stopped; the kept game continued is counted when it ends, like any game.
  if (!RunningRecorded() && !continuingKept_) CountKeptAsStopped();
  // The old recorder gives the machine's move tap back before the new one takes it.
  recorder_.reset();
  recorder_ = std::make_unique<TGameRecorder>(form_.Machine());
  keptMoves_ = SIZE_MAX;
  DiscardKept();
}

void TGameRecords::CountKeptAsStopped() {
  if (!HasKept()) return;
  const TRecordRead read = LoadGameRecord(KeptPath().toStdString());
  if (!read.Record || read.Record->Finished) return;
  const TGameRecord& record = *read.Record;
  TGameReplay replay(record);
  if (!replay.Seek(replay.Length())) return;
  // The rule, board and mode the kept game was played by, for the profiles known now.
  TProgramState state = form_.State();
  state.GameVictory = record.VictoryByArea ? 0 : 1;
  state.GameSizeMap = 4;  // "Особая" unless a preset has its size
  for (int k = 0; k < 4; ++k)
    if (SizeMapPreset(k) == std::pair<int, int>(record.Width, record.Height)) state.GameSizeMap = k;
  state.MultiUserMode = !ClassicShape(record);
  // A replay makes moves rather than choices: who chose is read from the record's moves.
  const TStatsGame played = FinishedGameStats(replay.Machine(), state);
  TStatsGame stats = StoppedGameStats(replay.Machine(), state);
  for (const TRecordMove& move : record.Moves)
    if (move.Seat >= 1 && move.Seat <= 4)
      stats.Seats[move.Seat].Profile = played.Seats[move.Seat].Profile;
  for (int s = 1; s <= 4; ++s) stats.Seats[size_t(s)].Assisted = record.Seats[size_t(s)].Assisted;
  // A refusal has been reported by the store; the new game starts regardless.
  RecordGameStats(form_.IniFile(), stats);
}

void TGameRecords::GameStarted() {
  if (!recorder_ || !form_.Machine().Active) return;
  const TProgramState& state = form_.State();
  recorder_->GameStarted(state.VictoryByArea(), state.Option(soSkipTurn), state.Option(soAutoTurn));
  // A continued game keeps whom help was given.
  if (resumed_)
    for (int s = 1; s <= 4; ++s)
      if (resumed_->Seats[size_t(s)].Assisted) recorder_->MarkAssisted(s);
  resumed_.reset();
}

void TGameRecords::Resume(const TGameRecord& record) {
  TMorvikMachine& m = form_.Machine();
  resumed_ = record;
  if (auto error = ContinueGame(m, record)) {
    resumed_.reset();
    form_.Messages().Error(*error);
    form_.StopGame(true);
    return;
  }
  // Help used before the interruption still counts.
  for (int s = 1; s <= 4; ++s)
    if (record.Seats[size_t(s)].Assisted) m.Assisted = true;
  form_.ShowCodeGameCaption();
  form_.Board().ShowPosition();
  if (m.CurrentGamer >= 1 && m.CurrentGamer <= 4)
    form_.Status().SetText(m.Gamers[m.CurrentGamer].Name);
}

void TGameRecords::GameFinished() {
  if (!recorder_) return;
  last_ = recorder_->Record(true);
  recorder_.reset();
  DiscardKept();
}

void TGameRecords::GameStopped() {
  recorder_.reset();
  DiscardKept();
}

void TGameRecords::Assisted(int seat) {
  if (recorder_) recorder_->MarkAssisted(seat);
}

bool TGameRecords::RunningRecorded() const {
  return recorder_ && form_.Machine().Active;
}

std::optional<TGameRecord> TGameRecords::GameToSave() const {
  if (RunningRecorded()) return recorder_->Record(false);
  return last_;
}

// ---------------------------------------------------------------------------------------------
// The kept game.

QString TGameRecords::KeptPath() const {
  return KeptPath(form_.State().ActiveGamer);
}

QString TGameRecords::KeptPath(const std::string& profile) const {
  if (profile.empty()) return QString();
  // The profile's name in hexadecimal: any name, letter case kept, makes a valid file name.
  const QByteArray name = QByteArray::fromStdString(profile).toHex();
  return platform_.DataFolder() + QStringLiteral("/interrupted/") + QString::fromLatin1(name) +
         QStringLiteral(".morvik");
}

bool TGameRecords::HasKept() const {
  const QString path = KeptPath();
  return !path.isEmpty() && QFileInfo(path).isFile();
}

void TGameRecords::DiscardKept() {
  DiscardKept(form_.State().ActiveGamer);
}

void TGameRecords::DiscardKept(const std::string& profile) {
  const QString path = KeptPath(profile);
  if (!path.isEmpty()) QFile::remove(path);
}

void TGameRecords::MoveKept(const std::string& from, const std::string& to) {
  const QString source = KeptPath(from), target = KeptPath(to);
  if (source.isEmpty() || target.isEmpty() || source == target) return;
  if (QFile::exists(source)) {
    QFile::remove(target);  // a game left under the new name belongs to no profile any more
    QFile::rename(source, target);
  }
  // Another profile's kept multi-user game may seat the renamed person: it seats the new name,
  // so that it can still be continued.
  const QDir folder(QFileInfo(target).absolutePath());
  for (const QString& name : folder.entryList({QStringLiteral("*.morvik")}, QDir::Files)) {
    const std::string path = folder.filePath(name).toStdString();
    TRecordRead read = LoadGameRecord(path);
    if (!read.Record) continue;
    bool renamed = false;
    for (TRecordSeat& seat : read.Record->Seats)
      if (seat.Kind == gkHuman && seat.Name == from) {
        seat.Name = to;
        renamed = true;
      }
    // A refused write leaves the game as it was, still to be watched.
    if (renamed) SaveGameRecord(path, *read.Record);
  }
  // The hall of fame's records have been renamed: their games follow them.
  HallFame().Rename(from, to);
}

// ---------------------------------------------------------------------------------------------
// The hall of fame's games.

THallFameGames TGameRecords::HallFame() const {
  return THallFameGames(std::filesystem::path(platform_.DataFolder().toStdString()) / "halloffame");
}

void TGameRecords::KeepHallFameGame(const std::string& section,
                                    const std::vector<std::string>& records, size_t row) {
  if (!last_) return;
  if (auto error = HallFame().Keep(section, records, row, *last_))
    form_.Messages().Error("Игру рекорда не удалось сохранить.\n" + *error);
}

std::vector<bool> TGameRecords::HallFameGames(const std::string& section,
                                              const std::vector<std::string>& records) const {
  std::vector<bool> has;
  for (const std::filesystem::path& game : HallFame().Games(section, records))
    has.push_back(!game.empty());
  return has;
}

void TGameRecords::WatchHallFameGame(const std::string& section,
                                     const std::vector<std::string>& records, size_t row) {
  const std::vector<std::filesystem::path> games = HallFame().Games(section, records);
  if (row >= games.size() || games[row].empty()) return;
  const std::string path = games[row].string();
  // The dialog may have been opened by the end of a game, which still has to stop.
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        TRecordRead read = LoadGameRecord(path);
        if (!read.Record) {
          form_.Messages().Error(read.Error);
          return;
        }
        TGameWatch& watch = form_.Watch();
        const TGameRecord& record = *read.Record;
        // A board the screen cannot hold is refused before the running game is given up.
        if (form_.Machine().Active && watch.WatchTile(record.Width, record.Height) > 0) {
          if (!form_.Messages().Confirm(
                  "Существует активная игра.\nОна будет утеряна.\nВы уверены?"))
            return;
          form_.StopGame(true);
        }
        // A record is watched from where it was won; Home goes back to the first move.
        if (watch.Start(std::move(*read.Record))) watch.Seek(watch.Length());
      },
      Qt::QueuedConnection);
}

void TGameRecords::HallFameTableReset(const std::string& section) {
  HallFame().Follow(section, {});
}

void TGameRecords::Waiting() {
  const TMorvikMachine& m = form_.Machine();
  if (!recorder_ || !m.Active || !m.AwaitingHuman || m.MovesPlayed() == keptMoves_) return;
  keptMoves_ = m.MovesPlayed();
  if (keepQueued_) return;
  keepQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        keepQueued_ = false;
        WriteKept();
      },
      Qt::QueuedConnection);
}

void TGameRecords::WriteKept() {
  const QString path = KeptPath();
  if (!recorder_ || !form_.Machine().Active || path.isEmpty()) return;
  // A failed write here is tried again at the next turn and at the close, which reports it.
  QDir().mkpath(QFileInfo(path).absolutePath());
  SaveGameRecord(path.toStdString(), recorder_->Record(false));
}

bool TGameRecords::KeepInterrupted() {
  const QString path = KeptPath();
  if (!recorder_ || !form_.Machine().Active || path.isEmpty()) return true;
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (auto error = SaveGameRecord(path.toStdString(), recorder_->Record(false))) {
    form_.Messages().Error("Прерванную игру не удалось сохранить.\n" + *error);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Saving and opening.

QString TGameRecords::LastFolder() const {
  const std::string stored = form_.IniFile().ReadString(FolderSection, FolderKey, "");
  return QUrl::fromPercentEncoding(QByteArray::fromStdString(stored));
}

QString TGameRecords::Choose(bool save) const {
  const QString folder = LastFolder();
  return ChooseFile(save, folder.isEmpty() ? QDir::homePath() : folder);
}

void TGameRecords::Remember(const QString& path) {
  // Only a file that was written or read: a failed attempt leaves the settings file alone.
  const QString folder = QFileInfo(path).absolutePath();
  if (folder != LastFolder())
    form_.IniFile().WriteString(FolderSection, FolderKey,
                                QUrl::toPercentEncoding(folder).toStdString());
}

void TGameRecords::Save() {
  const std::optional<TGameRecord> record = GameToSave();
  if (!record) return;
  const QString path = Choose(true);
  if (path.isEmpty()) return;
  if (auto error = SaveGameRecord(path.toStdString(), *record))
    form_.Messages().Error(*error);
  else
    Remember(path);
}

void TGameRecords::Open() {
  const QString path = Choose(false);
  if (!path.isEmpty()) OpenFile(path);
}

void TGameRecords::OpenFile(const QString& path) {
  TRecordRead read = LoadGameRecord(path.toStdString());
  if (!read.Record) {
    form_.Messages().Error(read.Error);
    return;
  }
  // A finished game too large for the screen is told at once, the running game untouched.
  if (read.Record->Finished &&
      form_.Watch().WatchTile(read.Record->Width, read.Record->Height) == 0) {
    form_.Watch().Start(std::move(*read.Record));
    return;
  }
  // Only a file that reads costs the running game, and only when the player agrees.
  if (form_.Machine().Active &&
      !form_.Messages().Confirm("Существует активная игра.\nОна будет утеряна.\nВы уверены?"))
    return;
  Remember(path);
  TGameRecord& record = *read.Record;
  if (form_.Machine().Active) form_.StopGame(true);
  if (!record.Finished) {
    if (auto why = Continuable(record)) {
      form_.Messages().Information("Эту игру можно только смотреть: " + *why);
    } else if (form_.Messages().Confirm(
                   "Игра в файле не окончена.\nПродолжить её?\n(«Нет» — только смотреть.)")) {
      Continue(std::move(record));
      return;
    }
  }
  form_.Watch().Start(std::move(record));
}

std::optional<std::string> TGameRecords::Continuable(TGameRecord& record) const {
  const TProgramState& state = form_.State();
  const TMorvikMachine& m = form_.Machine();
  if (record.Finished) return "игра окончена.";
  if (record.Width != m.Width || record.Height != m.Height)
    return "поле игры " + std::to_string(record.Width) + " x " + std::to_string(record.Height) +
           ", а в настройках " + std::to_string(m.Width) + " x " + std::to_string(m.Height) + ".";
  if (record.VictoryByArea != state.VictoryByArea() ||
      record.SkipTurn != state.Option(soSkipTurn) || record.AutoTurn != state.Option(soAutoTurn))
    return "правила игры (победа, пропуск хода, автоматический ход) не те, что в настройках.";
  if (ClassicShape(record)) {
    if (state.ActiveGamer.empty()) return "не выбран игрок.";
    record.Seats[1].Name = state.ActiveGamer;
    return std::nullopt;
  }
  for (int s = 1; s <= 4; ++s) {
    const TRecordSeat& seat = record.Seats[size_t(s)];
    if (seat.Kind != gkHuman) continue;
    const auto& list = state.GamerList;
    if (std::find(list.begin(), list.end(), seat.Name) == list.end())
      return "игрока «" + seat.Name + "» нет среди игроков этой программы.";
  }
  return std::nullopt;
}

void TGameRecords::Continue(TGameRecord record) {
  form_.Setup().SetGameMode(!ClassicShape(record));
  form_.ContinueRecordedGame(record);
}

void TGameRecords::ContinueKept() {
  if (form_.Machine().Active || !HasKept()) return;
  const QString path = KeptPath();
  TRecordRead read = LoadGameRecord(path.toStdString());
  if (!read.Record) {
    // A kept game that no longer reads is of no use: it goes, and the player is told why.
    form_.Messages().Error(read.Error);
    DiscardKept();
    return;
  }
  if (auto why = Continuable(*read.Record)) {
    form_.Messages().Information("Эту игру можно только смотреть: " + *why);
    form_.Watch().Start(std::move(*read.Record));
    return;
  }
  continuingKept_ = true;
  Continue(std::move(*read.Record));
  continuingKept_ = false;
}
