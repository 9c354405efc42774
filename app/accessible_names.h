#pragma once

class QAbstractButton;
class QWidget;

// The names a screen reader gives the panel's controls: what a sighted operator reads
// beside each one. Buttons, check boxes and the program's texts are named by their own
// caption or text; the edits, combos, the list and the progress bars, which have none,
// by the label beside them, with their group's title where the label alone says too
// little, or in the panel's words where there is no label at all.

// Names the panel's control `id` where it has no caption of its own.
void NameControl(int id, QWidget& widget);

// An indicator is named with its state ("Ready: on"), since only the program sets it.
void NameIndicator(QAbstractButton& indicator);
