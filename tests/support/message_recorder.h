#pragma once
// Message boxes as the program would show them, for tests of the code below the windows:
// each box as "title|text", in the order shown, and whether one of them ended the program.

#include <string>
#include <vector>

namespace quentara::testing {

class MessageRecorder {
 public:
  void Show(const char* title, const char* text) {
    shown_.push_back(std::string(title) + "|" + text);
  }
  /// What a due date came to (a message and whether it is fatal), as the calculator shows
  /// it: the message with an empty title, and for a fatal date `fatalText` and the end.
  template <typename Outcome>
  void ShowDateOutcome(const Outcome& outcome, const char* fatalText) {
    if (outcome.message != nullptr) Show("", outcome.message);
    if (outcome.fatal) {
      Show("", fatalText);
      ended_ = true;
    }
  }
  void EndProgram() { ended_ = true; }

  const std::vector<std::string>& Shown() const { return shown_; }
  bool ProgramEnded() const { return ended_; }

 private:
  std::vector<std::string> shown_;
  bool ended_ = false;
};

}  // namespace quentara::testing
