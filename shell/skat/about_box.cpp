#include "shell/skat/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/core/app_state.h"
#include "shell/skat/status_icons.h"

const char* const kAboutEnglish =
    "Skyatlas builds the database of radio navaids of the ND gauge (NDBs, VOR, ILS and DME "
    "stations, airport runways and intersections) from the simulator's scenery files, and plans "
    "flights over it. With its intuitive interface, you can view, import, modify, delete, and "
    "create data.";
const char* const kAboutFrench =
    "Skyatlas construit la base de donn\u00E9es des balises radio de l'instrument ND (NDB, "
    "stations VOR, ILS et DME, pistes d'a\u00E9roport et intersections) \u00E0 partir des "
    "fichiers de d\u00E9cor du simulateur, et pr\u00E9pare des plans de vol. Avec son interface "
    "intuitive, vous pouvez consulter, importer, modifier, supprimer et cr\u00E9er des "
    "donn\u00E9es.";

namespace {

QLabel* Paragraph(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setAccessibleName(text);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
  setWindowTitle("About");
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);

  auto* header = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(ApplicationIcon().pixmap(64, 64));
  icon->setAccessibleName("Skyatlas");
  header->addWidget(icon);
  auto* name = new QLabel(QString::fromLatin1(shell::kWindowTitle), this);
  name->setObjectName("name");
  QFont nameFont = name->font();
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
  nameFont.setBold(true);
  name->setFont(nameFont);
  auto* version = new QLabel("Version 1.3", this);
  version->setObjectName("version");
  auto* titles = new QVBoxLayout;
  titles->addStretch(1);
  titles->addWidget(name);
  titles->addWidget(version);
  titles->addStretch(1);
  header->addLayout(titles);
  header->addStretch(1);
  layout->addLayout(header);
  layout->addSpacing(6);
  auto* english = Paragraph(QString::fromUtf8(kAboutEnglish), this);
  english->setObjectName("english");
  layout->addWidget(english);
  auto* french = Paragraph(QString::fromUtf8(kAboutFrench), this);
  french->setObjectName("french");
  layout->addWidget(french);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OK");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  // Wide enough for the paragraphs to read as text, not as a column.
  for (QLabel* paragraph : {english, french}) {
    paragraph->setFixedWidth(fontMetrics().averageCharWidth() * 64);
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::centreOnOwner() {
  if (!parentWidget()) return;
  ensurePolished();
  layout()->activate();
  adjustSize();
  QRect frame = frameGeometry();
  frame.moveCenter(parentWidget()->window()->frameGeometry().center());
  move(frame.topLeft());
}
