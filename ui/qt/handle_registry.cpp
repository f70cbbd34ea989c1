// The counter that hands out handles, and the registry that maps them back to windows,
// fonts, brushes, pictures and started programs.
#include "ui/qt/handle_registry.h"

namespace quentara {

namespace {
PlatformHandle nextHandle = firstHandle;
}

PlatformHandle NewHandle() {
  if (nextHandle > lastHandle) return 0;
  return nextHandle++;
}

HandleRegistry& Handles() {
  // Kept to the process's very end: the program's end empties it (ReleaseHandles) before
  // the application object goes, and nothing Qt tears down after that may find it gone.
  static HandleRegistry* registry = new HandleRegistry;
  return *registry;
}

void ReleaseHandles() {
  HandleRegistry& registry = Handles();
  registry.windows.Clear();
  registry.fonts.Clear();
  registry.brushes.Clear();
  registry.pictures.Clear();
  registry.processes.Clear();
}

QWidget* WindowWidget(PlatformHandle handle) {
  QPointer<QWidget>* window = Handles().windows.Find(handle);
  return window != nullptr ? window->data() : nullptr;
}

}  // namespace quentara
