#pragma once
// The handles the window layer hands out: every window, control, font, brush, picture and
// started process gets a fresh number from one counter, and the registry maps it back to
// what it names (a control's handle is kept in its gadget slot instead, beside the control).
// A handle is never reused, so a stale one names nothing instead of naming something else.
// This file does not know what the objects are used for.

#include <sys/types.h>

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <limits>
#include <unordered_map>

#include "ui/ui_types.h"

namespace quentara {

/// Handles stay below 2^31 so that a brush handle fits the hook's 32-bit answer and comes
/// back unchanged. When the counter has used that range up, no object can be created any
/// more (creating operations then return 0).
inline constexpr PlatformHandle firstHandle = 0x10000;
inline constexpr PlatformHandle lastHandle = std::numeric_limits<std::int32_t>::max();

/// A fresh handle, or 0 when the range is used up.
PlatformHandle NewHandle();

/// A brush is either a solid colour or one of the system colours, which it follows when
/// the palette changes (the brushes the layer answers with by default).
struct BrushRecord {
  enum class Kind { Solid, ButtonFace, WindowColor };
  Kind kind = Kind::Solid;
  Color color = 0;
};

struct PictureRecord {
  QPixmap pixmap;
};

template <class Object>
class HandleMap {
 public:
  /// Registers the object under a fresh handle; 0 when no handle is left.
  PlatformHandle Add(Object object) {
    const PlatformHandle handle = NewHandle();
    if (handle != 0) objects_.emplace(handle, std::move(object));
    return handle;
  }
  Object* Find(PlatformHandle handle) {
    auto found = objects_.find(handle);
    return found != objects_.end() ? &found->second : nullptr;
  }
  void Remove(PlatformHandle handle) { objects_.erase(handle); }
  void Clear() { objects_.clear(); }
  /// Objects registered and not removed (for tests).
  std::size_t Count() const { return objects_.size(); }

 private:
  std::unordered_map<PlatformHandle, Object> objects_;
};

/// What the handles of windows, fonts, brushes, pictures and started programs name. A
/// gadget's handle is kept in its slot of the gadget table, beside the control itself.
struct HandleRegistry {
  HandleMap<QPointer<QWidget>> windows;
  HandleMap<QFont> fonts;
  HandleMap<BrushRecord> brushes;
  HandleMap<PictureRecord> pictures;
  HandleMap<pid_t> processes;
};

/// The one registry, made on first use.
HandleRegistry& Handles();
/// Program end, before the application object goes: every font, brush and picture is
/// released and every handle names nothing from then on.
void ReleaseHandles();

/// The widget behind a window handle, nullptr when it names nothing (any more).
QWidget* WindowWidget(PlatformHandle handle);

}  // namespace quentara
