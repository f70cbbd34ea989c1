// The Qt controls behind gadgets, which report focus, text changes and clicks to their
// form window as WM_COMMAND notifications.
#include "ui/qt/gadget_controls.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/drawing.h"
#include "ui/gadgets.h"
#include "ui/qt/drawing_context.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_colors.h"

namespace quentara {

namespace {

// A sunken client edge (WS_EX_CLIENTEDGE) is two pixels wide.
constexpr int edgeWidth = 2;

void GiveSunkenEdge(QFrame* frame) {
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(edgeWidth);
}

Qt::Alignment HorizontalAlignment(std::uint32_t flags) {
  // Centring wins when both bits are given.
  if ((flags & ES_CENTER) != 0) return Qt::AlignHCenter;
  if ((flags & ES_RIGHT) != 0) return Qt::AlignRight;
  return Qt::AlignLeft;
}

// Applies the colours a field was answered with to its palette, only when they changed:
// setting a palette repaints, and the repaint asks again.
void ApplyFieldColors(QWidget* field, const ControlColors& colors) {
  QPalette palette = field->palette();
  bool changed = false;
  const QColor text = ToQColor(colors.text);
  if (palette.color(QPalette::Text) != text) {
    palette.setColor(QPalette::Text, text);
    changed = true;
  }
  if (colors.fill.has_value()) {
    const QColor fill = ToQColor(*colors.fill);
    if (palette.color(QPalette::Base) != fill) {
      palette.setColor(QPalette::Base, fill);
      changed = true;
    }
  }
  if (changed) field->setPalette(palette);
}

// A printable character typed into a full field is refused and reported.
bool RefusedByLimit(QKeyEvent* event, int length, bool hasSelection) {
  const QString text = event->text();
  return !text.isEmpty() && text.at(0).isPrint() && length >= textLimit && !hasSelection;
}

}  // namespace

void GadgetControl::Notify(QWidget* self, std::uint32_t code) const {
  FormWindow* form = FormOf(self);
  if (form == nullptr || handle_ == 0) return;
  WindowProcedure(form->Handle(), WM_COMMAND, MakeWParam(static_cast<std::uint32_t>(number_), code),
                  static_cast<std::intptr_t>(handle_));
}

ControlColors AskControlColors(QWidget* control, PlatformHandle handle, std::uint32_t message) {
  LiveDrawingContext context;
  std::int32_t answer = 0;
  if (FormWindow* form = FormOf(control)) {
    answer =
        WindowProcedure(form->Handle(), message, context.Id(), static_cast<std::intptr_t>(handle))
            .value;
  }
  ControlColors colors;
  Color fill = 0;
  // The answer is a brush handle; the conversion back keeps its 32 bits unchanged.
  if (BrushColor(static_cast<PlatformHandle>(static_cast<std::uint32_t>(answer)), fill)) {
    colors.fill = fill;
  }
  colors.text = context.Values().textColor;
  colors.back = context.Values().backColor;
  colors.backMode = context.Values().backMode;
  return colors;
}

LabelGadget::LabelGadget(std::int32_t number, QWidget* parent, const QString& text,
                         std::uint32_t flags)
    : QLabel(parent), GadgetControl(number, false) {
  setTextFormat(Qt::PlainText);
  setText(text);
  alignment_ = (flags & SS_CENTER) != 0  ? Qt::AlignHCenter
               : (flags & SS_RIGHT) != 0 ? Qt::AlignRight
                                         : Qt::AlignLeft;
  if ((flags & GadgetEdgeFlag) != 0) GiveSunkenEdge(this);
  setFocusPolicy(Qt::NoFocus);
}

void LabelGadget::paintEvent(QPaintEvent*) {
  const ControlColors colors = AskControlColors(this, Handle(), WM_CTLCOLORSTATIC);
  QPainter painter(this);
  const QRect area = contentsRect();
  // The answered brush fills the whole label, not only the text.
  if (colors.fill.has_value()) painter.fillRect(area, ToQColor(*colors.fill));
  painter.setPen(isEnabled() ? ToQColor(colors.text) : ToQColor(DisabledTextColor()));
  if (colors.backMode == OPAQUE) {
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(ToQColor(colors.back));
  }
  painter.setFont(font());
  painter.drawText(area,
                   static_cast<int>(alignment_ | Qt::AlignTop) | Qt::TextWordWrap |
                       Qt::TextShowMnemonic | Qt::TextExpandTabs,
                   text());
  painter.setBackgroundMode(Qt::TransparentMode);
  drawFrame(&painter);
}

LineFieldGadget::LineFieldGadget(std::int32_t number, QWidget* parent, const QString& text,
                                 std::uint32_t flags)
    : QLineEdit(parent), GadgetControl(number, true) {
  // Writing is not limited (a text of 40000 characters stays whole); typing and pasting
  // are, below.
  setMaxLength(std::numeric_limits<int>::max());
  setFrame((flags & GadgetEdgeFlag) == 0);
  setAlignment(HorizontalAlignment(flags) | Qt::AlignVCenter);
  setReadOnly((flags & ES_READONLY) != 0);
  setFocusPolicy(Qt::ClickFocus);
  setText(text);
  setCursorPosition(0);
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (writing_) return;
    Notify(this, EN_UPDATE);
    Notify(this, EN_CHANGE);
  });
}

void LineFieldGadget::SetText(const QString& text) {
  writing_ = true;
  setText(text);
  // A written text shows from its start, with the caret there: a long payment or date
  // shows its first digits.
  setCursorPosition(0);
  writing_ = false;
  // A written text notifies even when it is the same as before: the program counts on
  // the event of the field it writes.
  Notify(this, EN_UPDATE);
  Notify(this, EN_CHANGE);
}

QRect LineFieldGadget::CharacterRect(int offset) const {
  const QString shown = text();
  if (offset < 0 || offset >= shown.size()) return QRect();
  // The caret's rectangle is centred on the caret; the character lies as far from the caret
  // as the text between them is wide.
  const QFontMetrics metrics(font());
  const QRect caret = cursorRect();
  const int x = caret.center().x() + metrics.horizontalAdvance(shown.left(offset)) -
                metrics.horizontalAdvance(shown.left(cursorPosition()));
  return QRect(x, caret.top(), metrics.horizontalAdvance(shown.at(offset)), caret.height());
}

void LineFieldGadget::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // A popup (the context menu) does not take the focus away from the field.
  if (event->reason() != Qt::PopupFocusReason) Notify(this, EN_SETFOCUS);
}

void LineFieldGadget::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason) Notify(this, EN_KILLFOCUS);
}

void LineFieldGadget::keyPressEvent(QKeyEvent* event) {
  if (!isReadOnly() && event->matches(QKeySequence::Paste)) {
    // Ctrl+Shift+Insert pastes the selection where the desktop's key scheme says so.
    const bool selection = event->key() == Qt::Key_Insert &&
                           event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    PasteWithinLimit(selection ? QClipboard::Selection : QClipboard::Clipboard);
    return;
  }
  if (!isReadOnly() && RefusedByLimit(event, static_cast<int>(text().size()), hasSelectedText())) {
    Notify(this, EN_MAXTEXT);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void LineFieldGadget::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button pastes the desktop's selection where there is one (X11).
  if (event->button() == Qt::MiddleButton && !isReadOnly() &&
      QGuiApplication::clipboard()->supportsSelection()) {
    deselect();
    InsertWithinLimit(QGuiApplication::clipboard()->text(QClipboard::Selection));
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void LineFieldGadget::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  if (menu == nullptr) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The menu's Paste goes through the limit too. The action is the one connected to
  // QLineEdit::paste (the connection is made by name, or by pointer in other Qt versions).
  for (QAction* action : menu->actions()) {
    if (QObject::disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
        QObject::disconnect(action, &QAction::triggered, this, &QLineEdit::paste)) {
      connect(action, &QAction::triggered, this,
              [this] { PasteWithinLimit(QClipboard::Clipboard); });
    }
  }
  menu->popup(event->globalPos());
}

void LineFieldGadget::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  // Text moved within the field leaves its length as it was.
  const bool movedWithin = event->source() == this && event->dropAction() == Qt::MoveAction;
  if (isReadOnly() || data == nullptr || !data->hasText() || movedWithin) {
    QLineEdit::dropEvent(event);
    return;
  }
  const QString dropped = data->text();
  const qsizetype room = std::max<qsizetype>(0, textLimit - text().size());
  if (dropped.size() <= room) {
    QLineEdit::dropEvent(event);
    return;
  }
  Notify(this, EN_MAXTEXT);
  if (room == 0) {
    event->ignore();
    return;
  }
  // The same drop with only the part that fits.
  QMimeData fitting;
  fitting.setText(dropped.left(room));
  QDropEvent cut(event->position(), event->possibleActions(), &fitting, event->buttons(),
                 event->modifiers(), event->type());
  cut.setDropAction(event->dropAction());
  QLineEdit::dropEvent(&cut);
  event->setDropAction(cut.dropAction());
  event->setAccepted(cut.isAccepted());
}

void LineFieldGadget::InsertWithinLimit(const QString& inserted) {
  if (inserted.isEmpty() && !hasSelectedText()) return;
  const qsizetype kept = text().size() - selectedText().size();
  const qsizetype room = std::max<qsizetype>(0, textLimit - kept);
  if (inserted.size() > room) {
    Notify(this, EN_MAXTEXT);
    // A full field keeps its selection rather than lose it to nothing.
    if (room == 0) return;
  }
  // Only the part that fits is handed to the field: a long text is never laid out whole.
  insert(inserted.left(room));
}

void LineFieldGadget::PasteWithinLimit(QClipboard::Mode mode) {
  InsertWithinLimit(QGuiApplication::clipboard()->text(mode));
}

void LineFieldGadget::paintEvent(QPaintEvent* event) {
  const bool asStatic = isReadOnly() || !isEnabled();
  ApplyFieldColors(
      this, AskControlColors(this, Handle(), asStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT));
  QLineEdit::paintEvent(event);
}

TextBoxGadget::TextBoxGadget(std::int32_t number, QWidget* parent, const QString& text,
                             std::uint32_t flags)
    : QTextEdit(parent), GadgetControl(number, true) {
  setAcceptRichText(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if ((flags & GadgetEdgeFlag) == 0) {
    GiveSunkenEdge(this);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  // A multi-line field that asks for an alignment wraps at its width; a left-aligned one
  // scrolls sideways, as its style asks for automatic horizontal scrolling.
  const Qt::Alignment alignment = HorizontalAlignment(flags);
  const bool wraps = (flags & (ES_CENTER | ES_RIGHT)) != 0;
  setLineWrapMode(wraps ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  QTextOption option = document()->defaultTextOption();
  option.setAlignment(alignment);
  option.setWrapMode(wraps ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  document()->setDefaultTextOption(option);
  if ((flags & ES_READONLY) != 0) {
    // Read-only text can still be selected and copied, by mouse and by keyboard.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  setFocusPolicy(Qt::ClickFocus);
  viewport()->setAutoFillBackground(false);
  setPlainText(ToQtLineEnds(text));
  connect(this, &QTextEdit::textChanged, this, [this] {
    if (writing_) return;
    Notify(this, EN_UPDATE);
    Notify(this, EN_CHANGE);
  });
}

QString TextBoxGadget::Text() const {
  return ToProgramLineEnds(toPlainText());
}

void TextBoxGadget::SetText(const QString& text) {
  writing_ = true;
  setPlainText(ToQtLineEnds(text));
  writing_ = false;
}

void TextBoxGadget::focusInEvent(QFocusEvent* event) {
  QTextEdit::focusInEvent(event);
  if (event->reason() != Qt::PopupFocusReason) Notify(this, EN_SETFOCUS);
}

void TextBoxGadget::focusOutEvent(QFocusEvent* event) {
  QTextEdit::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason) Notify(this, EN_KILLFOCUS);
}

void TextBoxGadget::keyPressEvent(QKeyEvent* event) {
  if (!isReadOnly() &&
      RefusedByLimit(event, static_cast<int>(toPlainText().size()), textCursor().hasSelection())) {
    Notify(this, EN_MAXTEXT);
    return;
  }
  QTextEdit::keyPressEvent(event);
}

void TextBoxGadget::paintEvent(QPaintEvent* event) {
  const bool asStatic = isReadOnly() || !isEnabled();
  const ControlColors colors =
      AskControlColors(this, Handle(), asStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  ApplyFieldColors(this, colors);
  // The field fills its area itself, so that the answer holds from the first paint on.
  if (colors.fill.has_value()) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), ToQColor(*colors.fill));
  }
  QTextEdit::paintEvent(event);
}

QMimeData* TextBoxGadget::createMimeDataFromSelection() const {
  // Copied text has the program's line ends, carriage return and line feed.
  auto* data = new QMimeData;
  data->setText(ToProgramLineEnds(textCursor().selection().toPlainText()));
  return data;
}

ButtonGadget::ButtonGadget(std::int32_t number, QWidget* parent, const QString& text)
    : QPushButton(text, parent), GadgetControl(number, true) {
  // A plain push button: Enter does not press it, only a click or the space bar.
  setAutoDefault(false);
  setDefault(false);
  setFocusPolicy(Qt::ClickFocus);
  connect(this, &QPushButton::clicked, this, [this] { Notify(this, BN_CLICKED); });
}

FrameGadget::FrameGadget(std::int32_t number, QWidget* parent, const QString& text)
    : QFrame(parent), GadgetControl(number, false), title_(text) {
  setFocusPolicy(Qt::NoFocus);
}

void FrameGadget::SetText(const QString& text) {
  title_ = text;
  update();
}

void FrameGadget::paintEvent(QPaintEvent*) {
  // Caption inset and padding of a group box, in pixels.
  constexpr int captionInset = 8;
  constexpr int captionPadding = 2;
  const ControlColors colors = AskControlColors(this, Handle(), WM_CTLCOLORSTATIC);
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int lineTop = title_.isEmpty() ? 0 : metrics.height() / 2;
  const QRect box = rect().adjusted(0, lineTop, -1, -1);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(box.adjusted(1, 1, 0, 0));
  if (title_.isEmpty()) return;
  const int textWidth = metrics.size(Qt::TextShowMnemonic, title_).width();
  const QRect caption(captionInset, 0, textWidth + 2 * captionPadding, metrics.height());
  if (colors.fill.has_value()) painter.fillRect(caption, ToQColor(*colors.fill));
  painter.setPen(isEnabled() ? ToQColor(colors.text) : ToQColor(DisabledTextColor()));
  painter.setFont(font());
  painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title_);
}

PictureGadget::PictureGadget(std::int32_t number, QWidget* parent, const QPixmap& picture,
                             bool sunken)
    : QFrame(parent), GadgetControl(number, false), picture_(picture) {
  if (sunken) GiveSunkenEdge(this);
  setFocusPolicy(Qt::NoFocus);
}

void PictureGadget::paintEvent(QPaintEvent*) {
  const ControlColors colors = AskControlColors(this, Handle(), WM_CTLCOLORSTATIC);
  QPainter painter(this);
  const QRect area = contentsRect();
  if (colors.fill.has_value()) painter.fillRect(area, ToQColor(*colors.fill));
  if (!picture_.isNull()) {
    // On a screen scaled by a fraction (1.5) the picture's pixels fall across the screen's,
    // and taking the nearest one makes the picture jagged: it is scaled smoothly there. At
    // a whole scale (2) every pixel becomes a crisp square of screen pixels.
    const qreal scale = painter.deviceTransform().m11();
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          std::abs(scale - std::round(scale)) > 0.01);
    painter.setClipRect(area);
    painter.drawPixmap(area.topLeft(), picture_);
    painter.setClipping(false);
  }
  drawFrame(&painter);
}

QString ToQtLineEnds(const QString& text) {
  QString result = text;
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

QString ToProgramLineEnds(const QString& text) {
  QString result = text;
  result.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return result;
}

}  // namespace quentara
