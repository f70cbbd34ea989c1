#pragma once
// Gadgets: the numbered controls inside form windows. A gadget's number is also its
// control identifier, so its notifications come back to the program as GadgetEvent with
// LastEventGadget() == number. Numbers run from 0 to 65535 (an identifier has 16 bits);
// texts are 8-bit (Latin-1) characters.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

// Style flags the program passes.
inline constexpr std::uint32_t SS_CENTER = 0x1;
inline constexpr std::uint32_t SS_RIGHT = 0x2;
inline constexpr std::uint32_t ES_CENTER = 0x1;
inline constexpr std::uint32_t ES_RIGHT = 0x2;
inline constexpr std::uint32_t ES_MULTILINE = 0x4;
inline constexpr std::uint32_t ES_READONLY = 0x800;
/// Gives a text gadget a sunken edge and takes it from a string gadget.
inline constexpr std::uint32_t GadgetEdgeFlag = 0x20000;
/// Extended style of a picture gadget: a sunken edge.
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x200;

/// Start-up: an empty gadget table of 30 slots and the default GUI font.
void InitGadgets();
/// Program end, once every window is closed: the gadget table is given back to the heap.
void EndGadgets();
/// Gadgets created from now on go into this window; returns windowHandle (0 = failure).
PlatformHandle SetGadgetParent(PlatformHandle windowHandle);
PlatformHandle CreateTextGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, const char* text,
                                std::uint32_t flags = 0);
PlatformHandle CreateStringGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, const char* text,
                                  std::uint32_t flags = 0);
PlatformHandle CreateButtonGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, const char* text);
PlatformHandle CreateFrameGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                 std::int32_t width, std::int32_t height, const char* text);
/// The gadget's text at the temporary area's end (result rule), at most 31999 characters;
/// empty for a gadget that does not exist (any more).
char* ReadGadgetText(std::int32_t number);
/// A one-line field notifies EN_UPDATE and EN_CHANGE, also for the text it already has; a
/// multi-line field, a label, a button or a frame notifies nothing. nullptr writes "".
void WriteGadgetText(std::int32_t number, const char* text);
/// The field losing the focus notifies first, the one gaining it second. An empty slot
/// takes the focus away from every control.
void FocusGadget(std::int32_t number);
enum class GadgetState : std::uint8_t { Enabled, Disabled };
/// A disabled gadget is greyed: it raises no event and Tab passes it by.
void SetGadgetDisabled(std::int32_t number, GadgetState state);
PlatformHandle GadgetHandle(std::int32_t number);
/// Gives the gadget the font (-1: the default GUI font); gadget number -1 sets the font
/// of gadgets created later instead.
void ApplyGadgetFont(std::int32_t number, PlatformHandle font);
/// Slots in the gadget table (for tests).
std::int32_t GadgetSlotCount();

}  // namespace quentara
