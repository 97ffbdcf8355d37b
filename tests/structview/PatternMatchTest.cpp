// The pattern library: which patterns match a file's first and last bytes, in which order
// and at which offset; and what a scan of pattern folders lists.
#include "platform/Utf.h"
#include "structview/PatternLibrary.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orx {
namespace {

using platform::Narrow;

PatternSignature Signature(std::uint64_t offset, std::vector<std::int16_t> bytes,
                           bool fromEnd = false)
{
    return PatternSignature{fromEnd, offset, std::move(bytes)};
}

LibraryPattern Pattern(std::u16string name, std::vector<PatternSignature> signatures,
                       std::vector<std::u16string> extensions = {}, bool anchored = false)
{
    LibraryPattern pattern;
    pattern.fileName = std::move(name);
    pattern.signatures = std::move(signatures);
    pattern.extensions = std::move(extensions);
    pattern.hasAnchor = anchored;
    pattern.anchor = anchored ? 0x40 : 0;
    return pattern;
}

TEST(PatternMatch, LongestSignatureFirstThenExtensionThenLibraryOrder)
{
    constexpr std::int16_t kAny = PatternSignature::kAnyByte;
    PatternLibrary library;
    library.patterns = {
        Pattern(u"riff.orpat", {Signature(0, {'R', 'I', 'F', 'F'})}),
        Pattern(u"wave.orpat", {Signature(0, {'R', 'I', 'F', 'F', kAny, kAny, kAny, kAny, 'W'})}),
        Pattern(u"other.orpat", {Signature(0, {'R', 'I', 'F', 'F'})}, {u"wav"}),
        Pattern(u"end.orpat", {Signature(3, {'E', 'N', 'D'}, true)}),
        Pattern(u"anchored.orpat", {Signature(2, {'Z'}), Signature(1, {'I', 'F'})}, {}, true),
        Pattern(u"beyond.orpat", {Signature(20, {0})}),
        Pattern(u"broken.orpat", {}),
    };
    library.patterns.back().error = u"Line 1, Col 1: ...";
    const std::vector<std::uint8_t> head = {'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'E', 'N', 'D'};
    // clang-format off
    struct Case { std::uint64_t size; std::vector<std::uint8_t> tail; std::u16string extension; std::string matches; };
    const Case cases[] = {
        // The end signature sits at size - 3 and applies there; the anchored one at its anchor.
        {12, {head.begin(), head.end()}, u"WAV", "wave@0 other@0 riff@0 end@9 anchored@64 "},
        {12, {head.begin(), head.end()}, u"", "wave@0 riff@0 other@0 end@9 anchored@64 "},
        // A tail from a larger file: the end signature is looked for only there.
        {100000, {'x', 'E', 'N', 'D'}, u"", "wave@0 riff@0 other@0 end@99997 anchored@64 "},
        {100000, {'N', 'D'}, u"", "wave@0 riff@0 other@0 anchored@64 "},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::string got;
        for (const PatternMatch& match :
             MatchPatterns(library, FileSample{c.size, head, c.tail, c.extension})) {
            const std::u16string& name = library.patterns[match.pattern].fileName;
            got +=
                Narrow(name.substr(0, name.find(u'.'))) + "@" + std::to_string(match.offset) + " ";
        }
        EXPECT_EQ(got, c.matches) << c.size << " " << Narrow(c.extension);
    }
    EXPECT_TRUE(MatchPatterns(library, FileSample{2, {head.data(), 2}, {head.data(), 2}, {}})
                    .empty()); // shorter than every signature
}

TEST(PatternMatch, ScanListsBrokenFilesAndLetsALaterFolderReplaceAPattern)
{
    const test::TempDir shipped;
    const test::TempDir user;
    shipped.Write(u"a.orpat", "@title \"A\" @category data\n@signature 0 41\nstruct A { int a; };");
    shipped.Write(u"b.orpat", "@title \"Shipped B\"\nstruct B { int b; };");
    shipped.Write(u"notes.txt", "not a pattern");
    user.Write(u"b.orpat", "@title \"My B\"\n@anchor 8\nstruct B { int b; };");
    user.Write(u"c.orpat", "struct C { int c };");
    const std::vector<std::u16string> folders = {shipped.Path(u""), user.Path(u""),
                                                 user.Path(u"missing")};
    const PatternLibrary library = ScanPatternFolders(folders);
    ASSERT_EQ(library.patterns.size(), 3u);
    EXPECT_EQ(library.patterns[0].title, u"A");
    EXPECT_EQ(library.patterns[0].category, u"data");
    EXPECT_EQ(library.patterns[0].signatures.size(), 1u);
    EXPECT_EQ(library.headBytes, 1u); // what the signatures look at, no more
    EXPECT_EQ(library.tailBytes, 0u);
    EXPECT_EQ(library.patterns[1].title, u"My B");
    EXPECT_TRUE(library.patterns[1].hasAnchor);
    EXPECT_EQ(library.patterns[2].fileName, u"c.orpat");
    EXPECT_EQ(library.patterns[2].title, u"c.orpat");
    EXPECT_TRUE(library.patterns[2].error.starts_with(u"Line 1, Col 12: ")) // listed, not lost
        << Narrow(library.patterns[2].error);
}

TEST(PatternMatch, SampleReadsAtMostTheBoundFromEachEnd)
{
    const test::TempDir dir;
    std::vector<std::uint8_t> bytes(3 * kPatternSampleBytes);
    bytes.front() = 1;
    bytes.back() = 2;
    FileSampleBuffer sample;
    ASSERT_TRUE(ReadFileSample(platform::SystemFileSystem(), dir.Write(u"big.Bin", bytes), sample));
    EXPECT_EQ(sample.size, bytes.size());
    EXPECT_EQ(sample.head.size(), kPatternSampleBytes);
    EXPECT_EQ(sample.tail.size(), kPatternSampleBytes);
    EXPECT_EQ(sample.head.front(), 1);
    EXPECT_EQ(sample.tail.back(), 2);
    EXPECT_EQ(sample.extension, u"Bin");
    EXPECT_FALSE(ReadFileSample(platform::SystemFileSystem(), dir.Path(u"none"), sample));
    // Only what a library needs; a file the head holds whole gives its tail from there.
    for (const auto& [size, head, tail] : {std::tuple{10u, "0123", "89"}, {3u, "012", "12"}}) {
        const std::string text = std::string("0123456789").substr(0, size);
        ASSERT_TRUE(
            ReadFileSample(platform::SystemFileSystem(), dir.Write(u"s", text), sample, 4, 2));
        EXPECT_EQ(std::string(sample.head.begin(), sample.head.end()), head);
        EXPECT_EQ(std::string(sample.tail.begin(), sample.tail.end()), tail);
    }
}

} // namespace
} // namespace orx
