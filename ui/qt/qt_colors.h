#pragma once
// Colours between the program's 0x00BBGGRR values and Qt's QColor.

#include <QColor>

#include "ui/ui_types.h"

namespace quentara {

inline QColor ToQColor(Color color) {
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

inline Color ToColor(const QColor& color) {
  return static_cast<Color>(color.red() & 0xFF) | (static_cast<Color>(color.green() & 0xFF) << 8) |
         (static_cast<Color>(color.blue() & 0xFF) << 16);
}

}  // namespace quentara
