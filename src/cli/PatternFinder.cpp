#include "cli/PatternFinder.h"

#include "cli/CliCommon.h"
#include "platform/FileSystem.h"
#include "settings/SettingsLocation.h"

namespace orx::cli {

std::vector<std::u16string> PatternFolders(const std::u16string* extra)
{
    const std::u16string executable = ExecutableDirectory();
    std::vector<std::u16string> folders = {executable + u"/patterns",
                                           executable + u"/../share/orlin/patterns"};
    if (extra) {
        folders.push_back(*extra);
    }
    return folders;
}

std::optional<std::vector<PatternMatch>> IdentifyFile(const PatternLibrary& library,
                                                      const std::u16string& path, std::ostream& err)
{
    FileSampleBuffer sample;
    if (!ReadFileSample(platform::SystemFileSystem(), path, sample, library.headBytes,
                        library.tailBytes)) {
        err << "cannot open: ";
        Print(err, path);
        err << "\n";
        return std::nullopt;
    }
    return MatchPatterns(library, sample.Sample());
}

} // namespace orx::cli
