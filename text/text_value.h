#pragma once
// Text variables: each either holds no text at all (absent: never assigned, or assigned
// from an absent text) or owns a block of its own from the program heap, exactly the
// text's length plus its terminator. Operations of the program treat an absent text like
// the empty text; a variable hands out nullptr for absent so that the difference stays
// visible where it matters.

#include <cstddef>

namespace quentara {

class Text {
 public:
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text();

  bool IsAbsent() const { return block_ == nullptr; }
  /// The text, or nullptr when absent.
  const char* Get() const { return block_; }
  /// The text, or "" when absent.
  const char* View() const { return block_ != nullptr ? block_ : ""; }
  /// Size of the owned block (length + 1), 0 when absent.
  std::size_t BlockSize() const { return blockSize_; }

 private:
  friend void AssignText(Text&, const char*);
  friend void AssignExpression(Text&, char*);
  friend void CopyTextIn(Text&, const char*);
  friend void ReleaseText(Text&);

  char* block_ = nullptr;
  std::size_t blockSize_ = 0;
};

/// Gives the variable a new block holding the expression that starts at `start` in the
/// temporary area and ends at the area's end, then moves the area's end back to `start`.
/// The old block is released after the copy, so a variable may be assigned an expression
/// built from its own text.
void AssignExpression(Text& variable, char* start);
/// Releases the variable's block and copies `source` (a literal or another variable's
/// text) into a new one; an absent source (nullptr) leaves the variable absent.
void AssignText(Text& variable, const char* source);
/// As AssignText, for a variable that holds nothing yet: an operation keeps its own copy of
/// a text it is given, which may lie in the temporary area that it is about to write over.
void CopyTextIn(Text& variable, const char* source);
/// Releases the variable's block, if any; the variable is absent afterwards.
void ReleaseText(Text& variable);

}  // namespace quentara
