#pragma once
// The Qt controls behind gadgets: a label that paints itself in the colours its window
// answers, one-line and multi-line fields, push buttons, group frames and pictures. Each
// reports what the program may hear of (focus, text changes, clicks) as WM_COMMAND
// notifications to its form window: a field losing the focus before the one gaining it.

#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QTextEdit>
#include <cstdint>
#include <optional>

#include "ui/ui_types.h"

namespace quentara {

/// Kinds of the gadget table; frames share the button kind.
enum class GadgetKind : std::uint8_t { None, Text, String, Button, Picture };

/// A one-line field takes at most this many characters from the keyboard, the clipboard or
/// a drop; what goes past it is refused with EN_MAXTEXT. A text the program writes is not
/// limited.
inline constexpr int textLimit = 32767;

/// What every gadget control knows of itself, whatever Qt class it is.
class GadgetControl {
 public:
  GadgetControl(std::int32_t number, bool tabStop) : number_(number), tabStop_(tabStop) {}
  virtual ~GadgetControl() = default;
  GadgetControl(const GadgetControl&) = delete;
  GadgetControl& operator=(const GadgetControl&) = delete;

  std::int32_t Number() const { return number_; }
  PlatformHandle Handle() const { return handle_; }
  void SetHandle(PlatformHandle handle) { handle_ = handle; }
  bool IsTabStop() const { return tabStop_; }
  /// Fields take typed characters as a message of their own (see the message pump).
  virtual bool TakesCharacters() const { return false; }
  virtual QString Text() const = 0;
  virtual void SetText(const QString& text) = 0;

 protected:
  /// Sends WM_COMMAND with this control's number and the code to its form window.
  void Notify(QWidget* self, std::uint32_t code) const;

 private:
  std::int32_t number_;
  bool tabStop_;
  PlatformHandle handle_ = 0;
};

/// The colours a control draws with, as its window answered them.
struct ControlColors {
  /// The fill of the whole control, none when the answer was no brush.
  std::optional<Color> fill;
  Color text = 0;
  Color back = 0;
  std::int32_t backMode = 2;
};
/// Asks the control's window with WM_CTLCOLORSTATIC or WM_CTLCOLOREDIT.
ControlColors AskControlColors(QWidget* control, PlatformHandle handle, std::uint32_t message);

/// A static text: word-wrapped from the top, left, centred or right. It paints itself; it
/// is a QLabel so that screen readers take it for a label, of the control it is the buddy
/// of (RelateLabelToGadget).
class LabelGadget final : public QLabel, public GadgetControl {
 public:
  LabelGadget(std::int32_t number, QWidget* parent, const QString& text, std::uint32_t flags);
  QString Text() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Alignment alignment_;
};

/// A one-line field. Typed and pasted text (keyboard, context menu, middle button, drop)
/// stops at textLimit.
class LineFieldGadget final : public QLineEdit, public GadgetControl {
 public:
  LineFieldGadget(std::int32_t number, QWidget* parent, const QString& text, std::uint32_t flags);
  bool TakesCharacters() const override { return true; }
  QString Text() const override { return text(); }
  /// Writing notifies EN_UPDATE and EN_CHANGE even when the text stays the same.
  void SetText(const QString& text) override;
  /// Where the character at `offset` is drawn, in the field's coordinates; empty for an
  /// offset outside the text.
  QRect CharacterRect(int offset) const;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  /// Replaces the selection with as much of the text as the limit leaves room for.
  void InsertWithinLimit(const QString& text);
  void PasteWithinLimit(QClipboard::Mode mode);

  bool writing_ = false;
};

/// A multi-line field: plain text, "\r\n" line ends towards the program.
class TextBoxGadget final : public QTextEdit, public GadgetControl {
 public:
  TextBoxGadget(std::int32_t number, QWidget* parent, const QString& text, std::uint32_t flags);
  bool TakesCharacters() const override { return true; }
  QString Text() const override;
  /// Writing does not notify.
  void SetText(const QString& text) override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  bool writing_ = false;
};

class ButtonGadget final : public QPushButton, public GadgetControl {
 public:
  ButtonGadget(std::int32_t number, QWidget* parent, const QString& text);
  QString Text() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }
};

/// A group frame: an etched rectangle with its caption at the top left. It fills nothing
/// but the caption's background, so labels inside it stand on the window's own colour.
class FrameGadget final : public QFrame, public GadgetControl {
 public:
  FrameGadget(std::int32_t number, QWidget* parent, const QString& text);
  QString Text() const override { return title_; }
  void SetText(const QString& text) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString title_;
};

/// A picture at its own size from the top-left corner; an empty one shows only its fill.
class PictureGadget final : public QFrame, public GadgetControl {
 public:
  PictureGadget(std::int32_t number, QWidget* parent, const QPixmap& picture, bool sunken);
  QString Text() const override { return QString(); }
  void SetText(const QString&) override {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

/// "\r\n" and lone "\r" become "\n" for Qt's text classes, and back for the program.
QString ToQtLineEnds(const QString& text);
QString ToProgramLineEnds(const QString& text);

}  // namespace quentara
