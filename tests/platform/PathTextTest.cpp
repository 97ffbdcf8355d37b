#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace orx::platform {
namespace {

TEST(DirectoryOfPath, TextBeforeTheLastSeparatorAndRootsKeepTheirSeparator)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\Program Files\\Orlin\\orlin.exe", u"C:\\Program Files\\Orlin"},
        {u"C:\\Orlin\\\\orlin.exe", u"C:\\Orlin"},
        {u"C:\\Orlin/bin\\orlin.exe", u"C:\\Orlin/bin"},
        {u"C:\\orlin.exe", u"C:\\"},
        {u"C:/orlin.exe", u"C:/"},
        {u"\\\\server\\share\\orlin.exe", u"\\\\server\\share"},
        {u"//orlin", u"/"},
        {u"/opt/orlin/orlin", u"/opt/orlin"},
        {u"/orlin", u"/"},
        {u"orlin.exe", u""},
        {u"", u""},
    };
    for (const auto& [path, directory] : cases) {
        EXPECT_EQ(DirectoryOfPath(path), directory);
    }
}

TEST(FileNameOfPath, TextAfterTheLastSeparatorWithoutADrive)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\data\\dump.bin", u"dump.bin"},
        {u"C:/mixed\\sep/z.bin", u"z.bin"},
        {u"C:name.bin", u"name.bin"},
        {u"C:", u""},
        {u"C:\\", u""},
        {u"/opt/orlin", u"orlin"},
        {u"plain.bin", u"plain.bin"},
        {u"", u""},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(FileNameOfPath(path), name);
    }
}

} // namespace
} // namespace orx::platform
