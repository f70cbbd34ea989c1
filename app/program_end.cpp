#include "app/program_end.h"

#include <cstdio>
#include <cstdlib>

#include "files/text_file.h"
#include "text/program_heap.h"

namespace quentara {

namespace {
void (*windowCloser)() = nullptr;
}

void SetWindowCloser(void (*closeAllWindows)()) {
  windowCloser = closeAllWindows;
}

namespace {
void (*endCatcher)() = nullptr;
}

void SetProgramEndCatcher(void (*catcher)()) {
  endCatcher = catcher;
}

void EndProgram() {
  if (endCatcher != nullptr) endCatcher();
  EndTextFiles();
  if (windowCloser != nullptr) windowCloser();
  programHeap.Destroy();
  std::fflush(nullptr);
  std::exit(0);
}

}  // namespace quentara
