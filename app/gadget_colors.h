#pragma once
// The colours of the calculator's labels: a text colour and a background colour recorded
// per gadget, and the window hook that hands them to a label when it asks how to paint
// itself. Gadgets without a record keep the window layer's default colours; buttons are
// never coloured.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

/// One coloured gadget. Both brushes are made when the record is made, so painting never
/// creates anything.
struct GadgetColorRecord {
  std::int32_t gadget = 0;
  Color textColor = 0;
  /// 0 stands for the system's button-face colour (so black cannot be a background).
  Color backColor = 0;
  /// Solid brush of the button-face colour as it was when the record was made.
  PlatformHandle faceBrush = 0;
  /// Solid brush of backColor.
  PlatformHandle backBrush = 0;
};

/// A doubly linked list of colour records with one current position. The records live in
/// the program heap and are released with it at the end of the program.
class GadgetColorList {
 public:
  /// Afterwards there is no current record.
  void Reset() { current_ = nullptr; }
  /// The first record when there is no current one, otherwise the current one's successor,
  /// which becomes current. At the end of the list it returns nullptr and the last record
  /// stays current.
  GadgetColorRecord* Next();
  /// Links a zero-filled record in after the current one (at the front when there is no
  /// current one) and makes it current.
  GadgetColorRecord* Add();
  /// Unlinks and frees the current record; its predecessor becomes current, else its
  /// successor, else nothing. Does nothing when there is no current record.
  void DeleteCurrent();
  /// The current record, or nullptr.
  GadgetColorRecord* Current() const;
  /// Records in the list (for tests).
  std::int32_t Count() const;

 private:
  struct Node {
    Node* previous;
    Node* next;
    GadgetColorRecord record;
  };
  Node* first_ = nullptr;
  Node* current_ = nullptr;
};

/// The colour records of the program's labels.
extern GadgetColorList gadgetColors;

/// Start-up: an empty colour list. Records made before are forgotten, not freed: they
/// belong to the program heap.
void CreateGadgetColorList();

/// Records the colours of `gadget`, replacing (and deleting the brushes of) an earlier
/// record of the same gadget. Returns 0.
std::int32_t SetGadgetColors(std::int32_t gadget, Color textColor, Color backColor);

/// The window hook: answers WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX for
/// gadgets with a record with the record's background brush, after setting the context's
/// text colour, background colour and transparent mode; everything else gets HookDefault.
std::int32_t GadgetColorHook(PlatformHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam);

}  // namespace quentara
