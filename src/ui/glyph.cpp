#include "ui/glyph.h"

#include <string>

#include "ui/error.h"

namespace ui {

namespace {

// Windows bitmap file layout.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoHeaderMinSize = 40;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kBitCountAt = 28;
constexpr std::size_t kCompressionAt = 30;
constexpr std::size_t kColorsUsedAt = 46;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kOpaque = 0xFF000000;

[[noreturn]] void fail(const std::string& why) { throw Error("Картинка кнопки: " + why); }

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16 |
               static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
    }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    std::uint8_t u8(std::size_t at) const {
        need(at, 1);
        return bytes_[at];
    }
    void need(std::size_t at, std::size_t n) const {
        if (at > bytes_.size() || bytes_.size() - at < n) fail("файл обрезан");
    }

private:
    std::span<const std::uint8_t> bytes_;
};

Image decodeBitmap(std::span<const std::uint8_t> bmp) {
    Reader in(bmp);
    if (bmp.size() < 2 || bmp[0] != 'B' || bmp[1] != 'M') fail("не BMP");
    std::uint32_t infoSize = in.u32(kFileHeaderSize);
    if (infoSize < kInfoHeaderMinSize) fail("неподдерживаемый заголовок BMP");
    auto width = static_cast<std::int32_t>(in.u32(kWidthAt));
    auto height = static_cast<std::int32_t>(in.u32(kHeightAt));
    unsigned bits = in.u16(kBitCountAt);
    if (in.u32(kCompressionAt) != kUncompressed) fail("сжатые BMP не поддерживаются");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) fail("неподдерживаемая глубина цвета");
    bool bottomUp = height > 0;
    if (!bottomUp) height = -height;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) fail("неверный размер");

    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        std::uint32_t count = in.u32(kColorsUsedAt);
        if (count == 0 || count > (1u << bits)) count = 1u << bits;
        std::size_t at = kFileHeaderSize + infoSize;
        for (std::uint32_t i = 0; i < count; ++i, at += 4)
            palette.push_back(kOpaque | in.u8(at + 2) << 16 | in.u8(at + 1) << 8 | in.u8(at));
    }

    Image image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    std::size_t pixels = in.u32(kPixelOffsetAt);
    in.need(pixels, stride * height);
    for (int y = 0; y < height; ++y) {
        std::size_t row = pixels + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour;
            if (bits == 24) {
                std::size_t at = row + static_cast<std::size_t>(x) * 3;
                colour = kOpaque | in.u8(at + 2) << 16 | in.u8(at + 1) << 8 | in.u8(at);
            } else {
                std::size_t bit = static_cast<std::size_t>(x) * bits;
                unsigned shift = 8 - bits - bit % 8;
                unsigned index = (in.u8(row + bit / 8) >> shift) & ((1u << bits) - 1);
                if (index >= palette.size()) fail("индекс вне палитры");
                colour = palette[index];
            }
            image.pixels[static_cast<std::size_t>(y) * width + x] = colour;
        }
    }
    return image;
}

}  // namespace

std::vector<Image> decodeGlyphs(std::span<const std::uint8_t> bmp, int count) {
    if (count < 1) fail("число картинок должно быть не меньше 1");
    Image whole = decodeBitmap(bmp);
    if (whole.width % count != 0) fail("ширина не делится на число картинок");
    std::uint32_t transparent = whole.at(0, whole.height - 1);
    int width = whole.width / count;
    std::vector<Image> images;
    for (int i = 0; i < count; ++i) {
        Image image{width, whole.height, {}};
        for (int y = 0; y < whole.height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint32_t colour = whole.at(i * width + x, y);
                image.pixels.push_back(colour == transparent ? 0u : colour);
            }
        images.push_back(std::move(image));
    }
    return images;
}

}  // namespace ui
