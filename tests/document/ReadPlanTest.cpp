#include "document/EditableDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string ReadText(const ReadPlan& plan)
{
    std::string bytes(plan.Size(), '\0');
    bytes.resize(plan.ReadInto(reinterpret_cast<std::uint8_t*>(bytes.data())));
    return bytes;
}

// What a plan made before the file was closed or opened anew still delivers: its copied
// bytes up to the first byte it would have read from the file, and nothing past them.
TEST(ReadPlan, StopsAtTheFileBytesOnceTheFileWasClosedOrReopened)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"ten.bin", "0123456789");
    const std::u16string other = dir.Write(u"other.bin", "abcdefghij");
    struct Case {
        const char* name;
        void (*event)(EditableDocument&, const std::u16string&);
    };
    const Case cases[] = {
        {"close", [](EditableDocument& d, const std::u16string&) { d.Close(); }},
        {"reload", [](EditableDocument& d, const std::u16string&) { ASSERT_TRUE(d.Reload()); }},
        {"open another",
         [](EditableDocument& d, const std::u16string& p) { ASSERT_TRUE(d.Open(p)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditableDocument document;
        ASSERT_TRUE(document.Open(path));
        ASSERT_TRUE(document.InsertByte(0, 'A'));
        ASSERT_TRUE(document.InsertByte(1, 'B'));
        ASSERT_TRUE(document.OverwriteByte(3, 'x'));
        ASSERT_TRUE(document.InsertByte(document.Size(), 'Z'));
        const ReadPlan whole = document.PlanRead(0, 100);
        const ReadPlan fileOnly = document.PlanRead(4, 3);
        EXPECT_EQ(ReadText(whole), "AB0x23456789Z");
        EXPECT_EQ(ReadText(fileOnly), "234");

        c.event(document, other);
        EXPECT_EQ(ReadText(whole), "AB");
        EXPECT_EQ(ReadText(fileOnly), "");
        const Bytes now = document.Read(0, 100).bytes;
        EXPECT_EQ(ReadText(document.PlanRead(0, 100)), std::string(now.begin(), now.end()));
    }
}

// A worker reads plans while the UI thread edits, plans and now and then reopens the file:
// each result is the planned bytes, or their start when the file was reopened meanwhile.
// Run under ThreadSanitizer, this is what shows the file's gate guarding its handle.
TEST(ReadPlan, ReadsOnAnotherThreadWhileTheDocumentIsEditedAndReopened)
{
    test::TempDir dir;
    Bytes content(3u << 20);
    std::mt19937_64 rng(7);
    for (auto& b : content) {
        b = static_cast<std::uint8_t>(rng());
    }
    const std::u16string path = dir.Write(u"data.bin", content);
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));

    std::mutex mutex;
    std::condition_variable changed;
    std::optional<std::pair<ReadPlan, Bytes>> slot;
    bool done = false;
    int whole = 0;
    std::thread worker([&] {
        for (;;) {
            std::pair<ReadPlan, Bytes> job;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return slot.has_value() || done; });
                if (!slot) {
                    return;
                }
                job = std::move(*slot);
                slot.reset();
            }
            Bytes bytes(job.first.Size());
            bytes.resize(job.first.ReadInto(bytes.data()));
            const bool prefix = std::equal(bytes.begin(), bytes.end(), job.second.begin());
            std::lock_guard lock(mutex);
            EXPECT_TRUE(prefix);
            whole += bytes.size() == job.second.size() ? 1 : 0;
        }
    });
    for (int i = 0; i < 100; ++i) {
        const std::uint64_t at = rng() % document.Size();
        if (i % 10 == 9) {
            ASSERT_TRUE(document.Reload());
        } else if (i % 2 == 0) {
            ASSERT_TRUE(document.InsertByte(at, static_cast<std::uint8_t>(i)));
        } else {
            ASSERT_TRUE(document.OverwriteByte(at, static_cast<std::uint8_t>(i)));
        }
        const std::uint64_t from = rng() % (1u << 20);
        std::pair job{document.PlanRead(from, 2u << 20), document.Read(from, 2u << 20).bytes};
        {
            std::lock_guard lock(mutex);
            slot = std::move(job);
        }
        changed.notify_one();
    }
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    changed.notify_one();
    worker.join();
    EXPECT_GT(whole, 0);
}

} // namespace
} // namespace orx
