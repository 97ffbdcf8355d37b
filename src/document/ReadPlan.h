#pragma once

#include "document/FileReadGate.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orx {

// A read of the document taken on the UI thread and carried out on a worker while the edits
// go on: the edited bytes of the range (insertions, overwritten bytes) are copied when the
// plan is made, the file's own bytes are read later through the file's gate. Making a plan
// costs the edits it crosses, not the bytes it reads.
class ReadPlan {
public:
    ReadPlan() = default;
    explicit ReadPlan(std::shared_ptr<const FileReadGate> file) : file_(std::move(file)) {}

    // The next `count` bytes come from the file at `fileOffset`.
    void AddFileBytes(std::uint64_t fileOffset, std::uint64_t count);
    // The next bytes are these (copied).
    void AddBytes(std::span<const std::uint8_t> bytes);
    // The byte at `position` of the result is `value`, whatever the file holds there.
    void AddOverwrite(std::uint64_t position, std::uint8_t value);

    [[nodiscard]] std::uint64_t Size() const { return size_; }

    // Reads the planned bytes into out[0, Size()) and returns how many were delivered: fewer
    // when a file read fails or the file was closed since, the result ending there.
    std::uint64_t ReadInto(std::uint8_t* out) const;

private:
    struct Piece {
        bool fromFile = false;
        std::uint64_t from = 0; // file offset, or index into bytes_
        std::uint64_t length = 0;
    };
    // The most one file read takes, so that a close waits for no more than this.
    static constexpr std::uint32_t kReadStep = 1u << 20;

    // Overwritten bytes in a row: one entry per run, not per byte (a pasted megabyte).
    struct Patch {
        std::uint64_t position = 0; // in the result
        std::uint64_t length = 0;
        std::uint64_t from = 0; // index into bytes_
    };

    std::shared_ptr<const FileReadGate> file_;
    std::vector<Piece> pieces_;
    std::vector<Patch> patches_;      // ascending positions
    std::vector<std::uint8_t> bytes_; // inserted and overwritten bytes, as added
    std::uint64_t size_ = 0;
};

} // namespace orx
