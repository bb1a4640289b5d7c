// SPDX-License-Identifier: GPL-3.0-or-later
// A message service for tests: records every box and answers from queues.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "config/MessageService.h"

struct TScriptedMessages : TMessageService {
  struct Shown {
    std::string kind;  // "error", "confirm", "info", "input"
    std::string text;
    std::string title;
    std::string initial = {};  // input queries: the text the box started with
  };
  std::vector<Shown> shown;
  std::deque<bool> confirmAnswers;  // default answer when empty: confirmDefault
  bool confirmDefault = true;
  // Each input answer: ok flag and the text typed. When empty, the query is cancelled.
  std::deque<std::pair<bool, std::string>> inputAnswers;

  void Error(const std::string& text, const std::string& title = std::string()) override {
    shown.push_back({"error", text, title});
  }
  bool Confirm(const std::string& text) override {
    shown.push_back({"confirm", text, {}});
    if (confirmAnswers.empty()) return confirmDefault;
    bool a = confirmAnswers.front();
    confirmAnswers.pop_front();
    return a;
  }
  void Information(const std::string& text) override { shown.push_back({"info", text, {}}); }
  bool InputQuery(const std::string& title, const std::string& prompt, std::string& text) override {
    shown.push_back({"input", prompt, title, text});
    if (inputAnswers.empty()) return false;
    auto [ok, typed] = inputAnswers.front();
    inputAnswers.pop_front();
    if (ok) text = typed;
    return ok;
  }

  std::vector<std::string> Texts(const std::string& kind) const {
    std::vector<std::string> out;
    for (auto& s : shown)
      if (s.kind == kind) out.push_back(s.text);
    return out;
  }
  void Clear() { shown.clear(); }
};
