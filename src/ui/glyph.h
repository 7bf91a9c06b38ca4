// A bitmap button's glyph: an uncompressed BMP (1, 4 or 8 bits with a palette, or 24 bits)
// holding `count` square-ish images side by side. The colour of the bitmap's bottom-left
// pixel is transparent in every image.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ui/image.h"

namespace ui {

// Splits the bitmap into `count` images of equal width; throws ui::Error when it is not a
// BMP this decoder reads.
std::vector<Image> decodeGlyphs(std::span<const std::uint8_t> bmp, int count);

}  // namespace ui
