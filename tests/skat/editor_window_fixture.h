// A main window over a database in a temporary folder, for the tests of the
// windows it opens: the entry editors, About and Help.
#pragma once

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "shell/core/app_state.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/temp_folder.h"

// Test lines are written with '*' for the degree sign byte 0xB0.
inline constexpr auto& DegreeLine = testing_support::WithDegreeSigns;

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxSeam::clearNextAnswers();
    MessageBoxSeam::clearShown();
    state_.db.folder = folder_.path();
  }
  void TearDown() override {
    MessageBoxSeam::clearNextAnswers();
    if (window_) window_->commands().waitForWorker();
  }

  // The window over lines added to the database beforehand; empty lists get
  // the placeholder.
  MainWindow& OpenWindow() {
    navdb::AddPlaceholdersToEmptyLists(state_.db);
    window_ = std::make_unique<MainWindow>(state_);
    window_->resize(1000, 640);
    window_->move(40, 30);
    window_->show();
    window_->reloadLists();
    return *window_;
  }

  void Add(navdb::NavaidKind kind, const std::string& line) { state_.db.List(kind).AddLine(line); }

  std::vector<std::string> Lines(navdb::NavaidKind kind) const {
    std::vector<std::string> lines;
    state_.db.List(kind).ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
    return lines;
  }

  testing_support::TempFolder folder_;
  shell::AppState state_;
  std::unique_ptr<MainWindow> window_;
};
