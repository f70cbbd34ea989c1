// The temporary text area in which every text expression is built before it is copied out.

#include "text/text_area.h"

#include <cstring>

#include "text/program_heap.h"

namespace quentara {

namespace {
char* areaStart = nullptr;
char* areaEnd = nullptr;

char* Area() {
  if (areaStart == nullptr) AllocateTextArea();
  return areaStart;
}

bool InArea(const char* position) {
  return position >= Area() && position < areaStart + textAreaSize;
}
}  // namespace

void AllocateTextArea() {
  if (areaStart != nullptr) return;
  areaStart = static_cast<char*>(programHeap.allocate(textAreaSize, 1));
  std::memset(areaStart, 0, textAreaSize);
  areaEnd = areaStart;
}

char* TextAreaStart() {
  return Area();
}

char* TextAreaLimit() {
  return Area() + textAreaSize;
}

char* TextAreaEnd() {
  Area();
  return areaEnd;
}

void SetTextAreaEnd(char* position) {
  char* start = Area();
  if (position < start) {
    areaEnd = start;
  } else if (position >= start + textAreaSize) {
    areaEnd = start + textAreaSize - 1;
  } else {
    areaEnd = position;
  }
}

void SkipTextAreaTerminator() {
  SetTextAreaEnd(TextAreaEnd() + 1);
}

std::size_t TextAreaRoom(const char* position) {
  if (!InArea(position)) return 0;
  return static_cast<std::size_t>(areaStart + textAreaSize - position);
}

char* WriteTextAt(char* position, const char* bytes, std::size_t length) {
  if (!InArea(position)) position = TextAreaEnd();
  std::size_t room = TextAreaRoom(position);
  if (length > room - 1) length = room - 1;
  if (length > 0) std::memmove(position, bytes, length);
  position[length] = '\0';
  areaEnd = position + length;
  return position;
}

char* AppendText(const char* text) {
  char* start = TextAreaEnd();
  if (text == nullptr) return WriteTextAt(start, "", 0);
  return WriteTextAt(start, text, std::strlen(text));
}

}  // namespace quentara
