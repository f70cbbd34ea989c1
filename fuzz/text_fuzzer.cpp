// Feeds arbitrary bytes to everything that reads typed text or writes into the temporary
// text area: the number readers, the string operations, fixed-point formatting and date
// masks. The first bytes choose the numeric arguments and where in the area the argument
// is placed; the rest is the text. After each operation the area's end must still lie in
// the area on a terminator, and nothing may have been written past the area (the address
// sanitizer watches that).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dates/dates.h"
#include "text/number_format.h"
#include "text/single_precision.h"
#include "text/string_ops.h"
#include "text/text_area.h"

namespace {

using namespace quentara;

// Takes the next four bytes (or what is left) as a signed 32-bit argument.
class Arguments {
 public:
  Arguments(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::int32_t Next() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && used_ < size_; ++i) value = value << 8 | data_[used_++];
    return static_cast<std::int32_t>(value);
  }
  std::size_t Used() const { return used_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

void CheckAreaAndReset(const char* result) {
  char* end = TextAreaEnd();
  if (end < TextAreaStart() || end >= TextAreaLimit() || *end != '\0') std::abort();
  if (result < TextAreaStart() || result > end) std::abort();
  SetTextAreaEnd(TextAreaStart());
}

// Puts the text into the area at `offset` (cut where the area ends) the way an argument
// built there is kept whole, and returns where it starts.
char* PlaceInArea(const std::string& text, std::int32_t offset) {
  char* at = TextAreaStart() + static_cast<std::uint32_t>(offset) % textAreaSize;
  SetTextAreaEnd(at);
  char* placed = AppendText(text.c_str());
  SkipTextAreaTerminator();
  return placed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Arguments arguments(data, size);
  std::int32_t first = arguments.Next();
  std::int32_t second = arguments.Next();
  std::int32_t offset = arguments.Next();
  // The text ends at its first zero byte, as every text of the program does.
  std::string text(reinterpret_cast<const char*>(data) + arguments.Used(), size - arguments.Used());
  text.resize(std::strlen(text.c_str()));
  SetTextAreaEnd(TextAreaStart());

  float number = ParseFloat(text.c_str());
  std::int32_t integer = ParseInteger(text.c_str());
  // Large decimal counts are slow to pad; most runs ask for a handful.
  std::int32_t decimals = (first & 0x100) != 0 ? first : first % 40;
  CheckAreaAndReset(FormatFixed(number, decimals));
  CheckAreaAndReset(FormatFixed(static_cast<float>(integer), -1));
  CheckAreaAndReset(FormatInteger(integer));
  Power(number, static_cast<float>(second));
  Modulo(integer, second);
  Modulo(first, integer);

  // Each operation twice: with the text held elsewhere, and built in the area at the very
  // place its result goes.
  for (bool inPlace : {false, true}) {
    auto argument = [&]() -> const char* {
      return inPlace ? PlaceInArea(text, offset) : text.c_str();
    };
    auto resultAt = [&](const char* placed) {
      return inPlace ? const_cast<char*>(placed) : TextAreaEnd();
    };
    const char* placed = argument();
    char* result = Substring(placed, first, second, resultAt(placed));
    if (std::strlen(result) > text.size()) std::abort();
    CheckAreaAndReset(result);

    placed = argument();
    CheckAreaAndReset(TrimSpaces(placed, resultAt(placed)));

    placed = argument();
    result = RightAlign(placed, second, resultAt(placed));
    std::size_t fits = TextAreaRoom(result) - 1;
    std::size_t expected = second <= 0 ? 0 : std::min<std::size_t>(second, fits);
    if (std::strlen(result) != expected) std::abort();
    CheckAreaAndReset(result);

    placed = argument();
    CheckAreaAndReset(FormatDateMask(placed, first, resultAt(placed)));
  }
  return 0;
}
