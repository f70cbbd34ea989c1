// Cutting, trimming and right-aligning texts for the due dates and the report columns.
// The argument may have been built in the temporary area at the very place where the result
// goes, so every copy is a move that reads each character before it is overwritten, and
// every result is cut where the area ends.

#include "text/string_ops.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/text_area.h"

namespace quentara {

char* Substring(const char* text, std::int32_t start, std::int32_t length, char* resultAt) {
  if (text == nullptr) return WriteTextAt(resultAt, "", 0);
  const char* from = text;
  // A start of 1 or below begins at the first character and keeps the full length.
  for (std::int32_t skip = start > 1 ? start - 1 : 0; skip > 0; --skip, ++from) {
    if (*from == '\0') return WriteTextAt(resultAt, "", 0);
  }
  if (length <= 0) return WriteTextAt(resultAt, "", 0);
  std::size_t count = strnlen(from, static_cast<std::size_t>(length));
  return WriteTextAt(resultAt, from, count);
}

char* TrimSpaces(const char* text, char* resultAt) {
  if (text == nullptr) return WriteTextAt(resultAt, "", 0);
  const char* first = text;
  while (*first == ' ') ++first;
  const char* last = first + std::strlen(first);
  while (last > first && last[-1] == ' ') --last;
  return WriteTextAt(resultAt, first, static_cast<std::size_t>(last - first));
}

char* RightAlign(const char* text, std::int32_t width, char* resultAt) {
  // The same position rule as every other write: outside the area means the area's end.
  if (TextAreaRoom(resultAt) == 0) resultAt = TextAreaEnd();
  if (width <= 0) return WriteTextAt(resultAt, "", 0);
  std::size_t fullWidth = static_cast<std::size_t>(width);
  std::size_t length = text != nullptr ? strnlen(text, fullWidth) : 0;
  std::size_t pad = fullWidth - length;

  // A width beyond the area keeps as much of the aligned text as fits, from its left edge.
  std::size_t fits = std::min(fullWidth, TextAreaRoom(resultAt) - 1);
  std::size_t padShown = std::min(pad, fits);
  std::size_t textShown = fits - padShown;
  // Move the text first (a move copies as if from the last character to the first), then
  // lay the spaces over the place where the text may have stood.
  if (textShown > 0) std::memmove(resultAt + padShown, text, textShown);
  std::memset(resultAt, ' ', padShown);
  resultAt[fits] = '\0';
  SetTextAreaEnd(resultAt + fits);
  return resultAt;
}

}  // namespace quentara
