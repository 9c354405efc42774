#pragma once

// The application object: runs the panel as a modal window for the life of the
// program.
class CKeloConfigurationApp {
 public:
  // Runs the panel modally and tears it down when the run ends. False: the program
  // ends with the panel.
  bool InitInstance();
};
