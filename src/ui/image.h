// An RGBA picture handed to the backends.
#pragma once

#include <cstdint>
#include <vector>

namespace ui {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first, left to right

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool empty() const { return pixels.empty(); }
};

}  // namespace ui
