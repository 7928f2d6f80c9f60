#pragma once

#include <QImage>

namespace kaleno {

/// 70 × 70: a rounded wooden tile carrying a smiling 3 × 3 grid, on pure black.
QImage drawSuccessTile();

/// 250 × 250: a yellow-green planet crossed by a network of lines, ringed by red dotted orbits,
/// on a dark starry sky.
QImage drawSpaceScene();

/// 32 × 32: a yellow folder with a face, transparent around it.
QImage drawFolderIcon();

} // namespace kaleno
