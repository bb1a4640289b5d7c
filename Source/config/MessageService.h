// SPDX-License-Identifier: GPL-3.0-or-later
// Every message box and one-line input box of the program goes through this interface.
// The Qt windows show modal boxes; tests use a scripted implementation. Texts are UTF-8.
#pragma once

#include <string>

class TMessageService {
 public:
  virtual ~TMessageService() = default;

  // Error box with one OK button. An empty title means the application's title ("Morvik").
  virtual void Error(const std::string& text, const std::string& title = std::string()) = 0;
  // Confirmation with Yes and No; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // Information box with one OK button.
  virtual void Information(const std::string& text) = 0;
  // One-line input box; true for OK, with the typed text in `text` (which holds the initial text).
  virtual bool InputQuery(const std::string& title, const std::string& prompt,
                          std::string& text) = 0;
};
