#include "bookmarks/BookmarkSession.h"
#include "bookmarks/BookmarkStore.h"
#include "bookmarks/JsonValue.h"
#include "document/EditableDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orx {
namespace {

using test::ReadAll;
using test::TempDir;
using test::ToPath;

// Follows a document's edits, as the editor's bookmarks do.
struct Follower final : IEditListener {
    RegionList regions;
    void Inserted(std::uint64_t offset, std::uint64_t count) override
    {
        regions.Inserted(offset, count);
    }
    void Deleted(std::uint64_t offset, std::uint64_t count) override
    {
        (void)regions.Deleted(offset, count);
    }
};

TEST(BookmarkStoreTest, RoundTripsEveryFileAndKeepsADamagedFileAside)
{
    const TempDir dir;
    const std::u16string settings = dir.Write(u"orlin.settings.json", std::string_view("{}"));
    const BookmarkStore store(BookmarksPathBeside(settings));
    EXPECT_EQ(store.Read(true).status, BookmarksRead::Status::Missing);

    const FileRegions first{u"C:\\data\\a.bin",
                            {100, 7},
                            {{0, 4, RegionColour::Blue, u"magic \"MZ\"\n\u65E5\u672C"},
                             {16, 1, RegionColour::Purple, u""}}};
    const FileRegions second{u"C:\\data\\b.bin", {5, 9}, {{1, 2, RegionColour::Green, u"x"}}};
    ASSERT_TRUE(store.Put(first));
    ASSERT_TRUE(store.Put(second));
    EXPECT_EQ(store.Find(u"c:/DATA/a.bin"), first);
    ASSERT_TRUE(store.Put({second.path, {}, {}})); // no regions left: the entry goes
    EXPECT_EQ(store.Read(true).files, std::vector{first});
    EXPECT_EQ(ParseRegions(SerializeRegions(first.regions)), first.regions);

    const std::string damaged[] = {"", "{\"files\": [", "{\"files\": [{\"path\": \"x\"}]}",
                                   "{\"files\": [{\"path\": \"x\", \"size\": 1, \"lastWrite\": 1, "
                                   "\"regions\": [{\"offset\": -1}]}]}",
                                   "[] []"};
    for (std::size_t i = 0; i < std::size(damaged); ++i) {
        dir.Write(kBookmarksFileName, damaged[i]);
        const BookmarksRead read = store.Read(true);
        EXPECT_EQ(read.status, BookmarksRead::Status::Damaged) << damaged[i];
        const std::u16string expected =
            dir.Path(u"orlin.bookmarks.damaged-" + std::u16string(1, u'1' + i) + u".json");
        EXPECT_EQ(read.keptAs, expected);
        ASSERT_TRUE(std::filesystem::exists(ToPath(expected)));
    }
    ASSERT_TRUE(store.Put(second)); // a fresh file: the damaged ones stay as they were
    EXPECT_EQ(store.Read(false).files, std::vector{second});
    EXPECT_EQ(ReadAll(dir.Path(u"orlin.bookmarks.damaged-2.json")).size(), damaged[1].size());
    EXPECT_EQ(ReadAll(settings).size(), 2u);
}

TEST(BookmarkStoreTest, RegionsStayOnTheirBytesThroughEditsAndASave)
{
    const TempDir dir;
    std::vector<std::uint8_t> bytes(256);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    const std::u16string path = dir.Write(u"data.bin", bytes);
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    Follower follower;
    document.SetEditListener(&follower);
    follower.regions.Assign({{0x10, 16, RegionColour::Red, u"a"},
                             {0x40, 8, RegionColour::Green, u"b"},
                             {0x80, 4, RegionColour::Blue, u"gone"}});
    ASSERT_TRUE(document.InsertByte(0x00, 0xEE));  // moves all three
    ASSERT_TRUE(document.InsertByte(0x18, 0xEE));  // grows the first
    ASSERT_TRUE(document.DeleteRange(0x30, 0x14)); // shortens the second from the front
    ASSERT_TRUE(document.DeleteRange(0x6D, 6));    // takes the third whole
    ASSERT_TRUE(document.Save());
    ASSERT_EQ(follower.regions.Count(), 2u);
    // Read back from the file as saved: each region holds the bytes it was put on.
    const std::vector<std::uint8_t> saved = ReadAll(path);
    const auto at = [&](const Region& region) {
        return std::vector<std::uint8_t>(
            saved.begin() + static_cast<std::ptrdiff_t>(region.offset),
            saved.begin() + static_cast<std::ptrdiff_t>(region.offset + region.length));
    };
    std::vector<std::uint8_t> first(bytes.begin() + 0x10, bytes.begin() + 0x20);
    first.insert(first.begin() + 7, 0xEE);
    EXPECT_EQ(at(follower.regions.Items()[0]), first);
    EXPECT_EQ(at(follower.regions.Items()[1]),
              std::vector<std::uint8_t>(bytes.begin() + 0x42, bytes.begin() + 0x48));
}

TEST(BookmarkStoreTest, RegionsAreStoredAgainstTheFileAsItIsOnDisk)
{
    const TempDir dir;
    BookmarkSession session{BookmarkStore(dir.Path(kBookmarksFileName))};
    const BookmarkStore& store = session.Store();
    DocumentState document{true, u"C:\\a.bin", {100, 1}, 100, false};
    const auto stored = [&] {
        const auto entry = store.Find(document.path);
        return entry ? entry->regions : std::vector<Region>{};
    };
    EXPECT_EQ(session.FileChanged(document).storeTrouble, std::nullopt);
    (void)session.Add(document, {10, 4, RegionColour::Green, u"a"});
    EXPECT_EQ(stored().size(), 1u); // no edits pending: stored at once

    document.modified = true;
    (void)session.Inserted(document, 0, 2);
    (void)session.Add(document, {50, 1, RegionColour::Red, u"b"});
    EXPECT_EQ(stored()[0].offset, 10u); // waits for the save
    document = {true, document.path, {102, 2}, 102, false};
    (void)session.FileChanged(document); // saved: the file's new identity
    EXPECT_EQ(stored(), session.Regions().Items());
    EXPECT_EQ(store.Find(document.path)->identity, document.identity);

    document.modified = true;
    EXPECT_EQ(session.Deleted(document, 10, 6).removed, 1u); // the first lost every byte
    document.modified = false;
    (void)session.FileChanged(document); // opened again without saving: the stored ones return
    EXPECT_EQ(session.Regions().Count(), 2u);

    document = {true, document.path, {51, 3}, 51, false}; // reloaded, shorter
    EXPECT_EQ(session.FileChanged(document).removed, 0u);
    EXPECT_EQ(stored()[1].offset + stored()[1].length, 51u);
    (void)session.FileChanged({});
    EXPECT_TRUE(session.Regions().Empty());
    document.identity.lastWrite = 9; // changed by another program while closed
    EXPECT_TRUE(session.FileChanged(document).fileChangedSince);
    EXPECT_EQ(session.Regions().Count(), 2u);
}

TEST(BookmarkStoreTest, ReadsStrictJsonOnly)
{
    const struct {
        std::string_view text;
        bool valid;
    } cases[] = {
        {R"({"a": [1, 18446744073709551615, -2, 1.5e3, true, null, "\u00e9\n"]})", true},
        {" \r\n{}\t", true},
        {"{\"a\": 01}", false},
        {"{\"a\": 1,}", false},
        {"{\"a\" 1}", false},
        {"\"\\x\"", false},
        {"\"tab\there\"", false},
        {"\"\xC3\"", false}, // cut UTF-8
        {std::string_view(
             "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["
             "]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]"),
         false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ParseJson(test.text).has_value(), test.valid) << test.text;
    }
    const auto array = ParseJson(cases[0].text)->Member("a")->items;
    EXPECT_EQ(array[1].number, UINT64_MAX);
    EXPECT_EQ(array[2].kind, JsonValue::Kind::Null); // negative: not an offset
    EXPECT_EQ(array[6].text, u"\u00e9\n");
}

} // namespace
} // namespace orx
