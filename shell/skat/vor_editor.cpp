#include "shell/skat/vor_editor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

using shell::CoordinateAxis;
using shell::EditorBox;
using shell::VorTypeChoice;

VorEditor::VorEditor(WindowView& window, shell::AppState& state, std::optional<size_t> row)
    : EntryEditorDialog(window, state, navdb::NavaidKind::Vor, row) {
  addIdentityRows("ID :", "Name :");
  vor_ = makeChoice(VorTypeChoice::Vor);
  ils_ = makeChoice(VorTypeChoice::Ils);
  QLineEdit* direction = makeBox(EditorBox::Direction);
  direction->setObjectName("Direction :");
  direction->setAccessibleName("Direction :");
  dmeOnly_ = makeChoice(VorTypeChoice::DmeOnly);
  // "ILS   ->" points at the course it enables.
  auto* gap = new QWidget(this);
  gap->setFixedWidth(12);
  addRow("Type :", {vor_, ils_, makeText("Direction :"), direction, gap, dmeOnly_});
  glideSlope_ = makeCheck("GS");
  dme_ = makeCheck("DME");
  tacan_ = makeCheck("TACAN");
  addRow("", {glideSlope_, dme_, tacan_});
  addRow("Freq :", {makeBox(EditorBox::FrequencyInteger), makeText("."),
                    makeBox(EditorBox::FrequencyDecimals), makeText("MHz")});
  addCoordinateRow("Latitude :", CoordinateAxis::Latitude, false);
  addCoordinateRow("Longitude :", CoordinateAxis::Longitude, false);
  addRow("Altitude (ft) :", {makeBox(EditorBox::Altitude)});
  addRow("Range (nm) :", {makeBox(EditorBox::Range)});
  QLineEdit* variation = makeBox(EditorBox::MagneticVariation);
  addRow("Mag Var :", {variation});
  checkOnLeave(variation,
               [this] { return shell::OnMagneticVariationBoxLeft(session_.fields, ui_); });
  finish();
}

QRadioButton* VorEditor::makeChoice(VorTypeChoice choice) {
  const QString caption = QString::fromLatin1(shell::VorTypeCaption(choice));
  auto* button = new QRadioButton(caption, this);
  button->setObjectName(caption);
  button->setAccessibleName(caption);
  connect(button, &QRadioButton::clicked, this, [this, choice] {
    readChoices();
    shell::ChooseVorType(session_.fields, choice);
    showFields();
  });
  registerFocus(button);
  return button;
}

QCheckBox* VorEditor::makeCheck(const char* caption) {
  auto* check = new QCheckBox(caption, this);
  check->setObjectName(caption);
  check->setAccessibleName(caption);
  connect(check, &QCheckBox::clicked, this, [this] { readChoices(); });
  registerFocus(check);
  return check;
}

QRadioButton* VorEditor::typeChoice(VorTypeChoice choice) const {
  switch (choice) {
    case VorTypeChoice::Vor:
      return vor_;
    case VorTypeChoice::Ils:
      return ils_;
    case VorTypeChoice::DmeOnly:
      return dmeOnly_;
    case VorTypeChoice::None:
      break;
  }
  return nullptr;
}

void VorEditor::showFields() {
  EntryEditorDialog::showFields();
  const shell::EditorFields& f = session_.fields;
  // With nothing chosen no button may show a check, which an exclusive
  // group does not allow once one was checked.
  for (QRadioButton* button : {vor_, ils_, dmeOnly_}) button->setAutoExclusive(false);
  vor_->setChecked(f.vorType == VorTypeChoice::Vor);
  ils_->setChecked(f.vorType == VorTypeChoice::Ils);
  dmeOnly_->setChecked(f.vorType == VorTypeChoice::DmeOnly);
  for (QRadioButton* button : {vor_, ils_, dmeOnly_}) button->setAutoExclusive(true);
  glideSlope_->setChecked(f.glideSlope);
  glideSlope_->setEnabled(f.glideSlopeEnabled);
  dme_->setChecked(f.dme);
  dme_->setEnabled(f.dmeEnabled);
  tacan_->setChecked(f.tacan);
  tacan_->setEnabled(f.tacanEnabled);
  box(EditorBox::Direction)->setEnabled(f.directionEnabled);
}

void VorEditor::readChoices() {
  EntryEditorDialog::readChoices();
  shell::EditorFields& f = session_.fields;
  f.glideSlope = glideSlope_->isChecked();
  f.dme = dme_->isChecked();
  f.tacan = tacan_->isChecked();
}
