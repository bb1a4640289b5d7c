// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/GameWatch.h"

#include <QAction>
#include <QLabel>
#include <QShortcut>
#include <algorithm>
#include <iterator>
#include <string>

#include "gui/Platform.h"
#include "gui/QtText.h"
#include "painter/MapPainter.h"
#include "window/GameStatus.h"
#include "window/UnitGame.h"

TGameWatch::TGameWatch(TFormGame& form, const TPlatform& platform)
    : form_(form), platform_(platform) {
  timer_.setInterval(StepMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (Position() >= Length()) {
      timer_.stop();
      return;
    }
    Step(1);
  });
  auto key = [this](QKeySequence sequence, auto action) {
    auto* shortcut = new QShortcut(sequence, &form_);
    shortcut->setEnabled(false);
    connect(shortcut, &QShortcut::activated, this, action);
    keys_.push_back(shortcut);
  };
  key(Qt::Key_Left, [this] { Step(-1); });
  key(Qt::Key_Right, [this] { Step(1); });
  key(Qt::Key_Home, [this] { Seek(0); });
  key(Qt::Key_End, [this] { Seek(Length()); });
  key(Qt::Key_Space, [this] { PlayPause(); });
  key(Qt::Key_Escape, [this] { Leave(); });
  key(Qt::Key_Plus, [this] { Faster(true); });
  key(Qt::Key_Equal, [this] { Faster(true); });
  key(Qt::Key_Minus, [this] { Faster(false); });
}

TGameWatch::~TGameWatch() = default;

int TGameWatch::WatchTile(int width, int height) const {
  const QSize screen = platform_.ScreenSize();
  const uint8_t panels = form_.State().PanelFlags();
  auto fits = [&](int tile) {
    const TWindowGeometry g = CalcSizeWindow(width, height, tile, panels);
    return g.WindowWidth <= screen.width() && g.WindowHeight <= screen.height();
  };
  const int own = form_.Machine().SizeTile;
  if (fits(own)) return own;
  for (int tile = own - 1; tile >= MinWatchTile; --tile)
    if (fits(tile)) return tile;
  return 0;
}

bool TGameWatch::Start(TGameRecord record) {
  const int tile = WatchTile(record.Width, record.Height);
  if (tile == 0) {
    form_.Messages().Error("Игру на поле " + std::to_string(record.Width) + " x " +
                           std::to_string(record.Height) +
                           " нельзя показать: поле не помещается на экране даже с плитками "
                           "наименьшей ширины (" +
                           std::to_string(MinWatchTile) + ").");
    return false;
  }
  if (!Active()) caption_ = form_.windowTitle();
  timer_.stop();
  form_.Board().ShowMachine(nullptr);
  replay_ = std::make_unique<TGameReplay>(std::move(record));
  // The window's own tile size is followed while it fits (an options change then applies).
  watchTile_ = tile == form_.Machine().SizeTile ? 0 : tile;
  for (QShortcut* k : keys_) k->setEnabled(true);
  form_.setWindowTitle(Q(GameCaption) + Q(" Расклад #") +
                       QString::number(replay_->Record().CodeGame));
  Show();
  return true;
}

void TGameWatch::Leave() {
  if (!Active()) return;
  timer_.stop();
  for (QShortcut* k : keys_) k->setEnabled(false);
  form_.Board().ShowMachine(nullptr);
  replay_.reset();
  form_.setWindowTitle(caption_);
  form_.Status().SetText(std::string());
  form_.Status().Panel(4)->setToolTip(QString());
  ClearSeatPanels();
  form_.Board().PresentShow();
}

size_t TGameWatch::Position() const {
  return replay_ ? replay_->Position() : 0;
}

size_t TGameWatch::Length() const {
  return replay_ ? replay_->Length() : 0;
}

void TGameWatch::Seek(size_t moves) {
  if (!replay_) return;
  if (!replay_->Seek(moves)) {
    // A record that was read replays; should it not, the player is told and watching ends.
    const std::string error = replay_->Error;
    Leave();
    form_.Messages().Error(error);
    return;
  }
  Show();
}

void TGameWatch::Step(int delta) {
  if (!replay_) return;
  const size_t at = Position();
  if (delta < 0 && at < size_t(-delta)) return Seek(0);
  Seek(at + size_t(ptrdiff_t(delta)));
}

void TGameWatch::PlayPause() {
  if (!replay_) return;
  if (timer_.isActive()) {
    timer_.stop();
    return;
  }
  if (Position() >= Length()) Seek(0);  // played to the end: from the start again
  timer_.start();
}

void TGameWatch::Faster(bool faster) {
  const int* at = std::find(std::begin(Speeds), std::end(Speeds), timer_.interval());
  if (faster && at + 1 < std::end(Speeds)) ++at;
  if (!faster && at > std::begin(Speeds)) --at;
  timer_.setInterval(*at);
}

QString TGameWatch::StatusText() const {
  if (!replay_) return QString();
  const size_t k = Position();
  QString text = QStringLiteral("Ход %1 из %2").arg(k).arg(Length());
  if (k == 0) return text;
  const TRecordMove& move = replay_->Record().Moves[k - 1];
  const TRecordSeat& seat = replay_->Record().Seats[move.Seat];
  // The colour by the name its action carries.
  return text + QStringLiteral(": ") + QString::fromStdString(seat.Name) + QStringLiteral(", ") +
         form_.Action(ColorAction(move.Color))->text();
}

void TGameWatch::Show() {
  form_.Board().ShowMachine(&replay_->Machine(), watchTile_);
  form_.Board().ShowPosition();
  // "Ход k из n" fits the status panel; the seat that made move k shows its colour in its own
  // panel, and the whole text, with the name, is the panel's tool tip.
  const QString text = StatusText();
  form_.Status().SetText(text.section(QLatin1Char(':'), 0, 0).toStdString());
  form_.Status().Panel(4)->setToolTip(text);
  ClearSeatPanels();
  if (const size_t k = Position(); k > 0) {
    const TRecordMove& move = replay_->Record().Moves[k - 1];
    form_.Status()
        .Panel(size_t(move.Seat - 1))
        ->setPixmap(form_.Action(ColorAction(move.Color))->icon().pixmap(QSize(16, 16)));
  }
}

void TGameWatch::ClearSeatPanels() {
  form_.Status().ClearScores();
}
