// Brushes, the system's colours and the drawing contexts through which the window hook
// colours a control.
#include "ui/drawing.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <vector>

#include "ui/qt/drawing_context.h"
#include "ui/qt/form_window.h"
#include "ui/qt/handle_registry.h"
#include "ui/qt/qt_colors.h"

namespace quentara {

namespace {

// Contexts live only while a control paints, and paints may nest (a hook that makes a
// window paint); a short list is all it takes.
std::vector<DrawingContext*>& LiveContexts() {
  static auto* contexts = new std::vector<DrawingContext*>;
  return *contexts;
}

QPalette SystemPalette() {
  return QApplication::palette();
}

PlatformHandle StockBrush(BrushRecord::Kind kind, PlatformHandle& handle) {
  if (handle == 0) handle = Handles().brushes.Add(BrushRecord{kind, 0});
  return handle;
}

PlatformHandle buttonFaceBrush = 0;
PlatformHandle windowColorBrush = 0;

}  // namespace

LiveDrawingContext::LiveDrawingContext() {
  LiveContexts().push_back(&values_);
}

LiveDrawingContext::~LiveDrawingContext() {
  auto& contexts = LiveContexts();
  contexts.erase(std::remove(contexts.begin(), contexts.end(), &values_), contexts.end());
}

std::uintptr_t LiveDrawingContext::Id() const {
  return reinterpret_cast<std::uintptr_t>(&values_);
}

DrawingContext* FindDrawingContext(std::uintptr_t id) {
  for (DrawingContext* context : LiveContexts()) {
    if (reinterpret_cast<std::uintptr_t>(context) == id) return context;
  }
  return nullptr;
}

PlatformHandle ButtonFaceBrush() {
  return StockBrush(BrushRecord::Kind::ButtonFace, buttonFaceBrush);
}

PlatformHandle WindowColorBrush() {
  return StockBrush(BrushRecord::Kind::WindowColor, windowColorBrush);
}

bool BrushColor(PlatformHandle brush, Color& color) {
  const BrushRecord* record = Handles().brushes.Find(brush);
  if (record == nullptr) return false;
  switch (record->kind) {
    case BrushRecord::Kind::Solid:
      color = record->color;
      return true;
    case BrushRecord::Kind::ButtonFace:
      color = ButtonFaceColor();
      return true;
    case BrushRecord::Kind::WindowColor:
      color = WindowColor();
      return true;
  }
  return false;
}

Color WindowTextColor() {
  return ToColor(SystemPalette().color(QPalette::Active, QPalette::Text));
}

Color WindowColor() {
  return ToColor(SystemPalette().color(QPalette::Active, QPalette::Base));
}

Color DisabledTextColor() {
  return ToColor(SystemPalette().color(QPalette::Disabled, QPalette::WindowText));
}

PlatformHandle MakeSolidBrush(Color color) {
  return Handles().brushes.Add(BrushRecord{BrushRecord::Kind::Solid, color & 0x00FFFFFFu});
}

void DeleteBrush(PlatformHandle brush) {
  // The two stock brushes follow the system colours and are shared; they cannot be deleted.
  if (brush == buttonFaceBrush || brush == windowColorBrush) return;
  Handles().brushes.Remove(brush);
}

Color ButtonFaceColor() {
  return ToColor(SystemPalette().color(QPalette::Active, QPalette::Button));
}

void SetContextTextColor(std::uintptr_t context, Color color) {
  if (DrawingContext* values = FindDrawingContext(context)) values->textColor = color & 0x00FFFFFFu;
}

void SetContextBackColor(std::uintptr_t context, Color color) {
  if (DrawingContext* values = FindDrawingContext(context)) values->backColor = color & 0x00FFFFFFu;
}

void SetContextBackMode(std::uintptr_t context, std::int32_t mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return;
  if (DrawingContext* values = FindDrawingContext(context)) values->backMode = mode;
}

void SetWindowBackground(PlatformHandle window, PlatformHandle brush) {
  if (FormWindow* form = FormFromHandle(window)) form->SetBackground(brush);
}

}  // namespace quentara
