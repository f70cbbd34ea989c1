#pragma once
// The picture of the main form: a complete 24-bit bitmap file of 140 x 263 pixels.

#include <cstddef>

namespace quentara {

extern const unsigned char embeddedPicture[];
extern const std::size_t embeddedPictureSize;

}  // namespace quentara
