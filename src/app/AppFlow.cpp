#include "app/AppFlow.h"

#include "app/StatusText.h"
#include "text/HexFormat.h"

namespace orx {

std::u16string SaveFailureMessage(const std::u16string& failedText, const std::u16string& lastError)
{
    if (lastError.empty()) {
        return failedText;
    }
    return failedText + u"\r\n\r\n" + lastError;
}

std::optional<std::u16string> StartupPathFromArguments(const std::vector<std::u16string>& arguments)
{
    if (arguments.size() < 2 || arguments[1].empty()) {
        return std::nullopt;
    }
    return arguments[1];
}

std::u16string NewInstanceCommandLine(const std::u16string& executablePath,
                                      const std::u16string& filePath)
{
    return u"\"" + executablePath + u"\" \"" + filePath + u"\"";
}

std::u16string GoToInitialText(std::uint64_t caretOffset)
{
    return UpperHex(caretOffset, 1);
}

} // namespace orx
