// What screen readers are told of form windows, pictures, frames and labelled fields.
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>

#include "ui/qt/form_window.h"
#include "ui/qt/gadget_controls.h"
#include "ui/qt/qt_access.h"

namespace quentara {

namespace {

// Qt would present a form window as a plain area ("filler") inside the application, as it
// does any bare QWidget, and a picture or a group frame as a nameless frame.
QAccessibleInterface* GadgetAccessible(const QString&, QObject* object) {
  if (auto* form = dynamic_cast<FormWindow*>(object)) {
    return new QAccessibleWidget(form, QAccessible::Window);
  }
  if (auto* picture = dynamic_cast<PictureGadget*>(object)) {
    return new QAccessibleWidget(picture, QAccessible::Graphic);
  }
  if (auto* frame = dynamic_cast<FrameGadget*>(object)) {
    return new QAccessibleWidget(frame, QAccessible::Grouping);
  }
  return nullptr;
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

void NameGadget(std::int32_t number, const char* name) {
  if (QWidget* control = GadgetControlWidget(number)) {
    control->setAccessibleName(QString::fromLatin1(name != nullptr ? name : ""));
  }
}

}  // namespace quentara
