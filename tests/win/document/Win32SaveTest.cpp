// Saving against the real Win32 file API: sharing modes, temporary file naming and the
// rename over a file that others hold open.
#include "document/EditableDocument.h"
#include "support/FaultyFileSystem.h"
#include "platform/win32/WinString.h"
#include "support/TempDir.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A handle another program might hold on the file.
class OtherProgramHandle {
public:
    OtherProgramHandle(const std::u16string& path, DWORD access, DWORD share)
        : handle_(CreateFileW(win::W(path), access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {}
    ~OtherProgramHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    OtherProgramHandle(const OtherProgramHandle&) = delete;
    OtherProgramHandle& operator=(const OtherProgramHandle&) = delete;
    [[nodiscard]] bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(Win32Save, InPlaceSaveWorksWhileTheDocumentAndAReaderHoldTheFile)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"f.bin", "abcdef");
    OtherProgramHandle reader(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(reader.IsOpen());
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    ASSERT_TRUE(document.OverwriteByte(0, 'X'));
    ASSERT_EQ(document.ChooseSaveStrategy(), SaveStrategy::InPlace);
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(Text(test::ReadAll(path)), "Xbcdef");
}

// The document's own read handle is closed before the rename replaces the file.
TEST(Win32Save, TempFileIsNamedByTheSystemWithOurPrefixBesideTheTarget)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"f.bin", "abcdef");
    test::FaultyFileSystem fs;
    EditableDocument document(fs);
    ASSERT_TRUE(document.Open(path));
    ASSERT_TRUE(document.InsertByte(3, 'X'));
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(Text(test::ReadAll(path)), "abcXdef");
    const std::u16string temp = fs.lastTempPath;
    const auto slash = temp.find_last_of(u"\\/");
    ASSERT_NE(slash, std::u16string::npos);
    const std::u16string name = temp.substr(slash + 1);
    EXPECT_EQ(name.substr(0, 3), u"ORL");
    EXPECT_EQ(_wcsicmp(win::W(name.substr(name.size() - 4)), L".TMP"), 0);
    EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"f.bin"});
}

TEST(Win32Save, AWriterWithoutSharingMakesAnInPlaceSaveFailWithTheSystemReason)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"f.bin", "abcdef");
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    ASSERT_TRUE(document.OverwriteByte(1, 'X'));
    {
        OtherProgramHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ);
        ASSERT_TRUE(writer.IsOpen());
        EXPECT_FALSE(document.Save());
        EXPECT_EQ(document.LastError(), FormatWin32Error(ERROR_SHARING_VIOLATION));
        EXPECT_TRUE(document.IsModified());
    }
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(Text(test::ReadAll(path)), "aXcdef");
}

TEST(Win32Save, AFailedRenameKeepsTheOldFileOpenTheEditsAndNoTempFile)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"f.bin", "abcdef");
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    ASSERT_TRUE(document.DeleteByte(2));
    {
        // Held open without delete sharing: the file cannot be replaced.
        OtherProgramHandle holder(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(holder.IsOpen());
        EXPECT_FALSE(document.Save());
        EXPECT_FALSE(document.LastError().empty());
        EXPECT_TRUE(document.IsOpen());
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(Text(document.Read(0, 10).bytes), "abdef");
        EXPECT_EQ(Text(test::ReadAll(path)), "abcdef");
        EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"f.bin"});
    }
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(Text(test::ReadAll(path)), "abdef");
}

TEST(Win32Save, ErrorTextsComeFromTheSystemWithoutTrailingBreaks)
{
    EXPECT_EQ(FormatWin32Error(0), u"");
    for (DWORD code :
         {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_DISK_FULL}) {
        const std::u16string text = FormatWin32Error(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_NE(text.back(), u'\n') << code;
        EXPECT_NE(text.back(), u'\r') << code;
        EXPECT_NE(text.back(), u' ') << code;
        EXPECT_NE(text.rfind(u"Win32 error: ", 0), 0u) << code;
    }
    EXPECT_EQ(FormatWin32Error(0x2000ABCDu), u"Win32 error: 536914893");
}

} // namespace
} // namespace orx
