// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog: the game's picture, its version and the people behind it. The main window
// plays the About music around it.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TPlatform;

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  static constexpr int PictureWidth = 305;
  static constexpr int PictureHeight = 65;

  // Centred on the platform's screen when shown.
  explicit TFormAbout(const TPlatform& platform, QWidget* parent = nullptr);

  // The picture: the game's name over a strip of board tiles in the seven colours.
  static QPixmap MorvikPicture();

  QLabel* iMorvik = nullptr;
  QLabel* lVersion = nullptr;
  QFrame* Panel1 = nullptr;  // who worked on the game
  QFrame* Panel2 = nullptr;  // who made it
  QLabel* lMaker = nullptr;
  QPushButton* BitBtn1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const TPlatform& platform_;
};
