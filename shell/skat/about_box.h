// The "About" box: the program's name, version and what it does, in English
// and in French.
#pragma once

#include <QDialog>

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* owner);

  // Moves the box to the centre of its owner's window.
  void centreOnOwner();
};

// The description under the name, one paragraph per language.
extern const char* const kAboutEnglish;
extern const char* const kAboutFrench;
