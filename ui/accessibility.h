#pragma once
// What screen readers learn of the program's windows: a form window is a frame named by its
// title whose controls come in reading order, a label is a label with its text, and the
// program says which label names or describes which control, what a picture shows, which
// text of a field only holds its place, and which field's new text is worth announcing,
// since none of that can be told from the screen alone.

#include <cstdint>

namespace quentara {

/// Start-up (InitWindows): form windows present themselves as frames named by their title,
/// with their controls from top to bottom and left to right (a label just below its field's
/// top edge before the field), pictures as images, group frames as panels and one-line
/// fields as texts.
void InstallAccessibility();
/// Label gadget `label` names gadget `gadget` for screen readers: the gadget takes the
/// label's text without a trailing colon as its name ("Loan Amount (Dollars):" names its
/// field "Loan Amount (Dollars)"), and each is related to the other (label for, labelled
/// by). Does nothing when either gadget does not exist or `label` is no label.
void RelateLabelToGadget(std::int32_t label, std::int32_t gadget);
/// Label gadget `label` describes gadget `gadget` for screen readers: the gadget takes the
/// label's text as its description (a format hint such as "mm/dd/yyyy"). Does nothing when
/// either gadget does not exist or `label` is no label.
void DescribeGadgetByLabel(std::int32_t label, std::int32_t gadget);
/// The name screen readers give the gadget, for one that shows no text (a picture).
void NameGadget(std::int32_t number, const char* name);
/// One-line field `field` shows `placeholder` only to hold its place: while its text is
/// exactly that, screen readers read the field as empty, with `description`. What the field
/// shows and what the program reads from it stay the same.
void SetFieldPlaceholder(std::int32_t field, const char* placeholder, const char* description);
/// Screen readers announce each text the program writes into the gadget, with the gadget's
/// name ("Calculated Monthly Payment 851.50"), as a notification once the program's current
/// step is done, so after a focus change that the same step makes.
void AnnounceGadgetWrites(std::int32_t number);
/// WriteGadgetText has written the gadget's text: announced if the program asked for it.
void GadgetTextWritten(std::int32_t number);

}  // namespace quentara
