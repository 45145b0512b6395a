#include "FramePlacement.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;
constexpr int kLeftWidth = 275;
constexpr int kTreeHeight = 400;

int Scaled(int nPixels, double dScale)
{
    // Rounded up as the columns are, but a product that is whole save for rounding
    // (800 x 1.34) stays whole.
    return static_cast<int>(std::ceil(nPixels * std::max(dScale, 1.0) - 1e-6));
}
} // namespace

FramePlacement InitialPlacement(const QRect& available, double dScale, int nListNeeds)
{
    FramePlacement placement;
    const int w = std::min(available.width(), Scaled(kFrameWidth, dScale));
    const int h = std::min(available.height(), Scaled(kFrameHeight, dScale));
    placement.geometry = QRect(available.x() + (available.width() - w) / 2,
                               available.y() + (available.height() - h) / 2, w, h);
    placement.nLeftWidth =
        std::min(Scaled(kLeftWidth, dScale), std::max(kLeftWidth, w - nListNeeds));
    placement.nTreeHeight = Scaled(kTreeHeight, dScale);
    return placement;
}
