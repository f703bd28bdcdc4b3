// What a screen reader says for each control of the Flight Plan dialog:
// the boxes share their captions ("Rate :" stands for two), and two buttons
// read "Save", so the names come from here rather than from the labels.
#pragma once

class QWidget;

// Names every focusable control of `dialog`: those of the table by their
// object name, any other by its object name itself.
void NameFlightPlanControls(QWidget& dialog);
