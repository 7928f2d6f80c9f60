#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace kaleno {

/// Pixels with an alpha below this count as transparent wherever only one bit of it survives.
constexpr int OpaqueAlpha = 128;

constexpr int PaletteSize = 256;

/// A picture as indices into a palette of at most 256 colours.
struct IndexedPicture
{
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette; ///< opaque colours, at most PaletteSize of them
    std::vector<std::uint8_t> indices; ///< row by row, top row first
    std::vector<bool> transparent; ///< same layout as indices

    std::uint8_t index(int x, int y) const { return indices[static_cast<size_t>(y * width + x)]; }
    bool isTransparent(int x, int y) const
    {
        return transparent[static_cast<size_t>(y * width + x)];
    }
};

/// Median cut: the opaque pixels' colours are split into boxes, always cutting the box with the
/// largest squared error at the weighted median of its widest channel, and each pixel takes the
/// nearest box average. Transparent pixels all take index 0, which is then reserved for pure
/// black: an icon's mask only hides a pixel whose own colour is black.
IndexedPicture reduceColours(const QImage &image);

} // namespace kaleno
