// The "Airport filter" dialog: the shortest runway, in feet, that a scan
// still adds (scanner::ScanSession::minRunwayLengthFt).
#pragma once

#include <QDialog>

#include <deque>
#include <optional>

class QLineEdit;
class QPushButton;

// Shows the dialog modally, centred on `parent`, with `minRunwayLengthFt`
// in its field. Returns the new length when "OK" is pressed (an empty field
// gives 0, more than the largest unsigned value gives that value), nothing
// when "Cancel", Escape or the close box ended it. With a preset answer
// (AirportFilterDialog::setNextAnswer) no dialog runs.
std::optional<unsigned> AskAirportFilter(QWidget* parent, unsigned minRunwayLengthFt);

class AirportFilterDialog : public QDialog {
  Q_OBJECT

 public:
  AirportFilterDialog(QWidget* parent, unsigned minRunwayLengthFt);

  // The field read back as a length: digits only, empty is 0.
  unsigned lengthFt() const;

  QLineEdit* lengthField() const { return field_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  static void setNextAnswer(std::optional<unsigned> answer);
  static void clearNextAnswers();

 private:
  QLineEdit* field_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
