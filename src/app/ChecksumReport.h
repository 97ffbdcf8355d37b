#pragma once

#include "checksum/ChecksumEngine.h"
#include "localization/StringLookup.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// What a range covers: "Selection, 0x00000010 to 0x0000001F", "Whole file, ..." or, for an
// empty file, "Whole file, empty". Offsets as the status bar shows them.
[[nodiscard]] std::u16string ChecksumRangeText(ChecksumRange range, bool selection,
                                               std::uint64_t documentSize,
                                               const StringLookup& lookup);

// "1 byte", "1,024 bytes".
[[nodiscard]] std::u16string ChecksumLengthText(std::uint64_t length, const StringLookup& lookup);

// Why an outcome has no values (unreadable bytes with their offset, an algorithm the system
// cannot compute, or stopped); empty for Done.
[[nodiscard]] std::u16string ChecksumFailureText(const ChecksumOutcome& outcome,
                                                 std::uint64_t documentSize,
                                                 const StringLookup& lookup);

// One "NAME  VALUE" line per value, each ended by `newline`.
[[nodiscard]] std::u16string ChecksumLines(const std::vector<ChecksumValue>& values,
                                           std::u16string_view newline);

// What the checksum dialog shows while its computation runs and after: the range and its
// length, the progress, then either every value or why there is none. A computation the
// user stopped shows no value even if it finished meanwhile.
class ChecksumDialogState {
public:
    enum class Phase { Running, Done, Stopped, Failed };

    ChecksumDialogState(ChecksumRange range, bool selection, std::uint64_t documentSize);

    void Progress(std::uint64_t done, std::uint64_t total);
    // The user asked to stop: whatever arrives after this shows as stopped.
    void RequestStop() { stopRequested_ = true; }
    void Finish(ChecksumOutcome outcome);

    [[nodiscard]] Phase CurrentPhase() const { return phase_; }
    [[nodiscard]] bool Running() const { return phase_ == Phase::Running; }
    [[nodiscard]] bool StopRequested() const { return stopRequested_; }
    [[nodiscard]] std::uint64_t Percent() const { return percent_; }
    [[nodiscard]] const ChecksumRange& Range() const { return range_; }

    [[nodiscard]] std::u16string RangeText(const StringLookup& lookup) const;
    [[nodiscard]] std::u16string LengthText(const StringLookup& lookup) const;
    [[nodiscard]] std::u16string StatusText(const StringLookup& lookup) const;
    // The lower-case hexadecimal value; empty unless Done.
    [[nodiscard]] std::u16string ValueText(DigestAlgorithm algorithm) const;
    // Every value as "NAME  VALUE" lines with CR LF ends, for the clipboard; empty unless Done.
    [[nodiscard]] std::u16string CopyAllText() const;
    [[nodiscard]] bool CanCopy() const { return phase_ == Phase::Done; }
    // The key of the text of the button that stops a running computation and closes the
    // dialog after it: Cancel while running, Close after.
    [[nodiscard]] std::string_view ButtonKey() const;

private:
    ChecksumRange range_;
    bool selection_ = false;
    std::uint64_t documentSize_ = 0;
    Phase phase_ = Phase::Running;
    bool stopRequested_ = false;
    std::uint64_t percent_ = 0;
    ChecksumOutcome outcome_;
};

} // namespace orx
