#include "worker/PaintPacer.h"

#include <algorithm>

namespace orx {

double PaintPacer::DelayMs(double nowMs) const
{
    return std::max(0.0, nextMs_ - nowMs);
}

void PaintPacer::Painted(double startMs, double endMs)
{
    nextMs_ = endMs + std::clamp(kWaitPerPaint * (endMs - startMs), kFrameMs, kLongestWaitMs);
}

} // namespace orx
