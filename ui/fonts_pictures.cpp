// Numbered fonts made from a face name and a point size, and numbered pictures built from
// bitmap and icon files held in memory.
#include "ui/fonts_pictures.h"

#include <QApplication>
#include <QByteArray>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "text/object_tables.h"
#include "ui/qt/gadget_fonts.h"
#include "ui/qt/handle_registry.h"
#include "ui/qt/qt_colors.h"

namespace quentara {

namespace {

constexpr std::int32_t fontTableStep = 10;
constexpr std::int32_t pictureTableStep = 10;
constexpr std::int32_t guiFontPoints = 8;
// A font larger than this many pixels is made at this size.
constexpr std::int32_t largestPixelHeight = 16384;
// Pictures keep their size in 16-bit fields; and a picture may hold at most 2^24 pixels
// (64 MB), so that a damaged header cannot make the layer ask for gigabytes.
constexpr std::int64_t largestPictureSide = 32767;
constexpr std::int64_t largestPictureArea = std::int64_t{1} << 24;
constexpr std::size_t bitmapFileHeaderSize = 14;
constexpr std::size_t iconDirectorySize = 6;
constexpr std::size_t iconEntrySize = 16;
constexpr Color invalidColor = 0xFFFFFFFFu;

struct PictureSlot {
  PlatformHandle handle = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t depth = 0;
};

ObjectTable<PlatformHandle>& FontTable() {
  static ObjectTable<PlatformHandle>& table = MakeObjectTable<PlatformHandle>();
  return table;
}

ObjectTable<PictureSlot>& PictureTable() {
  static ObjectTable<PictureSlot>& table = MakeObjectTable<PictureSlot>();
  return table;
}

// MulDiv: a * b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the result
// does not fit 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  if (2 * std::llabs(remainder) >= std::llabs(std::int64_t{c})) {
    quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  }
  if (quotient > std::numeric_limits<std::int32_t>::max() ||
      quotient < std::numeric_limits<std::int32_t>::min()) {
    return -1;
  }
  return static_cast<std::int32_t>(quotient);
}

std::int32_t LogicalDpiY() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 96;
  return static_cast<std::int32_t>(std::lround(screen->logicalDotsPerInchY()));
}

std::uint32_t ReadU16(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8);
}

std::uint32_t ReadU32(const unsigned char* bytes) {
  return ReadU16(bytes) | (ReadU16(bytes + 2) << 16);
}

std::int32_t ReadI32(const unsigned char* bytes) {
  return static_cast<std::int32_t>(ReadU32(bytes));
}

void FreePicture(PictureSlot& slot) {
  Handles().pictures.Remove(slot.handle);
  slot = PictureSlot{};
}

PlatformHandle StorePicture(std::int32_t number, const QImage& image) {
  const QPixmap pixmap = QPixmap::fromImage(image);
  if (pixmap.isNull()) return 0;
  const PlatformHandle handle = Handles().pictures.Add(PictureRecord{pixmap});
  if (handle == 0) return 0;
  PictureTable()[static_cast<std::size_t>(number)] =
      PictureSlot{handle, pixmap.width(), pixmap.height(), pixmap.depth()};
  return handle;
}

bool SensibleSize(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= largestPictureSide && height <= largestPictureSide &&
         width * height <= largestPictureArea;
}

QImage DecodeImage(const unsigned char* data, std::size_t size, const char* format) {
  QImage image;
  if (size <= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    image.loadFromData(data, static_cast<int>(size), format);
  }
  return image;
}

// A bitmap file image: the picture gets the size its header states and the screen's pixel
// format; pixels that cannot be converted leave it black, so a damaged picture still has its size.
PlatformHandle LoadBitmapFile(std::int32_t number, const unsigned char* data, std::size_t size) {
  GrowObjectTable(PictureTable(), number, pictureTableStep);
  FreePicture(PictureTable()[static_cast<std::size_t>(number)]);
  constexpr std::size_t sizeFields = bitmapFileHeaderSize + 12;
  if (size < sizeFields) return 0;
  const std::int64_t width = std::llabs(std::int64_t{ReadI32(data + bitmapFileHeaderSize + 4)});
  const std::int64_t height = std::llabs(std::int64_t{ReadI32(data + bitmapFileHeaderSize + 8)});
  if (!SensibleSize(width, height)) return 0;
  QImage image = DecodeImage(data, size, "BMP");
  if (image.isNull() || image.width() != width || image.height() != height) {
    image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    image.fill(Qt::black);
  }
  return StorePicture(number, image);
}

// An icon directory: the first image, in whatever format Qt's icon reader takes (a bitmap
// with its mask, or PNG).
PlatformHandle LoadIconFile(std::int32_t number, const unsigned char* data, std::size_t size) {
  if (size < iconDirectorySize + iconEntrySize || ReadU16(data + 4) == 0) return 0;
  const unsigned char* entry = data + iconDirectorySize;
  const std::size_t imageSize = ReadU32(entry + 8);
  const std::size_t imageOffset = ReadU32(entry + 12);
  if (imageSize == 0 || imageOffset > size || imageSize > size - imageOffset) return 0;
  // A directory of this one image, so that the reader cannot wander off to the others.
  QByteArray file;
  const unsigned char header[iconDirectorySize] = {0, 0, 1, 0, 1, 0};
  file.append(reinterpret_cast<const char*>(header), iconDirectorySize);
  file.append(reinterpret_cast<const char*>(entry), 12);
  const std::uint32_t newOffset = iconDirectorySize + iconEntrySize;
  const unsigned char offsetBytes[4] = {static_cast<unsigned char>(newOffset & 0xFF), 0, 0, 0};
  file.append(reinterpret_cast<const char*>(offsetBytes), 4);
  file.append(reinterpret_cast<const char*>(data + imageOffset), static_cast<qsizetype>(imageSize));
  QImage image = QImage::fromData(file, "ICO");
  if (image.isNull()) image = DecodeImage(data + imageOffset, imageSize, "PNG");
  if (image.isNull() || !SensibleSize(image.width(), image.height())) return 0;
  GrowObjectTable(PictureTable(), number, pictureTableStep);
  FreePicture(PictureTable()[static_cast<std::size_t>(number)]);
  return StorePicture(number, image);
}

}  // namespace

void InitFonts() {
  FontTable().assign(fontTableStep, 0);
}

void EndFonts() {
  FontTable().clear();
  FontTable().shrink_to_fit();
}

std::int32_t FontPixelHeight(std::int32_t size) {
  return MulDiv(size, LogicalDpiY(), 72);
}

PlatformHandle CreateFontByName(std::int32_t number, const char* faceName, std::int32_t size,
                                std::uint32_t flags) {
  if (!IsObjectNumber(number)) return 0;
  GrowObjectTable(FontTable(), number, fontTableStep);
  PlatformHandle& slot = FontTable()[static_cast<std::size_t>(number)];
  // Gadgets using the old font keep their own copy of it.
  Handles().fonts.Remove(slot);
  slot = 0;

  // A face the system lacks is not an error. Its stand-in is Arial (on Linux the
  // metric-compatible Liberation Sans) rather than the desktop's default face, which is
  // wider: labels sized for the faces we ask for keep their text on one line.
  const QString face = QString::fromLatin1(faceName != nullptr ? faceName : "");
  QFont font(QFontDatabase::hasFamily(face) ? face : QStringLiteral("Arial"));
  // A negative height is the character height and a positive one (from a negative size)
  // the cell height, as font requests by size give them; Qt knows only the first, so both become
  // the pixel size. Height 0 keeps the default size.
  const std::int32_t height = FontPixelHeight(size);
  if (height != 0) {
    const std::int64_t pixels =
        std::min<std::int64_t>(std::llabs(std::int64_t{height}), largestPixelHeight);
    font.setPixelSize(static_cast<int>(pixels));
  }
  font.setWeight((flags & FontBold) != 0 ? QFont::Bold : QFont::Normal);
  font.setItalic((flags & FontItalic) != 0);
  font.setUnderline((flags & FontUnderline) != 0);
  font.setStrikeOut((flags & FontStrikeOut) != 0);
  if ((flags & FontProofQuality) != 0) font.setStyleStrategy(QFont::PreferQuality);
  slot = Handles().fonts.Add(font);
  return slot;
}

FontFacts FontFactsOf(PlatformHandle handle) {
  FontFacts facts;
  const QFont* font = Handles().fonts.Find(handle);
  if (font == nullptr) return facts;
  facts.pixelHeight = font->pixelSize();
  facts.weight = static_cast<std::int32_t>(font->weight());
  facts.italic = font->italic();
  facts.underline = font->underline();
  facts.strikeOut = font->strikeOut();
  facts.proofQuality = (font->styleStrategy() & QFont::PreferQuality) != 0;
  return facts;
}

std::int32_t FontSlotCount() {
  return static_cast<std::int32_t>(FontTable().size());
}

PlatformHandle PlatformGuiFont() {
  static PlatformHandle handle = 0;
  if (handle == 0) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(FontPixelHeight(guiFontPoints));
    handle = Handles().fonts.Add(font);
  }
  return handle;
}

QFont GadgetFont(PlatformHandle handle) {
  if (handle == static_cast<PlatformHandle>(-1)) handle = PlatformGuiFont();
  if (const QFont* font = Handles().fonts.Find(handle)) return *font;
  // A handle that names no font: the gadget draws in the system font.
  return QApplication::font();
}

void InitPictureDecoders() {
  // The layer knows bitmap files and icon directories itself; no further decoders are
  // ever registered, so there is no list to empty.
}

void InitPictures() {
  PictureTable().assign(pictureTableStep, PictureSlot{});
}

void EndPictures() {
  PictureTable().clear();
  PictureTable().shrink_to_fit();
}

PlatformHandle LoadPictureFromMemory(std::int32_t number, const unsigned char* data,
                                     std::size_t size) {
  if (data == nullptr || !IsObjectNumber(number)) return 0;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return LoadBitmapFile(number, data, size);
  if (size >= 4 && ReadU16(data) == 0 && ReadU16(data + 2) == 1)
    return LoadIconFile(number, data, size);
  return 0;
}

PlatformHandle PictureHandle(std::int32_t number) {
  PictureSlot* slot = FindSlot(PictureTable(), number);
  return slot != nullptr ? slot->handle : 0;
}

PictureFacts PictureFactsOf(std::int32_t number) {
  PictureSlot* slot = FindSlot(PictureTable(), number);
  if (slot == nullptr) return PictureFacts{};
  return PictureFacts{slot->width, slot->height, slot->depth};
}

Color PicturePixel(std::int32_t number, std::int32_t x, std::int32_t y) {
  const PictureRecord* picture = Handles().pictures.Find(PictureHandle(number));
  if (picture == nullptr) return invalidColor;
  const QImage image = picture->pixmap.toImage();
  if (!image.valid(x, y)) return invalidColor;
  return ToColor(image.pixelColor(x, y));
}

std::int32_t PictureSlotCount() {
  return static_cast<std::int32_t>(PictureTable().size());
}

}  // namespace quentara
