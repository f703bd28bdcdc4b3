// The roles screen readers need from the program's top-level windows: a
// plain QWidget made a window reports itself as a "client" area, so the
// program's windows made from QWidget are given the frame role here.
#pragma once

// Installs the accessible factory once; later calls do nothing.
void InstallWindowAccessibility();
