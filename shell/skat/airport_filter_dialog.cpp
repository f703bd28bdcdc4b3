#include "shell/skat/airport_filter_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <limits>

namespace {

std::deque<std::optional<unsigned>>& PresetAnswers() {
  static std::deque<std::optional<unsigned>> answers;
  return answers;
}

// Enough digits for every unsigned 32-bit length.
constexpr int kMaxDigits = 10;

}  // namespace

AirportFilterDialog::AirportFilterDialog(QWidget* parent, unsigned minRunwayLengthFt)
    : QDialog(parent),
      field_(new QLineEdit(QString::number(minRunwayLengthFt), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Airport filter"));
  setModal(true);

  auto* text = new QLabel(
      QStringLiteral("During scenery scanning process, do not add airports for which runway "
                     "length is shorter than :"),
      this);
  text->setObjectName("text");
  text->setWordWrap(true);
  text->setMinimumWidth(300);

  field_->setObjectName("length");
  field_->setAccessibleName(QStringLiteral("Runway length"));
  field_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kMaxDigits)), field_));
  field_->setMaxLength(kMaxDigits);
  field_->setAlignment(Qt::AlignRight);
  field_->setFixedWidth(field_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 16);
  field_->selectAll();
  auto* unit = new QLabel(QStringLiteral("feets"), this);
  unit->setObjectName("unit");

  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  ok_->setAccessibleName(ok_->text());
  cancel_->setAccessibleName(cancel_->text());
  // Escape rejects, as "Cancel": the length stays as it was.
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* fieldRow = new QHBoxLayout;
  fieldRow->addStretch();
  fieldRow->addWidget(field_);
  fieldRow->addWidget(unit);
  fieldRow->addStretch();
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(ok_);
  buttonRow->addWidget(cancel_);
  buttonRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  layout->setSpacing(10);
  layout->addWidget(text);
  layout->addLayout(fieldRow);
  layout->addLayout(buttonRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

unsigned AirportFilterDialog::lengthFt() const {
  const qulonglong value = field_->text().toULongLong();  // empty gives 0
  return static_cast<unsigned>(std::min<qulonglong>(value, std::numeric_limits<unsigned>::max()));
}

void AirportFilterDialog::setNextAnswer(std::optional<unsigned> answer) {
  PresetAnswers().push_back(answer);
}

void AirportFilterDialog::clearNextAnswers() {
  PresetAnswers().clear();
}

std::optional<unsigned> AskAirportFilter(QWidget* parent, unsigned minRunwayLengthFt) {
  std::deque<std::optional<unsigned>>& preset = PresetAnswers();
  if (!preset.empty()) {
    const std::optional<unsigned> answer = preset.front();
    preset.pop_front();
    return answer;
  }
  AirportFilterDialog dialog(parent, minRunwayLengthFt);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.lengthFt();
}
