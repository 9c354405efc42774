#pragma once

#include <QGroupBox>

// A group box as the panel's template lays it out: a thin rounded frame whose top line
// runs through the middle of the title, so the controls inside may start close below
// the rectangle's top. Painted here rather than by a style sheet, which would cost the
// panel a style-sheet style for every box at start-up and in every paint.
class TemplateGroupBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
};
