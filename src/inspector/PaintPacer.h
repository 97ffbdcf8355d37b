#pragma once

namespace orx {

// When a window whose content changes faster than it can usefully be painted paints next.
// After a pause it paints at once; while changes keep coming, it waits after each paint
// three times as long as that paint took (and at least a frame), so that painting takes at
// most a quarter of the thread it shares with the input. Where painting is cheap this
// paints every change; where it is dear, held keys stay quick and the newest values still
// show within a few paint times of the last change.
class PaintPacer {
public:
    static constexpr double kFrameMs = 16.0;
    static constexpr double kWaitPerPaintMs = 3.0;

    // Milliseconds from `nowMs` until a change that arrives now may be painted; 0: at once.
    [[nodiscard]] double DelayMs(double nowMs) const;
    // A paint ran from `startMs` to `endMs`.
    void Painted(double startMs, double endMs);

private:
    double nextMs_ = 0.0; // earliest start of the next paint
};

} // namespace orx
