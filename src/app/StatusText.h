#pragma once

#include "localization/StringLookup.h"
#include "hexview/TextEncoding.h"
#include "ui/Theme.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orx {

// Everything the status bar text depends on.
struct StatusInputs {
    bool flashActive = false;
    std::u16string flashText;
    bool saving = false;
    std::u16string saveProgressText;
    bool searching = false;
    std::u16string searchProgressText;
    bool documentOpen = false;
    // What happened to the file on disk (reloaded, deleted), shown before the document's
    // fields; empty: nothing.
    std::u16string notice;
    std::uint64_t documentSize = 0; // edited size
    bool modified = false;
    std::uint64_t caretOffset = 0;
    // The selection [selectionLow, selectionHigh], when there is one.
    bool hasSelection = false;
    std::uint64_t selectionLow = 0;
    std::uint64_t selectionHigh = 0;
    TextEncoding encoding = TextEncoding::Ascii;
    bool editingEnabled = false;
    bool insertMode = false;
    float zoom = 1.0f;
    std::u16string hits; // "1,234 hits" while Find All's list is shown; empty otherwise
};

// The status bar's text: the flash, a progress text, the no-file text, or a notice followed
// by the offset (hexadecimal and decimal), the selection's ends and length, encoding, mode
// (or read-only), modified mark and zoom.
[[nodiscard]] std::u16string BuildStatusText(const StatusInputs& inputs,
                                             const StringLookup& lookup);

// The caret offset as "0x" and 8 upper-case digits below 4 GiB, 16 from 4 GiB on.
[[nodiscard]] std::u16string FormatStatusOffset(std::uint64_t offset, std::uint64_t documentSize);

// "Selection: 0x10–0x1F, 16 bytes (0x10)" for the bytes [low, high].
[[nodiscard]] std::u16string FormatSelection(std::uint64_t low, std::uint64_t high,
                                             const StringLookup& lookup);

// The zoom factor as a rounded percentage ("125%").
[[nodiscard]] std::u16string FormatZoomPercent(float zoom);

// The main window title: app.title, and with a document " - " file name, " (deleted)" (its
// text from the table) when the file has lost its name, and " *" when it has unsaved edits.
// Without an open document (also after a failed open) the title is the application name alone.
[[nodiscard]] std::u16string BuildTitleText(bool documentOpen, const std::u16string& path,
                                            bool modified, const StringLookup& lookup,
                                            bool fileDeleted = false);

// Status bar colours as COLORREF values (0x00BBGGRR). No background means the system's
// button-face colour.
struct StatusBarColors {
    std::optional<std::uint32_t> background;
    std::uint32_t text = 0;
    friend bool operator==(const StatusBarColors&, const StatusBarColors&) = default;
};

[[nodiscard]] StatusBarColors StatusBarColorsFor(Theme theme, bool flashActive);

} // namespace orx
