// Text values: absent or an exact-size copy in the program heap, assigned from the text area.

#include "text/text_value.h"

#include <cstring>

#include "text/program_heap.h"
#include "text/text_area.h"

namespace quentara {

namespace {
char* NewBlock(const char* bytes, std::size_t length) {
  char* block = static_cast<char*>(programHeap.allocate(length + 1, 1));
  std::memcpy(block, bytes, length);
  block[length] = '\0';
  return block;
}
}  // namespace

Text::~Text() {
  ReleaseText(*this);
}

void AssignExpression(Text& variable, char* start) {
  char* end = TextAreaEnd();
  std::size_t length = end > start ? static_cast<std::size_t>(end - start) : 0;
  char* block = NewBlock(start, length);
  ReleaseText(variable);
  variable.block_ = block;
  variable.blockSize_ = length + 1;
  SetTextAreaEnd(start);
}

void AssignText(Text& variable, const char* source) {
  if (source == nullptr) {
    ReleaseText(variable);
    return;
  }
  std::size_t length = std::strlen(source);
  char* block = NewBlock(source, length);
  ReleaseText(variable);
  variable.block_ = block;
  variable.blockSize_ = length + 1;
}

void CopyTextIn(Text& variable, const char* source) {
  // A fresh variable has nothing to release; assigning handles both cases alike.
  AssignText(variable, source);
}

void ReleaseText(Text& variable) {
  if (variable.block_ == nullptr) return;
  programHeap.deallocate(variable.block_, variable.blockSize_, 1);
  variable.block_ = nullptr;
  variable.blockSize_ = 0;
}

}  // namespace quentara
