// The roles screen readers need from the program's top-level windows: a
// plain QWidget made a window reports itself as a "client" area, so the
// main window is given the frame role here.
#pragma once

// Installs the accessible factory once; later calls do nothing.
void InstallWindowAccessibility();
