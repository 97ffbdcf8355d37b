// The first patterns shipped in patterns/ laid over a small but real sample of its format: the
// entry size and a few fields, the late ones by offset too, so a field of the wrong size
// or a missing one shows.
#include "PatternTestSupport.h"
#include "platform/Utf.h"
#include "structview/StructRows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

namespace orx {
namespace {

using platform::Narrow;
using test::ByteWriter;

constexpr StructValueOptions kDec{0, 0, 1};
constexpr StructValueOptions kHex{0, 0, 0};
constexpr StructValueOptions kAsciiDec{1, 0, 1};

struct Field {
    std::string row; // as the view names it, indented under its parent
    std::string value;
    std::string offset; // empty: not checked
};

// clang-format off
struct Sample { std::u16string pattern; std::function<void(ByteWriter&)> write; StructValueOptions options;
    std::uint64_t baseOffset; std::uint64_t entrySize; std::vector<Field> fields; };
// clang-format on

// clang-format off
const Sample kSamples[] = {
    {u"bmp.orpat", [](ByteWriter& w) {
         w.Text("BM").Le32(70).Le16(0).Le16(0).Le32(54).Le32(40).Le32(2).Le32(0xFFFFFFFE);
         w.Le16(1).Le16(24).Le32(0).Le32(16).Le32(2835).Le32(2835).Le32(0).Le32(0).Zeros(16); }, kAsciiDec, 0, 54,
     {{"  signature", "\"BM\"", "0x0"}, {"  pixelDataOffset", "54", ""}, {"info : BitmapInfoHeader", "", "0xE"},
      {"  height", "4294967294", ""}, {"  xPixelsPerMeter", "2835", "0x26"}}}, // height: top-down, shown unsigned
    {u"wav.orpat", [](ByteWriter& w) {
         w.Text("RIFF").Le32(44).Text("WAVE").Text("fmt ").Le32(16).Le16(1).Le16(2);
         w.Le32(44100).Le32(176400).Le16(4).Le16(16).Text("data").Le32(8).Zeros(8); }, kAsciiDec, 0, 44,
     {{"  format", "\"WAVE\"", ""}, {"  sampleRate", "44100", ""}, {"  bitsPerSample", "16", ""},
      {"dataChunkSize", "8", "0x28"}}},
    {u"zip-local-file-header.orpat", [](ByteWriter& w) {
         w.Le32(0x04034B50).Le16(20).Le16(0).Le16(0).Le16(0x6000).Le16(0x5A21).Le32(0x7B55A718);
         w.Le32(14).Le32(14).Le16(9).Le16(0).Text("hello.txt").Text("Hello, world!\n"); }, kHex, 0, 30,
     {{"signature", "0x04034B50", ""}, {"crc32", "0x7B55A718", "0xE"}, {"fileNameLength", "0x0009", ""},
      {"fileName", "68 65 6C 6C 6F 2E 74 78 74 48 65 6C 6C 6F 2C 20 ...", "0x1E"}}},
    {u"zip-end-of-central-directory.orpat",
     [](ByteWriter& w) { w.Le32(0x06054B50).Le16(0).Le16(0).Le16(1).Le16(1).Le32(55).Le32(53).Le16(0); }, kDec,
     0x6C, 22,
     {{"signature", "101010256", "0x6C"}, {"totalEntries", "1", ""}, {"centralDirectoryOffset", "53", "0x7C"},
      {"comment", "0 bytes", ""}}},
    {u"png.orpat", [](ByteWriter& w) { // three chunks; big-endian with the session left at little
         w.U8(0x89).Text("PNG\r\n\x1A\n").Be32(13).Text("IHDR").Be32(640).Be32(480);
         w.U8(8).U8(6).U8(0).U8(0).U8(0).Be32(0x35D1DCE4);
         w.Be32(2).Text("IDAT").U8(1).U8(2).Be32(7).Be32(0).Text("IEND").Be32(0xAE426082); }, kAsciiDec, 0, 8,
     {{"signature", "", "0x0"}, {"  width", "640", "0x10"}, {"  colorType", "Rgba (6)", ""},
      {"chunks : Chunk[]", "3 elements", "0x8"}, {"    type", "\"IHDR\"", "0xC"}, {"    crc", "902946020", "0x1D"},
      {"  [2]", "", "0x2F"}}},
    {u"gif.orpat", [](ByteWriter& w) { w.Text("GIF89a").Le16(320).Le16(200).U8(0xF7).U8(0).U8(0); }, kAsciiDec, 0, 13,
     {{"version", "\"89a\"", ""}, {"screenHeight", "200", ""}, {"packedFields", "247", "0xA"}}},
    {u"elf64.orpat", [](ByteWriter& w) {
         w.U8(0x7F).Text("ELF").U8(2).U8(1).U8(1).U8(0).U8(0).Zeros(7);
         w.Le16(2).Le16(0x3E).Le32(1).Le64(0x401000).Le64(64).Le64(936);
         w.Le32(0).Le16(64).Le16(56).Le16(2).Le16(64).Le16(5).Le16(4); }, kHex, 0, 64,
     {{"magic", "7F 45 4C 46", ""}, {"machine", "0x003E", ""}, {"entry", "0x0000000000401000", "0x18"},
      {"sectionNameTableIndex", "0x0004", "0x3E"}}},
    {u"pe-dos-header.orpat", [](ByteWriter& w) {
         w.Text("MZ").Le16(0x90).Le16(3).Le16(0).Le16(4).Le16(0).Le16(0xFFFF).Le16(0).Le16(0xB8);
         w.Le16(0).Le16(0).Le16(0).Le16(0x40).Le16(0).Zeros(8).Le16(0).Le16(0).Zeros(20).Le32(0x80); },
     StructValueOptions{1, 0, 0}, 0, 64,
     {{"magic", "\"MZ\"", ""}, {"maxExtraParagraphs", "0xFFFF", ""}, {"newHeaderOffset", "0x00000080", "0x3C"}}},
    {u"pe-nt-headers64.orpat", [](ByteWriter& w) {
         w.Text(std::string_view("PE\0\0", 4));
         w.Le16(0x8664).Le16(3).Le32(0x65000000).Le32(0).Le32(0).Le16(240).Le16(0x22);
         w.Le16(0x20B).U8(14).U8(0).Le32(0x1000).Le32(0x800).Le32(0).Le32(0x1400).Le32(0x1000);
         w.Le64(0x140000000).Le32(0x1000).Le32(0x200).Le16(6).Le16(0).Le16(0).Le16(0).Le16(6);
         w.Le16(0).Le32(0).Le32(0x5000).Le32(0x400).Le32(0).Le16(3).Le16(0x8160);
         w.Le64(0x100000).Le64(0x1000).Le64(0x100000).Le64(0x1000).Le32(0).Le32(16);
         w.Le32(0).Le32(0).Le32(0x2000).Le32(0x28).Zeros(14 * 8); }, kHex, 0x80, 264,
     {{"  machine", "0x8664", ""}, {"optional : OptionalHeader64", "", "0x98"},
      {"  imageBase", "0x0000000140000000", ""}, {"  numberOfRvaAndSizes", "0x00000010", "0x104"},
      {"  dataDirectories : DataDirectory[]", "16 elements", "0x108"},}},
    {u"ico.orpat",
     [](ByteWriter& w) { w.Le16(0).Le16(1).Le16(1).U8(16).U8(16).U8(0).U8(0).Le16(1).Le16(32).Le32(1128); w.Le32(22); },
     kDec, 0, 6, {{"count", "1", ""}, {"    bitCount", "32", ""}, {"    imageOffset", "22", "0x12"}}},
    {u"tar-ustar.orpat", [](ByteWriter& w) {
         w.Field("hello.txt", 100).Field("0000644", 8).Field("0001750", 8).Field("0001750", 8);
         w.Field("00000000016", 12).Field("14567145047", 12).Field("012345", 8).Text("0");
         w.Zeros(100).Field("ustar", 6).Text("00").Field("user", 32).Field("user", 32).Zeros(8 + 8 + 155 + 12); },
     kAsciiDec, 0, 512,
     {{"name", "\"hello.txt\"", ""}, {"size", "\"00000000016\"", "0x7C"}, {"checksum", "\"012345\"", "0x94"},
      {"typeFlag", "48", ""}, {"userName", "\"user\"", "0x109"}, {"prefix", "\"\"", "0x159"}}},
    {u"gzip.orpat",
     [](ByteWriter& w) { w.U8(0x1F).U8(0x8B).U8(8).U8(8).Le32(1700000000).U8(0).U8(3).Text("a.txt").U8(0); }, kDec, 0,
     10, {{"id2", "139", ""}, {"modificationTime", "1700000000", "0x4"}, {"operatingSystem", "3", "0x9"}}},
};
// clang-format on

TEST(PatternLibrary, EveryShippedPatternReadsASampleOfItsFormat)
{
    const std::filesystem::path dir = test::ToPath(test::SourceDirectory()) / "patterns";
    std::set<std::u16string> shipped;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".orpat") {
            shipped.insert(test::FromPath(entry.path().filename()));
        }
    }
    std::set<std::u16string> sampled;
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(Narrow(sample.pattern));
        sampled.insert(sample.pattern);
        auto file = std::make_shared<StructPatternFile>();
        std::u16string error;
        ASSERT_TRUE(
            LoadStructPatternFile(test::FromPath(dir / test::ToPath(sample.pattern)), *file, error))
            << Narrow(error);
        const ResolvedStruct* entry = FindStruct(*file, file->entryName);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->size, sample.entrySize);
        ByteWriter bytes;
        sample.write(bytes);
        StructRowsInput input;
        input.baseOffset = sample.baseOffset;
        input.bytes = bytes.Bytes();
        input.file = file;
        input.options = sample.options;
        const std::vector<StructViewRow> rows = BuildStructRows(input);
        for (const Field& field : sample.fields) {
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const StructViewRow& r) {
                return Narrow(r.name) == field.row;
            });
            ASSERT_NE(row, rows.end()) << field.row;
            if (!field.value.empty()) {
                EXPECT_EQ(Narrow(row->value), field.value) << field.row;
            }
            if (!field.offset.empty()) {
                EXPECT_EQ(Narrow(row->offset), field.offset) << field.row;
            }
        }
    }
    // Every pattern is also checked on real files by tests/patterns/real-files.py.
    for (const std::u16string& pattern : sampled) {
        EXPECT_TRUE(shipped.contains(pattern)) << Narrow(pattern);
    }
}

} // namespace
} // namespace orx
