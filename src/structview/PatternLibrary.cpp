#include "structview/PatternLibrary.h"

#include "platform/PathText.h"
#include "structview/PatternText.h"
#include "structview/StructPatternFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace orx {
namespace {

std::vector<std::filesystem::path> PatternFilesIn(const std::u16string& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(std::filesystem::path(folder), error), end;
         !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".orpat" && it->is_regular_file(error)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

LibraryPattern Describe(const std::filesystem::path& path)
{
    LibraryPattern pattern;
    pattern.path = path.u16string();
    pattern.fileName = platform::FileNameOfPath(pattern.path);
    StructPatternFile file;
    if (!LoadStructPatternFile(pattern.path, file, pattern.error)) {
        pattern.title = pattern.fileName;
        return pattern;
    }
    pattern.title = file.title.empty() ? pattern.fileName : file.title;
    pattern.category = file.category;
    pattern.extensions = file.extensions;
    pattern.signatures = file.signatures;
    pattern.hasAnchor = file.hasAnchor;
    pattern.anchor = file.anchor;
    return pattern;
}

// Where `signature` starts in the file when its bytes are there, or nothing.
std::optional<std::uint64_t> SignatureAt(const PatternSignature& signature,
                                         const FileSample& sample)
{
    const std::uint64_t length = signature.bytes.size();
    std::span<const std::uint8_t> bytes;
    std::uint64_t start = 0;
    if (signature.fromEnd) {
        if (signature.offset > sample.size || signature.offset > sample.tail.size()) {
            return std::nullopt;
        }
        start = sample.size - signature.offset;
        bytes = sample.tail.subspan(sample.tail.size() - signature.offset, length);
    } else {
        if (signature.offset > sample.head.size() ||
            length > sample.head.size() - signature.offset) {
            return std::nullopt;
        }
        start = signature.offset;
        bytes = sample.head.subspan(signature.offset, length);
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (signature.bytes[i] != PatternSignature::kAnyByte && signature.bytes[i] != bytes[i]) {
            return std::nullopt;
        }
    }
    return start;
}

bool HasExtension(const LibraryPattern& pattern, std::u16string_view extension)
{
    if (extension.empty()) {
        return false;
    }
    const std::u16string key = NormalizeName(extension);
    return std::find(pattern.extensions.begin(), pattern.extensions.end(), key) !=
           pattern.extensions.end();
}

} // namespace

PatternLibrary ScanPatternFolders(std::span<const std::u16string> folders)
{
    PatternLibrary library;
    for (const std::u16string& folder : folders) {
        for (const std::filesystem::path& path : PatternFilesIn(folder)) {
            LibraryPattern pattern = Describe(path);
            const auto same = std::find_if(
                library.patterns.begin(), library.patterns.end(),
                [&](const LibraryPattern& p) { return p.fileName == pattern.fileName; });
            if (same != library.patterns.end()) {
                *same = std::move(pattern);
            } else {
                library.patterns.push_back(std::move(pattern));
            }
        }
    }
    for (const LibraryPattern& pattern : library.patterns) {
        for (const PatternSignature& signature : pattern.signatures) {
            const std::uint64_t reach =
                signature.fromEnd ? signature.offset : signature.offset + signature.bytes.size();
            std::size_t& bytes = signature.fromEnd ? library.tailBytes : library.headBytes;
            bytes = static_cast<std::size_t>(std::max<std::uint64_t>(
                bytes, std::min<std::uint64_t>(reach, kPatternSampleBytes)));
        }
    }
    return library;
}

std::vector<PatternMatch> MatchPatterns(const PatternLibrary& library, const FileSample& sample)
{
    std::vector<PatternMatch> matches;
    for (std::size_t i = 0; i < library.patterns.size(); ++i) {
        const LibraryPattern& pattern = library.patterns[i];
        std::optional<PatternMatch> best;
        for (const PatternSignature& signature : pattern.signatures) {
            const std::optional<std::uint64_t> start = SignatureAt(signature, sample);
            if (!start || (best && best->specificity >= signature.FixedBytes())) {
                continue;
            }
            const std::uint64_t offset =
                pattern.hasAnchor ? pattern.anchor : (signature.fromEnd ? *start : 0);
            best = PatternMatch{i, offset, signature.FixedBytes(), false};
        }
        if (best) {
            best->extensionMatches = HasExtension(pattern, sample.extension);
            matches.push_back(*best);
        }
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const PatternMatch& a, const PatternMatch& b) {
                         if (a.specificity != b.specificity) {
                             return a.specificity > b.specificity;
                         }
                         return a.extensionMatches && !b.extensionMatches;
                     });
    return matches;
}

std::string_view PatternCategoryKey(std::u16string_view category)
{
    static constexpr std::pair<std::u16string_view, std::string_view> kKeys[] = {
        {u"executables", "structview.category.executables"},
        {u"images", "structview.category.images"},
        {u"media", "structview.category.media"},
        {u"archives", "structview.category.archives"},
        {u"disks", "structview.category.disks"},
        {u"data", "structview.category.data"},
    };
    for (const auto& [id, key] : kKeys) {
        if (id == category) {
            return key;
        }
    }
    return {};
}

bool ReadFileSample(platform::FileSystem& fs, const std::u16string& path, FileSampleBuffer& out,
                    std::size_t headBytes, std::size_t tailBytes)
{
    headBytes = std::min(headBytes, kPatternSampleBytes);
    tailBytes = std::min(tailBytes, kPatternSampleBytes);
    const platform::NativeFile file = fs.OpenForRead(path);
    std::uint64_t size = 0;
    if (!file.IsOpen() || !fs.GetSize(file, size)) {
        return false;
    }
    auto read = [&](std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& bytes) {
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size - offset, count)));
        std::uint32_t got = 0;
        const bool ok = bytes.empty() || fs.ReadAt(file, offset, bytes.data(),
                                                   static_cast<std::uint32_t>(bytes.size()), got);
        bytes.resize(got);
        return ok;
    };
    out.size = size;
    const std::u16string name = platform::FileNameOfPath(path);
    const std::size_t dot = name.rfind(u'.');
    out.extension = dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
    if (!read(0, headBytes, out.head)) {
        return false;
    }
    // A file the head holds whole has its tail there: no second read.
    if (size <= out.head.size()) {
        const std::size_t tail = std::min(out.head.size(), tailBytes);
        out.tail.assign(out.head.end() - static_cast<std::ptrdiff_t>(tail), out.head.end());
        return true;
    }
    return read(size - std::min<std::uint64_t>(size, tailBytes), tailBytes, out.tail);
}

} // namespace orx
