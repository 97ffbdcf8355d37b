#pragma once

// Turning a requested font family into one that actually draws. A DirectWrite text format
// whose family is not installed draws nothing at all (Wine has neither Consolas nor Segoe
// UI), and Wine's own system fallback does not reach the installed CJK fonts, so both are
// resolved here against the system collection.
#include <windows.h>

#include <dwrite_2.h>
#include <wrl/client.h>

#include <span>
#include <string>

namespace orx::win {

using Microsoft::WRL::ComPtr;

enum class FontRole {
    Monospace, // the hex view's cells
    Interface, // labels and lists of the tool windows
};

// The families tried, in order, when the requested one is missing.
[[nodiscard]] std::span<const wchar_t* const> FallbackFamilies(FontRole role);

// Whether the collection has a family of this name (case-insensitive, as DirectWrite matches).
[[nodiscard]] bool HasFontFamily(IDWriteFontCollection& collection, const std::wstring& family);

// `requested` when installed; otherwise the first installed family of the role's list;
// otherwise the collection's first family; `requested` unchanged when nothing can be asked.
[[nodiscard]] std::wstring ResolveFontFamily(IDWriteFactory& factory, const std::wstring& requested,
                                             FontRole role);

// Maps kana, kanji and Hangul to the first installed family of a Japanese and a Korean
// preference list, then defers to the system fallback. Null where the factory predates
// font fallbacks (then the text format keeps the platform default).
[[nodiscard]] ComPtr<IDWriteFontFallback> CreateCjkFontFallback(IDWriteFactory& factory);

struct TextFormatRequest {
    std::wstring family;
    float sizeDips = 16.0f;
    bool bold = false;
    bool italic = false;
    FontRole role = FontRole::Monospace;
};

// A text format in a resolved family, without word wrapping, near/leading aligned, with
// the CJK fallback attached where the platform accepts one. Null on failure.
[[nodiscard]] ComPtr<IDWriteTextFormat> CreateResolvedTextFormat(IDWriteFactory& factory,
                                                                 const TextFormatRequest& request);

} // namespace orx::win
