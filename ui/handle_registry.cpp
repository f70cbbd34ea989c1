#include "ui/handle_registry.h"

namespace quentara {

namespace {
PlatformHandle nextHandle = firstHandle;
}

PlatformHandle NewHandle() {
  if (nextHandle > lastHandle) return 0;
  return nextHandle++;
}

HandleRegistry& Handles() {
  static HandleRegistry* registry = new HandleRegistry;
  return *registry;
}

QWidget* WindowWidget(PlatformHandle handle) {
  QPointer<QWidget>* window = Handles().windows.Find(handle);
  return window != nullptr ? window->data() : nullptr;
}

QWidget* GadgetWidget(PlatformHandle handle) {
  QPointer<QWidget>* gadget = Handles().gadgets.Find(handle);
  return gadget != nullptr ? gadget->data() : nullptr;
}

}  // namespace quentara
