// Telling whether a window holds work the user has not kept: what its
// editable widgets show now against what they showed when it opened, and
// the question asked before that work is thrown away.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The values `window`'s boxes, choices and check boxes show, in the order
// the widgets were made. Two calls give equal lists exactly when every
// widget shows what it showed before: a digit typed and deleted again
// leaves the list as it was.
QStringList ShownValuesOf(const QWidget& window);

// Asks over `window` whether its changes may be thrown away: `text` with
// Yes and No, No being the default and the answer of Escape. True for Yes.
bool AgreesToDiscard(QWidget* window, const QString& text);
