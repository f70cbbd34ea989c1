#pragma once
// What screen readers learn of the program's windows: a form window is a frame named by its
// title, a label is a label with its text, and the program says which label names which
// control and what a picture shows, since neither can be told from the screen alone.

#include <cstdint>

namespace quentara {

/// Start-up (InitWindows): form windows present themselves as frames named by their title,
/// pictures as images and group frames as panels.
void InstallAccessibility();
/// Label gadget `label` names gadget `gadget` for screen readers: the gadget takes the
/// label's text without a trailing colon as its name ("Loan Amount (Dollars):" names its
/// field "Loan Amount (Dollars)"), and each is related to the other (label for, labelled
/// by). Does nothing when either gadget does not exist or `label` is no label.
void RelateLabelToGadget(std::int32_t label, std::int32_t gadget);
/// The name screen readers give the gadget, for one that shows no text (a picture).
void NameGadget(std::int32_t number, const char* name);

}  // namespace quentara
