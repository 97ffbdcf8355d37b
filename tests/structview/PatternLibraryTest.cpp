// Every pattern shipped in patterns/ laid over a small but real file of its format.
#include "PatternTestSupport.h"
#include "platform/Utf.h"
#include "structview/StructRows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace orx {
namespace {

using platform::Narrow;
using test::ByteWriter;

constexpr StructValueOptions kDec{0, 0, 1};
constexpr StructValueOptions kHex{0, 0, 0};
constexpr StructValueOptions kAsciiDec{1, 0, 1};

std::u16string PatternPath(std::u16string_view name)
{
    return test::SourceDirectory() + u"/patterns/" + std::u16string(name);
}

// Rows by name; values of interest are looked up by the name the view shows.
class LaidOut {
public:
    LaidOut(std::u16string_view pattern, const std::vector<std::uint8_t>& bytes,
            StructValueOptions options, std::uint64_t baseOffset = 0)
    {
        auto file = std::make_shared<StructPatternFile>();
        std::u16string error;
        loaded_ = LoadStructPatternFile(PatternPath(pattern), *file, error);
        EXPECT_TRUE(loaded_) << Narrow(pattern) << ": " << Narrow(error);
        StructRowsInput input;
        input.baseOffset = baseOffset;
        input.bytes = bytes;
        input.file = file;
        input.options = options;
        file_ = file;
        rows_ = BuildStructRows(input);
        for (const StructViewRow& row : rows_) {
            byName_.emplace(Narrow(row.name), row);
        }
    }

    std::string Value(const std::string& name) const { return Field(name, &StructViewRow::value); }
    std::string Offset(const std::string& name) const
    {
        return Field(name, &StructViewRow::offset);
    }
    std::size_t RowCount() const { return rows_.size(); }
    std::uint64_t EntrySize() const
    {
        const ResolvedStruct* entry = loaded_ ? FindStruct(*file_, file_->entryName) : nullptr;
        return entry ? entry->size : 0;
    }

private:
    std::string Field(const std::string& name, std::u16string StructViewRow::*field) const
    {
        const auto found = byName_.find(name);
        return found == byName_.end() ? "<no row " + name + ">" : Narrow(found->second.*field);
    }

    bool loaded_ = false;
    std::shared_ptr<const StructPatternFile> file_;
    std::vector<StructViewRow> rows_;
    std::map<std::string, StructViewRow> byName_;
};

TEST(PatternLibrary, EveryShippedPatternLoads)
{
    const std::filesystem::path dir =
        std::filesystem::path(Narrow(test::SourceDirectory())) / "patterns";
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".orpat") {
            continue;
        }
        ++count;
        StructPatternFile file;
        std::u16string error;
        const std::u16string name = platform::Widen(entry.path().filename().string());
        EXPECT_TRUE(LoadStructPatternFile(PatternPath(name), file, error))
            << Narrow(name) << ": " << Narrow(error);
    }
    EXPECT_GE(count, 10u);
}

TEST(PatternLibrary, BitmapHeaders)
{
    ByteWriter bmp;
    bmp.Text("BM").Le32(70).Le16(0).Le16(0).Le32(54);
    bmp.Le32(40)
        .Le32(2)
        .Le32(0xFFFFFFFE)
        .Le16(1)
        .Le16(24)
        .Le32(0)
        .Le32(16)
        .Le32(2835)
        .Le32(2835)
        .Le32(0)
        .Le32(0);
    bmp.Zeros(16);
    const LaidOut view(u"bmp.orpat", bmp.Bytes(), kAsciiDec);
    EXPECT_EQ(view.EntrySize(), 54u);
    EXPECT_EQ(view.Value("  signature"), "\"BM\"");
    EXPECT_EQ(view.Value("  fileSize"), "70");
    EXPECT_EQ(view.Value("  pixelDataOffset"), "54");
    EXPECT_EQ(view.Offset("info : BitmapInfoHeader"), "0xE");
    EXPECT_EQ(view.Value("  width"), "2");
    EXPECT_EQ(view.Value("  height"), "4294967294"); // top-down, shown unsigned
    EXPECT_EQ(view.Value("  bitCount"), "24");
    EXPECT_EQ(view.Value("  xPixelsPerMeter"), "2835");
    EXPECT_EQ(view.RowCount(), 2u + 5u + 11u);
}

TEST(PatternLibrary, WaveRiffAndFormatChunk)
{
    ByteWriter wav;
    wav.Text("RIFF").Le32(36 + 8).Text("WAVE");
    wav.Text("fmt ").Le32(16).Le16(1).Le16(2).Le32(44100).Le32(176400).Le16(4).Le16(16);
    wav.Text("data").Le32(8).Zeros(8);
    const LaidOut view(u"wav.orpat", wav.Bytes(), kAsciiDec);
    EXPECT_EQ(view.EntrySize(), 44u);
    EXPECT_EQ(view.Value("  format"), "\"WAVE\"");
    EXPECT_EQ(view.Value("  audioFormat"), "1");
    EXPECT_EQ(view.Value("  channels"), "2");
    EXPECT_EQ(view.Value("  sampleRate"), "44100");
    EXPECT_EQ(view.Value("  byteRate"), "176400");
    EXPECT_EQ(view.Value("  bitsPerSample"), "16");
    EXPECT_EQ(view.Value("dataChunkId"), "\"data\"");
    EXPECT_EQ(view.Offset("dataChunkSize"), "0x28");
}

// A stored (uncompressed) archive with one file.
std::vector<std::uint8_t> ZipWithOneFile(std::size_t& endOfCentralDirectory)
{
    const std::string name = "hello.txt";
    const std::string content = "Hello, world!\n";
    constexpr std::uint32_t kCrc = 0x7B55A718;
    ByteWriter zip;
    zip.Le32(0x04034B50).Le16(20).Le16(0).Le16(0).Le16(0x6000).Le16(0x5A21).Le32(kCrc);
    zip.Le32(content.size())
        .Le32(content.size())
        .Le16(name.size())
        .Le16(0)
        .Text(name)
        .Text(content);
    const std::size_t centralDirectory = zip.Size();
    zip.Le32(0x02014B50).Le16(20).Le16(20).Le16(0).Le16(0).Le16(0x6000).Le16(0x5A21).Le32(kCrc);
    zip.Le32(content.size())
        .Le32(content.size())
        .Le16(name.size())
        .Le16(0)
        .Le16(0)
        .Le16(0)
        .Le16(0)
        .Le32(0)
        .Le32(0);
    zip.Text(name);
    endOfCentralDirectory = zip.Size();
    zip.Le32(0x06054B50).Le16(0).Le16(0).Le16(1).Le16(1);
    zip.Le32(endOfCentralDirectory - centralDirectory).Le32(centralDirectory).Le16(0);
    return zip.Bytes();
}

TEST(PatternLibrary, ZipLocalFileHeader)
{
    std::size_t end = 0;
    const std::vector<std::uint8_t> zip = ZipWithOneFile(end);
    const LaidOut hex(u"zip-local-file-header.orpat", zip, kHex);
    EXPECT_EQ(hex.Value("signature"), "0x04034B50");
    EXPECT_EQ(hex.Value("crc32"), "0x7B55A718");
    const LaidOut text(u"zip-local-file-header.orpat", zip, kAsciiDec);
    EXPECT_EQ(text.Value("compressedSize"), "14");
    EXPECT_EQ(text.Value("fileNameLength"), "9");
    // The name runs on into the data, up to its line feed.
    EXPECT_EQ(text.Value("fileName"), "\"hello.txtHello, world!...\"");
    EXPECT_EQ(text.Offset("fileName"), "0x1E");
}

TEST(PatternLibrary, ZipEndOfCentralDirectory)
{
    std::size_t end = 0;
    const std::vector<std::uint8_t> zip = ZipWithOneFile(end);
    const LaidOut view(
        u"zip-end-of-central-directory.orpat",
        std::vector<std::uint8_t>(zip.begin() + static_cast<std::ptrdiff_t>(end), zip.end()), kDec,
        end);
    EXPECT_EQ(view.Value("signature"), "101010256");
    EXPECT_EQ(view.Value("totalEntries"), "1");
    EXPECT_EQ(view.Value("centralDirectorySize"), "55");
    EXPECT_EQ(view.Value("centralDirectoryOffset"), "53");
    EXPECT_EQ(view.Value("comment"), "0 bytes");
    EXPECT_EQ(view.Offset("signature"), "0x6C");
}

TEST(PatternLibrary, PngSignatureAndHeaderChunk)
{
    ByteWriter png;
    png.U8(0x89).Text("PNG\r\n\x1A\n").Be32(13).Text("IHDR").Be32(640).Be32(480);
    png.U8(8).U8(6).U8(0).U8(0).U8(0).Be32(0x35D1DCE4);
    const LaidOut big(u"png.orpat", png.Bytes(), StructValueOptions{0, 1, 1});
    EXPECT_EQ(big.EntrySize(), 33u);
    EXPECT_EQ(big.Value("signature"), "89 50 4E 47 0D 0A 1A 0A");
    EXPECT_EQ(big.Value("ihdrLength"), "13");
    EXPECT_EQ(big.Value("ihdrType"), "49 48 44 52");
    EXPECT_EQ(big.Value("width"), "640");
    EXPECT_EQ(big.Value("height"), "480");
    EXPECT_EQ(big.Value("colorType"), "6");
    EXPECT_EQ(big.Value("ihdrCrc"), "902946020");
    // Read little-endian, the same width is nonsense; the pattern's comment says so.
    EXPECT_EQ(LaidOut(u"png.orpat", png.Bytes(), kHex).Value("width"), "0x80020000");
}

TEST(PatternLibrary, GifHeaderAndScreenDescriptor)
{
    ByteWriter gif;
    gif.Text("GIF89a").Le16(320).Le16(200).U8(0xF7).U8(0).U8(0);
    const LaidOut view(u"gif.orpat", gif.Bytes(), kAsciiDec);
    EXPECT_EQ(view.Value("signature"), "\"GIF\"");
    EXPECT_EQ(view.Value("version"), "\"89a\"");
    EXPECT_EQ(view.Value("screenWidth"), "320");
    EXPECT_EQ(view.Value("screenHeight"), "200");
    EXPECT_EQ(view.Value("packedFields"), "247");
    EXPECT_EQ(view.EntrySize(), 13u);
}

TEST(PatternLibrary, Elf64Header)
{
    ByteWriter elf;
    elf.U8(0x7F).Text("ELF").U8(2).U8(1).U8(1).U8(0).U8(0).Zeros(7);
    elf.Le16(2).Le16(0x3E).Le32(1).Le64(0x401000).Le64(64).Le64(936);
    elf.Le32(0).Le16(64).Le16(56).Le16(2).Le16(64).Le16(5).Le16(4);
    const LaidOut view(u"elf64.orpat", elf.Bytes(), kHex);
    EXPECT_EQ(view.EntrySize(), 64u);
    EXPECT_EQ(view.RowCount(), 20u); // naturally aligned: no padding rows
    EXPECT_EQ(view.Value("magic"), "7F 45 4C 46");
    EXPECT_EQ(view.Value("machine"), "0x003E");
    EXPECT_EQ(view.Value("entry"), "0x0000000000401000");
    EXPECT_EQ(view.Offset("entry"), "0x18");
    EXPECT_EQ(view.Value("sectionHeaderOffset"), "0x00000000000003A8");
    EXPECT_EQ(LaidOut(u"elf64.orpat", elf.Bytes(), kDec).Value("programHeaderCount"), "2");
    EXPECT_EQ(view.Offset("sectionNameTableIndex"), "0x3E");
}

TEST(PatternLibrary, DosHeader)
{
    ByteWriter dos;
    dos.Text("MZ").Le16(0x90).Le16(3).Le16(0).Le16(4).Le16(0).Le16(0xFFFF).Le16(0).Le16(0xB8);
    dos.Le16(0).Le16(0).Le16(0).Le16(0x40).Le16(0).Zeros(8).Le16(0).Le16(0).Zeros(20).Le32(0x80);
    const LaidOut view(u"pe-dos-header.orpat", dos.Bytes(), StructValueOptions{1, 0, 0});
    EXPECT_EQ(view.EntrySize(), 64u);
    EXPECT_EQ(view.Value("magic"), "\"MZ\"");
    EXPECT_EQ(view.Value("maxExtraParagraphs"), "0xFFFF");
    EXPECT_EQ(view.Value("newHeaderOffset"), "0x00000080");
    EXPECT_EQ(view.Offset("newHeaderOffset"), "0x3C");
}

TEST(PatternLibrary, PeNtHeaders64)
{
    ByteWriter pe;
    pe.Text(std::string_view("PE\0\0", 4));
    pe.Le16(0x8664).Le16(3).Le32(0x65000000).Le32(0).Le32(0).Le16(240).Le16(0x22);
    pe.Le16(0x20B).U8(14).U8(0).Le32(0x1000).Le32(0x800).Le32(0).Le32(0x1400).Le32(0x1000);
    pe.Le64(0x140000000).Le32(0x1000).Le32(0x200).Le16(6).Le16(0).Le16(0).Le16(0).Le16(6).Le16(0);
    pe.Le32(0).Le32(0x5000).Le32(0x400).Le32(0).Le16(3).Le16(0x8160);
    pe.Le64(0x100000).Le64(0x1000).Le64(0x100000).Le64(0x1000).Le32(0).Le32(16);
    pe.Le32(0).Le32(0).Le32(0x2000).Le32(0x28).Zeros(14 * 8);
    const LaidOut view(u"pe-nt-headers64.orpat", pe.Bytes(), kHex, 0x80);
    EXPECT_EQ(view.EntrySize(), 264u);
    EXPECT_EQ(view.Value("signature"), "50 45 00 00");
    EXPECT_EQ(view.Value("  machine"), "0x8664");
    EXPECT_EQ(view.Offset("optional : OptionalHeader64"), "0x98");
    EXPECT_EQ(view.Value("  magic"), "0x020B");
    EXPECT_EQ(view.Value("  imageBase"), "0x0000000140000000");
    EXPECT_EQ(view.Value("  dataDirectories"),
              "00 00 00 00 00 00 00 00 00 20 00 00 28 00 00 00 ...");
    const LaidOut dec(u"pe-nt-headers64.orpat", pe.Bytes(), kDec, 0x80);
    EXPECT_EQ(dec.Value("  sizeOfOptionalHeader"), "240");
    EXPECT_EQ(dec.Value("  subsystem"), "3");
    EXPECT_EQ(dec.Value("  numberOfRvaAndSizes"), "16");
}

TEST(PatternLibrary, IconDirectory)
{
    ByteWriter ico;
    ico.Le16(0).Le16(1).Le16(1).U8(16).U8(16).U8(0).U8(0).Le16(1).Le16(32).Le32(1128).Le32(22);
    const LaidOut view(u"ico.orpat", ico.Bytes(), kDec);
    EXPECT_EQ(view.EntrySize(), 22u);
    EXPECT_EQ(view.Value("type"), "1");
    EXPECT_EQ(view.Value("count"), "1");
    EXPECT_EQ(view.Value("  width"), "16");
    EXPECT_EQ(view.Value("  bitCount"), "32");
    EXPECT_EQ(view.Value("  bytesInResource"), "1128");
    EXPECT_EQ(view.Value("  imageOffset"), "22");
}

TEST(PatternLibrary, UstarHeader)
{
    ByteWriter tar;
    tar.Field("hello.txt", 100).Field("0000644", 8).Field("0001750", 8).Field("0001750", 8);
    tar.Field("00000000016", 12).Field("14567145047", 12).Field("        ", 8).Text("0").Zeros(100);
    tar.Field("ustar", 6).Text("00").Field("user", 32).Field("user", 32).Zeros(8 + 8 + 155 + 12);
    std::vector<std::uint8_t> header = tar.Bytes();
    ASSERT_EQ(header.size(), 512u);
    unsigned sum = 0;
    for (const std::uint8_t byte : header) {
        sum += byte;
    }
    // Six octal digits, a zero and a space.
    char checksum[9] = {};
    std::snprintf(checksum, sizeof checksum, "\"%06o\"", sum);
    std::copy(checksum + 1, checksum + 7, header.begin() + 148);
    header[154] = 0;
    const LaidOut view(u"tar-ustar.orpat", header, kAsciiDec);
    EXPECT_EQ(view.EntrySize(), 512u);
    EXPECT_EQ(view.Value("name"), "\"hello.txt\"");
    EXPECT_EQ(view.Value("size"), "\"00000000016\"");
    EXPECT_EQ(view.Value("checksum"), checksum);
    EXPECT_EQ(view.Value("typeFlag"), "48");
    EXPECT_EQ(view.Value("magic"), "\"ustar\"");
    EXPECT_EQ(view.Value("userName"), "\"user\"");
    EXPECT_EQ(view.Offset("prefix"), "0x159");
}

TEST(PatternLibrary, GzipMemberHeader)
{
    ByteWriter gz;
    gz.U8(0x1F).U8(0x8B).U8(8).U8(8).Le32(1700000000).U8(0).U8(3).Text("a.txt").U8(0);
    const LaidOut view(u"gzip.orpat", gz.Bytes(), kHex);
    EXPECT_EQ(view.EntrySize(), 10u);
    EXPECT_EQ(view.Value("id1"), "0x1F");
    EXPECT_EQ(view.Value("id2"), "0x8B");
    EXPECT_EQ(view.Value("flags"), "0x08");
    const LaidOut dec(u"gzip.orpat", gz.Bytes(), kDec);
    EXPECT_EQ(dec.Value("modificationTime"), "1700000000");
    EXPECT_EQ(dec.Value("operatingSystem"), "3");
}

} // namespace
} // namespace orx
