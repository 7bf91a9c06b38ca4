// Decoding button glyphs: the program's own check mark and small hand-made bitmaps.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/error.h"
#include "ui/glyph.h"
#include "ui/resources.h"

namespace {

constexpr std::uint32_t kTransparent = 0;
constexpr std::uint32_t kBlack = 0xFF000000, kLime = 0xFF00FF00, kGrey = 0xFF808080, kWhite = 0xFFFFFFFF,
                        kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// A BMP with the given bit depth, palette and rows (top row first, one colour index or
// 0xRRGGBB per pixel), written bottom-up as usual unless topDown.
std::vector<std::uint8_t> bmp(int bits, const std::vector<std::uint32_t>& palette,
                              const std::vector<std::vector<std::uint32_t>>& rows, bool topDown = false) {
    int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    std::vector<std::uint8_t> out(54 + palette.size() * 4 + stride * height);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, static_cast<std::uint32_t>(54 + palette.size() * 4));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(topDown ? -height : height));
    out[26] = 1;
    out[28] = static_cast<std::uint8_t>(bits);
    put32(46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) put32(54 + 4 * i, palette[i]);
    std::size_t pixels = 54 + palette.size() * 4;
    for (int y = 0; y < height; ++y) {
        std::size_t row = pixels + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t v = rows[y][x];
            if (bits == 24) {
                out[row + 3 * x] = v & 0xFF;
                out[row + 3 * x + 1] = (v >> 8) & 0xFF;
                out[row + 3 * x + 2] = (v >> 16) & 0xFF;
            } else {
                std::size_t bit = static_cast<std::size_t>(x) * bits;
                out[row + bit / 8] |= static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
            }
        }
    }
    return out;
}

const std::vector<std::uint32_t> Palette = {0x000000, 0xFF0000, 0x0000FF, 0xFFFFFF};

struct DepthCase {
    int bits;
    bool topDown;
};

class GlyphDepth : public testing::TestWithParam<DepthCase> {};

TEST_P(GlyphDepth, PixelsInPlaceAndBottomLeftColourTransparent) {
    const DepthCase& c = GetParam();
    // 3 x 2, bottom-left is white (index 3): every white pixel becomes transparent.
    std::vector<std::vector<std::uint32_t>> rows = {{1, 2, 3}, {3, 0, 1}};
    std::vector<std::uint32_t> palette = Palette;
    if (c.bits == 24) {
        for (auto& row : rows)
            for (auto& v : row) v = Palette[v];
        palette.clear();
    }
    if (c.bits == 1) rows = {{1, 0, 1}, {0, 1, 1}};  // bottom-left black
    std::vector<ui::Image> images =
        ui::decodeGlyphs(bmp(c.bits, c.bits == 24 ? palette : Palette, rows, c.topDown), 1);
    ASSERT_EQ(images.size(), 1u);
    const ui::Image& image = images[0];
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    if (c.bits == 1) {
        EXPECT_EQ(image.pixels,
                  (std::vector<std::uint32_t>{kRed, kTransparent, kRed, kTransparent, kRed, kRed}));
    } else {
        EXPECT_EQ(image.pixels,
                  (std::vector<std::uint32_t>{kRed, kBlue, kTransparent, kTransparent, kBlack, kRed}));
    }
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, GlyphDepth,
                         testing::Values(DepthCase{1, false}, DepthCase{4, false}, DepthCase{8, false},
                                         DepthCase{24, false}, DepthCase{4, true}));

TEST(Glyph, SplitsSideBySideImagesAndUsesTheWholeBitmapsBottomLeftColour) {
    // two 2 x 2 images; bottom-left of the bitmap (white) is transparent in both
    std::vector<std::uint8_t> file = bmp(4, Palette, {{1, 3, 3, 2}, {3, 0, 0, 3}});
    std::vector<ui::Image> images = ui::decodeGlyphs(file, 2);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].pixels, (std::vector<std::uint32_t>{kRed, kTransparent, kTransparent, kBlack}));
    EXPECT_EQ(images[1].pixels, (std::vector<std::uint32_t>{kTransparent, kBlue, kBlack, kTransparent}));
}

struct BadGlyph {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int count;
};

class GlyphRefused : public testing::TestWithParam<BadGlyph> {};

TEST_P(GlyphRefused, WithTheLayersError) {
    EXPECT_THROW(ui::decodeGlyphs(GetParam().bytes, GetParam().count), ui::Error);
}

std::vector<std::uint8_t> good() { return bmp(4, Palette, {{1, 2}, {3, 0}}); }
std::vector<std::uint8_t> with(std::size_t at, std::uint8_t value) {
    auto b = good();
    b[at] = value;
    return b;
}
std::vector<std::uint8_t> cut(std::size_t size) {
    auto b = good();
    b.resize(size);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, GlyphRefused,
    testing::Values(BadGlyph{"Empty", {}, 1}, BadGlyph{"NotBmp", with(0, 'X'), 1},
                    BadGlyph{"Compressed", with(30, 2), 1}, BadGlyph{"Depth16", with(28, 16), 1},
                    BadGlyph{"ZeroWidth", with(18, 0), 1}, BadGlyph{"CoreHeader", with(14, 12), 1},
                    BadGlyph{"HeaderCut", cut(20), 1}, BadGlyph{"PixelsCut", cut(good().size() - 1), 1},
                    BadGlyph{"WidthNotDivisible", good(), 3}, BadGlyph{"NoImages", good(), 0},
                    BadGlyph{"IndexOutsidePalette", bmp(4, {0, 0}, {{5, 0}}), 1}),
    [](const testing::TestParamInfo<BadGlyph>& info) { return info.param.name; });

TEST(ProgramGlyph, GreenCheckWithBlackShadowThenGreyWithWhite) {
    std::vector<ui::Image> images = ui::decodeGlyphs(ui::findResource("Check.bmp"), 2);
    ASSERT_EQ(images.size(), 2u);
    auto count = [](const ui::Image& image, std::uint32_t colour) {
        return std::count(image.pixels.begin(), image.pixels.end(), colour);
    };
    for (const ui::Image& image : images) {
        EXPECT_EQ(image.width, 16);
        EXPECT_EQ(image.height, 16);
        EXPECT_EQ(image.at(0, 15), kTransparent);
        EXPECT_EQ(image.at(0, 0), kTransparent);
    }
    EXPECT_GT(count(images[0], kLime), 20);
    EXPECT_GT(count(images[0], kBlack), 5);
    EXPECT_EQ(count(images[0], kGrey) + count(images[0], kWhite), 0);
    EXPECT_EQ(count(images[1], kGrey), count(images[0], kLime)) << "the same mark";
    EXPECT_GT(count(images[1], kWhite), 5);
    EXPECT_EQ(count(images[1], kLime) + count(images[1], kBlack), 0);
    EXPECT_EQ(count(images[0], kTransparent) + count(images[0], kLime) + count(images[0], kBlack), 256);
}

}  // namespace
