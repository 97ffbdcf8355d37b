#include "app/ChecksumReport.h"

#include "app/ProgressThrottle.h"
#include "app/StatusText.h"
#include "checksum/ChecksumNames.h"
#include "platform/Utf.h"
#include "text/HexFormat.h"

#include <string>

namespace orx {
std::u16string ChecksumRangeText(ChecksumRange range, bool selection, std::uint64_t documentSize,
                                 const StringLookup& lookup)
{
    if (range.length == 0) {
        return lookup("dialog.checksum.range.empty");
    }
    std::u16string text =
        lookup(selection ? "dialog.checksum.range.selection" : "dialog.checksum.range.whole");
    text = FillIn(std::move(text), u"first", FormatStatusOffset(range.offset, documentSize));
    return FillIn(std::move(text), u"last",
                  FormatStatusOffset(range.offset + range.length - 1, documentSize));
}

std::u16string ChecksumLengthText(std::uint64_t length, const StringLookup& lookup)
{
    if (length == 1) {
        return lookup("dialog.checksum.byte");
    }
    return FillIn(lookup("dialog.checksum.bytes"), u"count", GroupedDecimal(length));
}

std::u16string ChecksumFailureText(const ChecksumOutcome& outcome, std::uint64_t documentSize,
                                   const StringLookup& lookup)
{
    switch (outcome.status) {
    case ChecksumStatus::Done: return {};
    case ChecksumStatus::Stopped: return lookup("dialog.checksum.stopped");
    case ChecksumStatus::Unreadable:
        return FillIn(lookup("error.checksum_unreadable"), u"offset",
                      FormatStatusOffset(outcome.failedOffset, documentSize));
    case ChecksumStatus::Unavailable:
        return FillIn(lookup("error.checksum_unavailable"), u"algorithm",
                      platform::Widen(ChecksumName(outcome.failedAlgorithm)));
    }
    return {};
}

std::u16string ChecksumLines(const std::vector<ChecksumValue>& values, std::u16string_view newline)
{
    std::u16string text;
    for (const ChecksumValue& value : values) {
        text += platform::Widen(ChecksumLine(value.algorithm, value.bytes));
        text += newline;
    }
    return text;
}

ChecksumDialogState::ChecksumDialogState(ChecksumRange range, bool selection,
                                         std::uint64_t documentSize)
    : range_(range), selection_(selection), documentSize_(documentSize)
{}

void ChecksumDialogState::Progress(std::uint64_t done, std::uint64_t total)
{
    if (phase_ == Phase::Running) {
        percent_ = ProgressPercent(done, total);
    }
}

void ChecksumDialogState::Finish(ChecksumOutcome outcome)
{
    if (phase_ != Phase::Running) {
        return;
    }
    if (stopRequested_ || outcome.status == ChecksumStatus::Stopped) {
        outcome = ChecksumOutcome{};
        outcome.status = ChecksumStatus::Stopped;
    }
    outcome_ = std::move(outcome);
    switch (outcome_.status) {
    case ChecksumStatus::Done:
        phase_ = Phase::Done;
        percent_ = 100;
        break;
    case ChecksumStatus::Stopped: phase_ = Phase::Stopped; break;
    case ChecksumStatus::Unreadable:
    case ChecksumStatus::Unavailable: phase_ = Phase::Failed; break;
    }
}

std::u16string ChecksumDialogState::RangeText(const StringLookup& lookup) const
{
    return ChecksumRangeText(range_, selection_, documentSize_, lookup);
}

std::u16string ChecksumDialogState::LengthText(const StringLookup& lookup) const
{
    return ChecksumLengthText(range_.length, lookup);
}

std::u16string ChecksumDialogState::StatusText(const StringLookup& lookup) const
{
    switch (phase_) {
    case Phase::Running:
        return FillIn(lookup("dialog.checksum.computing"), u"percent",
                      platform::Widen(std::to_string(percent_)));
    case Phase::Done: return lookup("dialog.checksum.done");
    case Phase::Stopped:
    case Phase::Failed: return ChecksumFailureText(outcome_, documentSize_, lookup);
    }
    return {};
}

std::u16string ChecksumDialogState::ValueText(DigestAlgorithm algorithm) const
{
    if (phase_ != Phase::Done) {
        return {};
    }
    for (const ChecksumValue& value : outcome_.values) {
        if (value.algorithm == algorithm) {
            return platform::Widen(LowerHex(value.bytes));
        }
    }
    return {};
}

std::u16string ChecksumDialogState::CopyAllText() const
{
    return phase_ == Phase::Done ? ChecksumLines(outcome_.values, u"\r\n") : std::u16string();
}

std::string_view ChecksumDialogState::ButtonKey() const
{
    return phase_ == Phase::Running ? "dialog.common.cancel" : "dialog.common.close";
}

} // namespace orx
