#pragma once
// The drawing context a control hands to its window when it asks for its colours
// (WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT): the text colour, the background colour and the
// background mode the control then draws with. The hook changes it through drawing.h.

#include <cstdint>
#include <vector>

#include "ui/ui_types.h"

namespace quentara {

struct DrawingContext {
  /// A fresh context draws black text on white, its background opaque, until someone
  /// (the hook or the layer's default answer) sets other colours.
  Color textColor = 0x000000;
  Color backColor = 0xFFFFFF;
  std::int32_t backMode = 2;  // OPAQUE
};

/// A context that is live for as long as this object exists; its id is the wParam of the
/// colour message. Ids of contexts that have ended name nothing, so a hook that keeps one
/// cannot write into freed memory.
class LiveDrawingContext {
 public:
  LiveDrawingContext();
  ~LiveDrawingContext();
  LiveDrawingContext(const LiveDrawingContext&) = delete;
  LiveDrawingContext& operator=(const LiveDrawingContext&) = delete;

  std::uintptr_t Id() const;
  DrawingContext& Values() { return values_; }

 private:
  DrawingContext values_;
};

/// The live context with that id, nullptr when none.
DrawingContext* FindDrawingContext(std::uintptr_t id);

/// The stock brushes the layer answers colour messages with by default; they follow the
/// system colours and cannot be deleted.
PlatformHandle ButtonFaceBrush();
PlatformHandle WindowColorBrush();
/// Whether the handle names a brush, and its colour now.
bool BrushColor(PlatformHandle brush, Color& color);
/// The system's text colours (for the default answers).
Color WindowTextColor();
Color WindowColor();
Color DisabledTextColor();

}  // namespace quentara
