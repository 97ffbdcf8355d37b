#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orx {

// Routes the files of one drop: the first that opens here when no document was open, every
// other one to a new instance. A drop never replaces the open document.
class DropRouter {
public:
    explicit DropRouter(bool documentOpenAtDrop) : openHere_(!documentOpenAtDrop) {}
    // True: open the next file here and report the result; false: start a new instance.
    [[nodiscard]] bool OpenHere() const { return openHere_; }
    void ReportOpened(bool opened)
    {
        if (opened) {
            openHere_ = false;
        }
    }

private:
    bool openHere_;
};

// Whether unsaved edits must be confirmed before the document goes away.
[[nodiscard]] constexpr bool NeedsSaveConfirmation(bool documentOpen, bool modified)
{
    return documentOpen && modified;
}

enum class ConfirmAnswer { Yes, No, Cancel };

// The save-confirmation outcome: Yes goes on only if the save succeeded (`save` is called
// only for Yes), No goes on discarding the edits, Cancel stops.
template <typename SaveFunction>
[[nodiscard]] bool ProceedAfterConfirmation(ConfirmAnswer answer, SaveFunction&& save)
{
    switch (answer) {
    case ConfirmAnswer::Yes: return save();
    case ConfirmAnswer::No: return true;
    case ConfirmAnswer::Cancel: break;
    }
    return false;
}

// The failed-save message: the localized text, and the system's reason after a blank line.
[[nodiscard]] std::u16string SaveFailureMessage(const std::u16string& failedText,
                                                const std::u16string& lastError);

// The start-up file from the split command line (argument 0 is the executable): the first
// argument when present and not empty; further arguments are ignored.
[[nodiscard]] std::optional<std::u16string>
StartupPathFromArguments(const std::vector<std::u16string>& arguments);

// The command line of a second instance: "exe" "file", each in double quotes.
[[nodiscard]] std::u16string NewInstanceCommandLine(const std::u16string& executablePath,
                                                    const std::u16string& filePath);

// Go to's initial text: the caret offset in upper-case hexadecimal without leading zeros.
[[nodiscard]] std::u16string GoToInitialText(std::uint64_t caretOffset);

} // namespace orx
