#pragma once

namespace orx {

// When a window whose content changes faster than it can usefully be painted paints next.
// After a pause it paints at once; while changes keep coming, it waits after each paint six
// times as long as that paint took (at least a frame, at most half a second), so that
// painting takes at most a seventh of the thread it shares with the input, and the two side
// windows together less than a third. Where painting is cheap this paints every change;
// where it is dear (under Wine a paint of text can take 50 ms), held keys stay quick and
// the newest values still show within a few paint times of the last change.
class PaintPacer {
public:
    static constexpr double kFrameMs = 16.0;
    static constexpr double kWaitPerPaint = 6.0;
    // A paint that had to load fonts or make a device does not hold the next one long.
    static constexpr double kLongestWaitMs = 500.0;

    // Milliseconds from `nowMs` until a change that arrives now may be painted; 0: at once.
    [[nodiscard]] double DelayMs(double nowMs) const;
    // A paint ran from `startMs` to `endMs`.
    void Painted(double startMs, double endMs);

private:
    double nextMs_ = 0.0; // earliest start of the next paint
};

} // namespace orx
