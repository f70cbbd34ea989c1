// The gadget table: gadgets created by number in the current parent window, and read,
// written, focused, enabled and given fonts through their numbers.
#include "ui/gadgets.h"

#include <QApplication>
#include <QByteArray>
#include <QPointer>
#include <algorithm>

#include "text/object_tables.h"
#include "text/text_area.h"
#include "ui/accessibility.h"
#include "ui/qt/form_window.h"
#include "ui/qt/gadget_controls.h"
#include "ui/qt/gadget_fonts.h"
#include "ui/qt/handle_registry.h"
#include "ui/qt/qt_access.h"

namespace quentara {

namespace {

constexpr std::int32_t gadgetTableStep = 30;
/// ReadGadgetText gives at most this many characters of a gadget's text; the rest is cut.
constexpr std::size_t readLimit = 31999;

struct GadgetSlot {
  PlatformHandle handle = 0;
  GadgetKind kind = GadgetKind::None;
  /// The control itself; null once it has been deleted with its window.
  QPointer<QWidget> control;
};

ObjectTable<GadgetSlot>& GadgetTable() {
  static ObjectTable<GadgetSlot>& table = MakeObjectTable<GadgetSlot>();
  return table;
}

PlatformHandle gadgetParent = 0;
PlatformHandle defaultGadgetFont = 0;

// A gadget's number leads straight to its control through the slot. A control whose window
// has been closed is gone for the program (its slot keeps the stale handle), even while Qt
// still holds the widget until the window is deleted.
GadgetControl* ControlOfNumber(std::int32_t number) {
  GadgetSlot* slot = FindSlot(GadgetTable(), number);
  if (slot == nullptr || FormOf(slot->control) == nullptr) return nullptr;
  return dynamic_cast<GadgetControl*>(slot->control.data());
}

QString FromProgramText(const char* text) {
  return QString::fromLatin1(text != nullptr ? text : "");
}

// The steps every kind shares: the table, the parent, the registry, the slot and the
// default font. The control is made by `make` once the parent is known.
template <class Make>
PlatformHandle CreateGadget(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, GadgetKind kind, bool withFont, Make make) {
  if (!IsObjectNumber(number)) return 0;
  FormWindow* parent = FormFromHandle(gadgetParent);
  // A control that cannot be made leaves handle 0 in the slot; a refused picture gadget
  // leaves the table untouched.
  if (parent == nullptr && kind == GadgetKind::Picture) return 0;
  GrowObjectTable(GadgetTable(), number, gadgetTableStep);
  const auto index = static_cast<std::size_t>(number);
  if (parent == nullptr) {
    GadgetTable()[index] = GadgetSlot{0, kind, nullptr};
    return 0;
  }
  const PlatformHandle handle = NewHandle();
  if (handle == 0) {
    if (kind != GadgetKind::Picture) GadgetTable()[index] = GadgetSlot{0, kind, nullptr};
    return 0;
  }
  QWidget* control = make(parent);
  dynamic_cast<GadgetControl*>(control)->SetHandle(handle);
  control->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
  // A control already stored under this number stays where it is, unreachable by number.
  GadgetTable()[index] = GadgetSlot{handle, kind, control};
  if (withFont) control->setFont(GadgetFont(defaultGadgetFont));
  control->show();
  return handle;
}

}  // namespace

void InitGadgets() {
  GadgetTable().assign(gadgetTableStep, GadgetSlot{});
  gadgetParent = 0;
  defaultGadgetFont = PlatformGuiFont();
}

void EndGadgets() {
  GadgetTable().clear();
  GadgetTable().shrink_to_fit();
  gadgetParent = 0;
  defaultGadgetFont = 0;
}

PlatformHandle SetGadgetParent(PlatformHandle windowHandle) {
  gadgetParent = windowHandle;
  return windowHandle;
}

PlatformHandle CreateTextGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, const char* text,
                                std::uint32_t flags) {
  return CreateGadget(number, x, y, width, height, GadgetKind::Text, true, [&](QWidget* parent) {
    return new LabelGadget(number, parent, FromProgramText(text), flags);
  });
}

PlatformHandle CreateStringGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, const char* text,
                                  std::uint32_t flags) {
  return CreateGadget(number, x, y, width, height, GadgetKind::String, true,
                      [&](QWidget* parent) -> QWidget* {
                        if ((flags & ES_MULTILINE) != 0) {
                          return new TextBoxGadget(number, parent, FromProgramText(text), flags);
                        }
                        return new LineFieldGadget(number, parent, FromProgramText(text), flags);
                      });
}

PlatformHandle CreateButtonGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, const char* text) {
  return CreateGadget(number, x, y, width, height, GadgetKind::Button, true, [&](QWidget* parent) {
    return new ButtonGadget(number, parent, FromProgramText(text));
  });
}

PlatformHandle CreateFrameGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                 std::int32_t width, std::int32_t height, const char* text) {
  // Frames share the button kind.
  return CreateGadget(number, x, y, width, height, GadgetKind::Button, true, [&](QWidget* parent) {
    return new FrameGadget(number, parent, FromProgramText(text));
  });
}

PlatformHandle CreatePictureGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                   std::int32_t width, std::int32_t height,
                                   PlatformHandle pictureHandle, std::uint32_t flags) {
  const PictureRecord* picture = Handles().pictures.Find(pictureHandle);
  const QPixmap pixmap = picture != nullptr ? picture->pixmap : QPixmap();
  // No font goes to a picture.
  return CreateGadget(
      number, x, y, width, height, GadgetKind::Picture, false, [&](QWidget* parent) {
        return new PictureGadget(number, parent, pixmap, (flags & WS_EX_CLIENTEDGE) != 0);
      });
}

char* ReadGadgetText(std::int32_t number) {
  QByteArray bytes;
  if (GadgetControl* control = ControlOfNumber(number)) bytes = control->Text().toLatin1();
  const std::size_t length = std::min(static_cast<std::size_t>(bytes.size()), readLimit);
  return WriteTextAt(TextAreaEnd(), bytes.constData(), length);
}

void WriteGadgetText(std::int32_t number, const char* text) {
  if (GadgetControl* control = ControlOfNumber(number)) {
    control->SetText(FromProgramText(text));
    GadgetTextWritten(number);
  }
}

void FocusGadget(std::int32_t number) {
  GadgetControl* control = ControlOfNumber(number);
  if (control == nullptr) {
    // Focusing no window leaves no window with the keyboard focus.
    if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
    return;
  }
  auto* widget = dynamic_cast<QWidget*>(control);
  // Focusing a control of a window that is not active makes that window active; the
  // control then gets the focus (and notifies) as soon as the activation arrives.
  QWidget* window = widget->window();
  if (!window->isActiveWindow()) Activate(window);
  widget->setFocus(Qt::OtherFocusReason);
}

void SetGadgetDisabled(std::int32_t number, GadgetState state) {
  if (GadgetControl* control = ControlOfNumber(number)) {
    dynamic_cast<QWidget*>(control)->setEnabled(state == GadgetState::Enabled);
  }
}

PlatformHandle GadgetHandle(std::int32_t number) {
  GadgetSlot* slot = FindSlot(GadgetTable(), number);
  return slot != nullptr ? slot->handle : 0;
}

void ApplyGadgetFont(std::int32_t number, PlatformHandle font) {
  if (number == -1) {
    defaultGadgetFont = font;
    return;
  }
  if (GadgetControl* control = ControlOfNumber(number)) {
    dynamic_cast<QWidget*>(control)->setFont(GadgetFont(font));
  }
}

std::int32_t GadgetSlotCount() {
  return static_cast<std::int32_t>(GadgetTable().size());
}

QWidget* GadgetControlWidget(std::int32_t number) {
  return dynamic_cast<QWidget*>(ControlOfNumber(number));
}

}  // namespace quentara
