#include "calc/messages.h"

#include <cstdio>

namespace quentara {

namespace {
std::int32_t PrintMessage(const char* title, const char* text, std::uint32_t) {
  std::fprintf(stderr, "%s: %s\n", title != nullptr ? title : "", text != nullptr ? text : "");
  return 1;
}

MessageBoxFunction showMessageBox = PrintMessage;
}  // namespace

void SetMessageBoxFunction(MessageBoxFunction show) {
  showMessageBox = show != nullptr ? show : PrintMessage;
}

std::int32_t ShowMessage(const char* title, const char* text, std::uint32_t flags) {
  return showMessageBox(title, text, flags);
}

}  // namespace quentara
