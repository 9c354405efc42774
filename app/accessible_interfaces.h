#pragma once

// What screen readers are told of two kinds of the window's widgets beyond Qt's own
// account: a combo is announced by its accessible name, with its entry as its value (Qt
// on Linux names every combo by its entry, so the panel's were read as "+50"), and the
// status bar under the panel is a status bar. Installing them again changes nothing.
void InstallAccessibleInterfaces();
