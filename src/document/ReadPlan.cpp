#include "document/ReadPlan.h"

#include <algorithm>

namespace orx {

void ReadPlan::AddFileBytes(std::uint64_t fileOffset, std::uint64_t count)
{
    if (count == 0) {
        return;
    }
    pieces_.push_back({true, fileOffset, count});
    size_ += count;
}

void ReadPlan::AddBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) {
        return;
    }
    pieces_.push_back({false, bytes_.size(), bytes.size()});
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    size_ += bytes.size();
}

void ReadPlan::AddOverwrite(std::uint64_t position, std::uint8_t value)
{
    if (patches_.empty() || patches_.back().position + patches_.back().length != position ||
        patches_.back().from + patches_.back().length != bytes_.size()) {
        patches_.push_back({position, 0, bytes_.size()});
    }
    ++patches_.back().length;
    bytes_.push_back(value);
}

std::uint64_t ReadPlan::ReadInto(std::uint8_t* out) const
{
    std::uint64_t done = 0;
    for (const Piece& piece : pieces_) {
        if (!piece.fromFile) {
            std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(piece.from), piece.length,
                        out + done);
            done += piece.length;
            continue;
        }
        bool whole = file_ != nullptr;
        for (std::uint64_t at = 0; whole && at < piece.length;) {
            const auto step =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(piece.length - at, kReadStep));
            std::uint32_t got = 0;
            whole = file_->ReadAt(piece.from + at, out + done, step, got) && got == step;
            at += got;
            done += got;
        }
        if (!whole) {
            break; // an unreadable file byte ends the result here
        }
    }
    for (const Patch& patch : patches_) {
        if (patch.position >= done) {
            break;
        }
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(patch.from),
                    std::min(patch.length, done - patch.position), out + patch.position);
    }
    return done;
}

} // namespace orx
