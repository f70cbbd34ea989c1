// What screen readers are told of form windows, pictures, frames and labelled fields.
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QList>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <utility>

#include "ui/qt/form_window.h"
#include "ui/qt/gadget_controls.h"
#include "ui/qt/qt_access.h"

namespace quentara {

namespace {

// What the program told of a control, kept on the control itself.
constexpr char placeholderProperty[] = "quentaraPlaceholder";
constexpr char placeholderDescriptionProperty[] = "quentaraPlaceholderDescription";
constexpr char announcedProperty[] = "quentaraAnnounced";

// The controls of a form window as they are read: line by line from the top, each line from
// left to right. A control whose top edge lies above the middle of the line's first control
// (of the shorter of the two) is on that line, so a label drawn a few pixels below its
// field's top edge comes before the field, and a control beside a taller one shares its
// line.
QList<QWidget*> ReadingOrder(const QWidget* form) {
  QList<QWidget*> controls;
  for (QObject* child : form->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control != nullptr && !control->isWindow()) controls.append(control);
  }
  const auto above = [](const QWidget* a, const QWidget* b) {
    return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
  };
  const auto leftOf = [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); };
  std::stable_sort(controls.begin(), controls.end(), above);
  for (auto first = controls.begin(); first != controls.end();) {
    const QWidget* lead = *first;
    const auto last = std::find_if(first + 1, controls.end(), [lead](const QWidget* next) {
      return next->y() >= lead->y() + std::min(lead->height(), next->height()) / 2;
    });
    std::stable_sort(first, last, leftOf);
    first = last;
  }
  return controls;
}

// A form window: a frame named by its title (Qt would present a bare QWidget as a plain
// area), whose children are its controls in reading order rather than creation order.
class FormAccessible final : public QAccessibleWidget {
 public:
  explicit FormAccessible(FormWindow* form) : QAccessibleWidget(form, QAccessible::Window) {}
  int childCount() const override { return static_cast<int>(ReadingOrder(widget()).size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> controls = ReadingOrder(widget());
    if (index < 0 || index >= controls.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(controls.at(index));
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    return static_cast<int>(
        ReadingOrder(widget()).indexOf(qobject_cast<QWidget*>(child->object())));
  }
};

// A one-line field: its text with caret and selection, and, while it shows only its
// placeholder, no text and the placeholder's description instead. Qt's own presentation of
// a line edit always reads out what it shows.
class FieldAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit FieldAccessible(LineFieldGadget* field)
      : QAccessibleWidget(field, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = Field()->isReadOnly();
    state.editable = !state.readOnly;
    state.selectableText = true;
    return state;
  }
  QString text(QAccessible::Text type) const override {
    if (type == QAccessible::Value) return Shown();
    if (type == QAccessible::Description && ShowsPlaceholder()) {
      return Field()->property(placeholderDescriptionProperty).toString();
    }
    return QAccessibleWidget::text(type);
  }

  void selection(int index, int* start, int* end) const override {
    *start = 0;
    *end = 0;
    if (index != 0 || selectionCount() == 0) return;
    *start = Field()->selectionStart();
    *end = Field()->selectionEnd();
  }
  int selectionCount() const override {
    return !ShowsPlaceholder() && Field()->hasSelectedText() ? 1 : 0;
  }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { Field()->deselect(); }
  void setSelection(int, int start, int end) override { Field()->setSelection(start, end - start); }
  int cursorPosition() const override { return ShowsPlaceholder() ? 0 : Field()->cursorPosition(); }
  void setCursorPosition(int position) override { Field()->setCursorPosition(position); }
  QString text(int start, int end) const override { return Shown().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  QRect characterRect(int offset) const override {
    const QRect area = ShowsPlaceholder() ? QRect() : Field()->CharacterRect(offset);
    if (area.isEmpty()) return QRect();
    return QRect(Field()->mapToGlobal(area.topLeft()), area.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    if (ShowsPlaceholder()) return -1;
    return Field()->cursorPositionAt(Field()->mapFromGlobal(point));
  }
  void scrollToSubstring(int start, int) override { Field()->setCursorPosition(start); }
  QString attributes(int, int* start, int* end) const override {
    // A field has one font and colour throughout: one run without attributes, as long as
    // the text. A run of no characters (Qt's answer for a line edit) makes a screen reader
    // drop the last character: "5000.0" for "5000.00".
    *start = 0;
    *end = characterCount();
    return QString();
  }

 private:
  LineFieldGadget* Field() const { return static_cast<LineFieldGadget*>(widget()); }
  bool ShowsPlaceholder() const {
    const QVariant placeholder = Field()->property(placeholderProperty);
    return placeholder.isValid() && Field()->text() == placeholder.toString();
  }
  QString Shown() const { return ShowsPlaceholder() ? QString() : Field()->text(); }
};

// What a form window has to announce: no control, but an object of the window that
// screen readers hear of as a notification each time it shows with a new message.
class Announcement final : public QObject {
 public:
  explicit Announcement(QWidget* window) : QObject(window) {}
  QString message;
};

class AnnouncementAccessible final : public QAccessibleObject {
 public:
  explicit AnnouncementAccessible(Announcement* announcement) : QAccessibleObject(announcement) {}
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(object()->parent());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text type) const override {
    return type == QAccessible::Name ? static_cast<Announcement*>(object())->message : QString();
  }
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QAccessible::State state() const override { return QAccessible::State(); }
};

void Announce(QWidget* window, const QString& message) {
  Announcement* announcement = nullptr;
  for (QObject* child : window->children()) {
    if (auto* found = dynamic_cast<Announcement*>(child)) announcement = found;
  }
  if (announcement == nullptr) announcement = new Announcement(window);
  announcement->message = message;
  QAccessibleEvent shown(announcement, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

QAccessibleInterface* GadgetAccessible(const QString&, QObject* object) {
  if (auto* form = dynamic_cast<FormWindow*>(object)) return new FormAccessible(form);
  if (auto* field = dynamic_cast<LineFieldGadget*>(object)) return new FieldAccessible(field);
  if (auto* announcement = dynamic_cast<Announcement*>(object)) {
    return new AnnouncementAccessible(announcement);
  }
  // A picture or a group frame would be a nameless frame.
  if (auto* picture = dynamic_cast<PictureGadget*>(object)) {
    return new QAccessibleWidget(picture, QAccessible::Graphic);
  }
  if (auto* frame = dynamic_cast<FrameGadget*>(object)) {
    return new QAccessibleWidget(frame, QAccessible::Grouping);
  }
  return nullptr;
}

QString FromProgramText(const char* text) {
  return QString::fromLatin1(text != nullptr ? text : "");
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(GadgetAccessible);
}

void RelateLabelToGadget(std::int32_t label, std::int32_t gadget) {
  auto* labelControl = dynamic_cast<LabelGadget*>(GadgetControlWidget(label));
  QWidget* control = GadgetControlWidget(gadget);
  if (labelControl == nullptr || control == nullptr) return;
  // The label's buddy: Qt relates the two both ways for screen readers.
  labelControl->setBuddy(control);
  QString name = labelControl->text();
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  control->setAccessibleName(name);
}

void DescribeGadgetByLabel(std::int32_t label, std::int32_t gadget) {
  auto* labelControl = dynamic_cast<LabelGadget*>(GadgetControlWidget(label));
  QWidget* control = GadgetControlWidget(gadget);
  if (labelControl == nullptr || control == nullptr) return;
  control->setAccessibleDescription(labelControl->text());
}

void NameGadget(std::int32_t number, const char* name) {
  if (QWidget* control = GadgetControlWidget(number)) {
    control->setAccessibleName(FromProgramText(name));
  }
}

void SetFieldPlaceholder(std::int32_t field, const char* placeholder, const char* description) {
  if (auto* control = dynamic_cast<LineFieldGadget*>(GadgetControlWidget(field))) {
    control->setProperty(placeholderProperty, FromProgramText(placeholder));
    control->setProperty(placeholderDescriptionProperty, FromProgramText(description));
  }
}

void AnnounceGadgetWrites(std::int32_t number) {
  if (QWidget* control = GadgetControlWidget(number)) control->setProperty(announcedProperty, true);
}

void GadgetTextWritten(std::int32_t number) {
  QWidget* control = GadgetControlWidget(number);
  if (control == nullptr || !control->property(announcedProperty).toBool() ||
      !QAccessible::isActive()) {
    return;
  }
  const QString message =
      control->accessibleName() + QLatin1Char(' ') + dynamic_cast<GadgetControl*>(control)->Text();
  // Posted, so that it comes after whatever else the program's current step does: a focus
  // change that a screen reader speaks would otherwise cut the announcement short. A window
  // closed meanwhile announces nothing.
  QWidget* window = control->window();
  QMetaObject::invokeMethod(
      window, [window, message] { Announce(window, message); }, Qt::QueuedConnection);
}

}  // namespace quentara
