// orlin-cli bookmarks FILE [--json]: the regions the editor keeps for FILE.
#include "bookmarks/BookmarkStore.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "platform/Utf.h"
#include "settings/SettingsJson.h"
#include "settings/SettingsLocation.h"

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli bookmarks FILE [--json] [--bookmarks-file PATH]\n"
    "Lists the regions the editor keeps for FILE, one line each: the offset (hexadecimal),\n"
    "the length (decimal), the colour and the note. --json prints an object instead.\n"
    "--bookmarks-file reads another bookmarks file than the one beside the settings.\n"
    "Exits 0 with regions, 1 without, 2 when the bookmarks file is damaged or unreadable.\n";

void PrintJson(std::ostream& out, const std::u16string& file, const std::vector<Region>& regions)
{
    std::string text = "{\"file\": \"" + EscapeJsonString(file) + "\", \"regions\": ";
    AppendRegionsJson(text, regions, "");
    out << text << "}\n";
}

} // namespace

int RunBookmarks(const Invocation& invocation)
{
    const std::optional<SplitArgs> split =
        Split(invocation.args, {u"--json"}, {u"--bookmarks-file"});
    if (!split || split->positional.size() != 1) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    platform::FileSystem& fs = platform::SystemFileSystem();
    const std::u16string file = AbsolutePath(split->positional[0], fs.CurrentDirectory());
    const std::u16string* storePath = split->Value(u"--bookmarks-file");
    const BookmarkStore store(storePath ? *storePath : BookmarksPathBeside(ComputeSettingsPath()));
    const BookmarksRead read = store.Read(false);
    if (read.status == BookmarksRead::Status::Damaged ||
        read.status == BookmarksRead::Status::Unreadable) {
        invocation.err << (read.status == BookmarksRead::Status::Damaged ? "damaged" : "unreadable")
                       << " bookmarks file: ";
        Print(invocation.err, store.Path());
        invocation.err << "\n";
        return kExitRefused;
    }
    const FileRegions* entry = nullptr;
    for (const FileRegions& candidate : read.files) {
        if (SamePath(candidate.path, file)) {
            entry = &candidate;
        }
    }
    const std::vector<Region> none;
    const std::vector<Region>& regions = entry ? entry->regions : none;
    platform::FileStamp stamp;
    if (entry && fs.StampOfPath(file, stamp) &&
        FileIdentity{stamp.size, stamp.lastWrite} != entry->identity) {
        invocation.err << "note: the file changed since its regions were saved\n";
    }
    if (split->flags.contains(u"--json")) {
        PrintJson(invocation.out, file, regions);
    } else {
        for (const Region& region : regions) {
            invocation.out << FormatOffset(region.offset) << ' ' << region.length << ' '
                           << RegionColourName(region.colour) << ' ';
            Print(invocation.out, region.note);
            invocation.out << '\n';
        }
    }
    return regions.empty() ? kExitNotFound : kExitOk;
}

} // namespace orx::cli
