#pragma once
// How the calculator's logic tells the person something. Start-up connects it to the
// window layer's message box; until then (and in tests) a notice goes to standard error.

#include <cstdint>

namespace quentara {

using MessageBoxFunction = std::int32_t (*)(const char* title, const char* text,
                                            std::uint32_t flags);

void SetMessageBoxFunction(MessageBoxFunction show);
/// Shows a modal notice with one OK button (flags 0) and returns the button pressed.
std::int32_t ShowMessage(const char* title, const char* text, std::uint32_t flags = 0);

}  // namespace quentara
