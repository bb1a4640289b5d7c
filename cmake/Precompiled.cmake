# SPDX-License-Identifier: GPL-3.0-or-later
# Precompiled headers. Parsing Qt's widget headers took most of a window unit's compile time, so
# the window libraries parse them once, and the window tests once more with GoogleTest's. A
# precompiled header is itself costly to make (about ten seconds), so targets with the same flags
# share one. The code still includes what it uses: -DMORVIK_PCH=OFF compiles the same.
option(MORVIK_PCH "Precompile the Qt and GoogleTest headers of the larger targets" ON)

set(MORVIK_PCH_STD <algorithm> <cstdint> <functional> <map> <memory> <optional> <string>
                   <vector>)
set(MORVIK_PCH_QT <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDir> <QFile>
                  <QFontMetrics> <QIcon> <QImage> <QLabel> <QLineEdit> <QListWidget> <QMenu>
                  <QMenuBar> <QPainter> <QPointer> <QProgressBar> <QPushButton> <QStatusBar>
                  <QString> <QTimer> <QToolBar> <QVBoxLayout> <QWidget>)
set(MORVIK_PCH_TEST <gtest/gtest.h>)

# morvik_precompile(target [QT] [TEST]): the standard headers, plus Qt's widget headers and/or
# GoogleTest's.
function(morvik_precompile target)
  if(NOT MORVIK_PCH)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 ARG "QT;TEST" "" "")
  set(headers ${MORVIK_PCH_STD})
  if(ARG_QT)
    list(APPEND headers ${MORVIK_PCH_QT})
  endif()
  if(ARG_TEST)
    list(APPEND headers ${MORVIK_PCH_TEST})
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# morvik_precompile_like(target other): `target` uses the header `other` made (same flags).
function(morvik_precompile_like target other)
  if(MORVIK_PCH)
    target_precompile_headers(${target} REUSE_FROM ${other})
  endif()
endfunction()
