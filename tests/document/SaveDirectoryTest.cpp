#include "document/EditableDocument.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(SaveDirectoryOf, TempFilesGoBesideTheTargetAndRootsKeepTheirSeparator)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\dir\\x.bin", u"C:\\dir"},
        {u"C:\\dir\\\\x.bin", u"C:\\dir"},
        {u"C:\\x.bin", u"C:\\"},
        {u"C:/x.bin", u"C:/"},
        {u"\\\\server\\share\\x.bin", u"\\\\server\\share"},
        {u"/x.bin", u"/"},
        {u"dir/x.bin", u"dir"},
        {u"x.bin", u""},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(SaveDirectoryOf(path), expected);
    }
}

} // namespace
} // namespace orx
