#pragma once

#include "vector_picture.h"

namespace kaleno {

/// Asks folderIconPicture for the shapes as drawn, fitted to no raster.
constexpr int ScalableIcon = 0;

/// The program's icon as shapes on a 32 × 32 field: a yellow folder holding a sheet of paper,
/// with a face on its front. For a raster of `pixels` × `pixels`, edges and line widths are moved
/// onto that raster's pixels, and at 16 and 32 pixels the face is set pixel by pixel.
VectorPicture folderIconPicture(int pixels);

} // namespace kaleno
