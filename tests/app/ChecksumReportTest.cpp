#include "app/ChecksumReport.h"

#include "app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

// English texts of the keys with placeholders; the others show as their bracketed keys.
std::u16string English(std::string_view key)
{
    // clang-format off
    static const KeyText kTexts[] = {
        {"dialog.checksum.range.selection", u"Selection, {first} to {last}"},
        {"dialog.checksum.range.whole", u"Whole file, {first} to {last}"},
        {"dialog.checksum.bytes", u"{count} bytes"},
        {"dialog.checksum.computing", u"Computing... {percent}%"},
        {"error.checksum_unreadable", u"Unreadable from {offset}."},
        {"error.checksum_unavailable", u"No {algorithm} here."},
    };
    // clang-format on
    return TextFrom(kTexts, key);
}

ChecksumOutcome DoneWith(std::vector<ChecksumValue> values)
{
    ChecksumOutcome outcome;
    outcome.values = std::move(values);
    return outcome;
}

TEST(ChecksumReport, RangeAndLengthTexts)
{
    EXPECT_EQ(ChecksumRangeText({0x10, 16}, true, 0x400, English),
              u"Selection, 0x00000010 to 0x0000001F");
    EXPECT_EQ(ChecksumRangeText({0, 1ull << 32}, false, 1ull << 32, English),
              u"Whole file, 0x0000000000000000 to 0x00000000FFFFFFFF");
    EXPECT_EQ(ChecksumRangeText({0, 0}, false, 0, English), u"[dialog.checksum.range.empty]");
    EXPECT_EQ(ChecksumLengthText(1, English), u"[dialog.checksum.byte]");
    EXPECT_EQ(ChecksumLengthText(0, English), u"0 bytes");
    EXPECT_EQ(ChecksumLengthText(1024, English), u"1,024 bytes");
    EXPECT_EQ(ChecksumLengthText(UINT64_MAX, English), u"18,446,744,073,709,551,615 bytes");
}

TEST(ChecksumReport, TheDialogShowsProgressThenValuesOrWhyThereAreNone)
{
    ChecksumDialogState state({0x10, 16}, true, 0x400);
    EXPECT_EQ(state.RangeText(English), u"Selection, 0x00000010 to 0x0000001F");
    EXPECT_EQ(state.LengthText(English), u"16 bytes");
    EXPECT_EQ(state.StatusText(English), u"Computing... 0%");
    EXPECT_EQ(state.ButtonKey(), "dialog.common.cancel");
    state.Progress(8, 16);
    EXPECT_EQ(state.StatusText(English), u"Computing... 50%");
    EXPECT_EQ(state.ValueText(DigestAlgorithm::Crc32), u"") << "no value while running";
    EXPECT_EQ(state.CopyAllText(), u"");
    EXPECT_FALSE(state.CanCopy());

    state.Finish(DoneWith({{DigestAlgorithm::Crc32, {0xde, 0xad, 0xbe, 0xef}},
                           {DigestAlgorithm::Sha1, {0x01, 0x02}}}));
    EXPECT_EQ(state.CurrentPhase(), ChecksumDialogState::Phase::Done);
    EXPECT_EQ(state.StatusText(English), u"[dialog.checksum.done]");
    EXPECT_EQ(state.ValueText(DigestAlgorithm::Crc32), u"deadbeef");
    EXPECT_EQ(state.ValueText(DigestAlgorithm::Sha1), u"0102");
    EXPECT_EQ(state.ValueText(DigestAlgorithm::Md5), u"");
    EXPECT_EQ(state.CopyAllText(), u"CRC-32  deadbeef\r\nSHA-1  0102\r\n");
    EXPECT_TRUE(state.CanCopy());
    EXPECT_EQ(state.ButtonKey(), "dialog.common.close");
    state.Progress(1, 2);
    EXPECT_EQ(state.Percent(), 100u) << "late progress changes nothing";
}

TEST(ChecksumReport, AStoppedOrFailedComputationShowsNoValue)
{
    ChecksumDialogState stopped({0, 100}, false, 100);
    stopped.Progress(50, 100);
    stopped.RequestStop();
    // Finished before it saw the request: still shown as stopped, without its values.
    stopped.Finish(DoneWith({{DigestAlgorithm::Crc32, {1, 2, 3, 4}}}));
    EXPECT_EQ(stopped.CurrentPhase(), ChecksumDialogState::Phase::Stopped);
    EXPECT_EQ(stopped.StatusText(English), u"[dialog.checksum.stopped]");
    EXPECT_EQ(stopped.ValueText(DigestAlgorithm::Crc32), u"");
    EXPECT_EQ(stopped.CopyAllText(), u"");
    EXPECT_EQ(stopped.ButtonKey(), "dialog.common.close");

    ChecksumDialogState failed({0, 100}, false, 100);
    ChecksumOutcome unreadable;
    unreadable.status = ChecksumStatus::Unreadable;
    unreadable.failedOffset = 60;
    failed.Finish(unreadable);
    EXPECT_EQ(failed.CurrentPhase(), ChecksumDialogState::Phase::Failed);
    EXPECT_EQ(failed.StatusText(English), u"Unreadable from 0x0000003C.");
    EXPECT_FALSE(failed.CanCopy());
    failed.Finish(DoneWith({{DigestAlgorithm::Crc32, {1, 2, 3, 4}}}));
    EXPECT_EQ(failed.CurrentPhase(), ChecksumDialogState::Phase::Failed) << "one outcome only";
}

} // namespace
} // namespace orx::test
