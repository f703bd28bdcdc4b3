// The "VOR/ILS entry edition" window: besides the common boxes, the type
// choice with its check boxes, the localizer course and the magnetic
// variation.
#pragma once

#include <QCheckBox>
#include <QRadioButton>

#include "shell/skat/entry_editor_dialog.h"

class VorEditor : public EntryEditorDialog {
  Q_OBJECT

 public:
  VorEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row);

  QRadioButton* typeChoice(shell::VorTypeChoice choice) const;
  QCheckBox* glideSlopeBox() const { return glideSlope_; }
  QCheckBox* dmeBox() const { return dme_; }
  QCheckBox* tacanBox() const { return tacan_; }

 protected:
  void showFields() override;
  void readChoices() override;

 private:
  QRadioButton* makeChoice(shell::VorTypeChoice choice);
  QCheckBox* makeCheck(const char* caption);

  QRadioButton* vor_ = nullptr;
  QRadioButton* ils_ = nullptr;
  QRadioButton* dmeOnly_ = nullptr;
  QCheckBox* glideSlope_ = nullptr;
  QCheckBox* dme_ = nullptr;
  QCheckBox* tacan_ = nullptr;
};
