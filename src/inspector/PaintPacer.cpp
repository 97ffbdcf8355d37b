#include "inspector/PaintPacer.h"

#include <algorithm>

namespace orx {

double PaintPacer::DelayMs(double nowMs) const
{
    return std::max(0.0, nextMs_ - nowMs);
}

void PaintPacer::Painted(double startMs, double endMs)
{
    nextMs_ = endMs + std::max(kFrameMs, kWaitPerPaintMs * (endMs - startMs));
}

} // namespace orx
