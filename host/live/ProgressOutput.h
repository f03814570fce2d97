#pragma once
// A status line on standard error: redrawn in place on a terminal; where
// standard error is no terminal the caller prints plain lines instead.
#include <string>

class ProgressOutput {
 public:
  ProgressOutput();
  // Ends a redrawn line so that the shell prompt starts on its own.
  ~ProgressOutput();
  ProgressOutput(const ProgressOutput&) = delete;
  ProgressOutput& operator=(const ProgressOutput&) = delete;

  bool OnTerminal() const { return m_terminal; }
  // Redraws the line on a terminal, else prints it as a line of its own.
  void Show(const std::string& line);

 private:
  bool m_terminal;
  bool m_drawn = false;
};
