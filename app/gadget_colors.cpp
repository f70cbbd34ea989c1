// The colour records of the calculator's labels, and the window hook that paints the
// labels in them.
#include "app/gadget_colors.h"

#include <new>

#include "text/program_heap.h"
#include "ui/drawing.h"
#include "ui/gadgets.h"

namespace quentara {

GadgetColorList gadgetColors;

GadgetColorRecord* GadgetColorList::Next() {
  Node* next = current_ == nullptr ? first_ : current_->next;
  if (next == nullptr) return nullptr;
  current_ = next;
  return &current_->record;
}

GadgetColorRecord* GadgetColorList::Add() {
  void* block = programHeap.allocate(sizeof(Node), alignof(Node));
  Node* node = new (block) Node{nullptr, nullptr, GadgetColorRecord{}};
  if (current_ == nullptr) {
    node->next = first_;
    if (first_ != nullptr) first_->previous = node;
    first_ = node;
  } else {
    node->previous = current_;
    node->next = current_->next;
    if (current_->next != nullptr) current_->next->previous = node;
    current_->next = node;
  }
  current_ = node;
  return &node->record;
}

void GadgetColorList::DeleteCurrent() {
  Node* node = current_;
  if (node == nullptr) return;
  if (node->previous != nullptr) {
    node->previous->next = node->next;
  } else {
    first_ = node->next;
  }
  if (node->next != nullptr) node->next->previous = node->previous;
  current_ = node->previous != nullptr ? node->previous : node->next;
  node->~Node();
  programHeap.deallocate(node, sizeof(Node), alignof(Node));
}

GadgetColorRecord* GadgetColorList::Current() const {
  return current_ != nullptr ? &current_->record : nullptr;
}

std::int32_t GadgetColorList::Count() const {
  std::int32_t count = 0;
  for (const Node* node = first_; node != nullptr; node = node->next) ++count;
  return count;
}

void CreateGadgetColorList() {
  gadgetColors = GadgetColorList{};
}

std::int32_t SetGadgetColors(std::int32_t gadget, Color textColor, Color backColor) {
  gadgetColors.Reset();
  while (GadgetColorRecord* record = gadgetColors.Next()) {
    if (record->gadget == gadget) {
      DeleteBrush(record->faceBrush);
      DeleteBrush(record->backBrush);
      gadgetColors.DeleteCurrent();
      break;
    }
  }
  // The new record goes in where the old one was taken out (or after the last record
  // walked), so the list's order is not meaningful; painting never depends on it.
  GadgetColorRecord* record = gadgetColors.Add();
  record->gadget = gadget;
  record->textColor = textColor;
  record->backColor = backColor;
  record->faceBrush = MakeSolidBrush(ButtonFaceColor());
  record->backBrush = MakeSolidBrush(backColor);
  return 0;
}

std::int32_t GadgetColorHook(PlatformHandle, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  std::int32_t result = HookDefault;
  if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT && message != WM_CTLCOLORLISTBOX) {
    return result;
  }
  // The control that asks is lParam; the walk goes over the whole list, as there is at
  // most one record per gadget and at most nine records.
  const auto control = static_cast<PlatformHandle>(lParam);
  gadgetColors.Reset();
  while (const GadgetColorRecord* record = gadgetColors.Next()) {
    if (control == 0 || GadgetHandle(record->gadget) != control) continue;
    SetContextTextColor(wParam, record->textColor);
    SetContextBackMode(wParam, TRANSPARENT);
    PlatformHandle brush = 0;
    if (record->backColor == 0) {
      SetContextBackColor(wParam, ButtonFaceColor());
      brush = record->faceBrush;
    } else {
      SetContextBackColor(wParam, record->backColor);
      brush = record->backBrush;
    }
    // The window layer takes the answer back as the brush handle; its handles are small
    // numbers, and the conversion to 32 bits wraps rather than being undefined.
    result = static_cast<std::int32_t>(brush);
  }
  return result;
}

}  // namespace quentara
