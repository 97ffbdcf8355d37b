// What Windows reads from orlin.exe and orlin-cli.exe themselves: the version information
// that Explorer shows, and the manifest that selects the themed common controls.
#include "platform/Utf.h"
#include "platform/win32/WinString.h"
#include "settings/AppSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace orx {
namespace {

std::vector<std::u16string> Executables()
{
    const char* dir = std::getenv("ORX_BINARY_DIR");
    if (dir == nullptr) {
        ADD_FAILURE() << "run through ctest";
        return {};
    }
    const std::u16string build = platform::Widen(dir);
    return {build + u"/src/app/win/orlin.exe", build + u"/src/cli/orlin-cli.exe"};
}

std::u16string VersionString(const std::vector<unsigned char>& block, const wchar_t* name)
{
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) {
        return {};
    }
    return win::FromW(static_cast<const wchar_t*>(value));
}

TEST(ShippedExecutables, CarryTheProductVersion)
{
    // The version the settings file records, without its "v".
    const std::u16string version(kAppVersion.substr(1));
    for (const std::u16string& path : Executables()) {
        SCOPED_TRACE(platform::Narrow(path));
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(win::W(path), &ignored);
        ASSERT_GT(size, 0u);
        std::vector<unsigned char> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(win::W(path), 0, size, block.data()));
        EXPECT_EQ(VersionString(block, L"ProductName"), u"Orlin");
        EXPECT_EQ(VersionString(block, L"ProductVersion"), version);
        EXPECT_EQ(VersionString(block, L"FileVersion"), version);
        EXPECT_FALSE(VersionString(block, L"FileDescription").empty());
        EXPECT_FALSE(VersionString(block, L"LegalCopyright").empty());

        void* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &fixed, &length));
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        // "1.03" is file version 1.3.
        const std::string text = platform::Narrow(version);
        const std::size_t dot = text.find('.');
        ASSERT_NE(dot, std::string::npos);
        EXPECT_EQ(HIWORD(info->dwFileVersionMS), std::stoul(text.substr(0, dot)));
        EXPECT_EQ(LOWORD(info->dwFileVersionMS), std::stoul(text.substr(dot + 1)));
    }
}

// An activation context made from the executable's embedded manifest, as Windows makes one
// when it starts the program.
class ManifestContext {
public:
    explicit ManifestContext(const std::u16string& executable)
    {
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = win::W(executable);
        request.lpResourceName = MAKEINTRESOURCEW(1); // CREATEPROCESS_MANIFEST_RESOURCE_ID
        context_ = CreateActCtxW(&request);
        if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    ~ManifestContext()
    {
        if (context_ != INVALID_HANDLE_VALUE) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(context_);
        }
    }
    ManifestContext(const ManifestContext&) = delete;
    ManifestContext& operator=(const ManifestContext&) = delete;

    [[nodiscard]] bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// The identity of the assembly that supplies `dll` in the active context, such as
// Microsoft.Windows.Common-Controls,...,version="6.0.2600.2982"; empty when none does.
std::u16string RedirectingAssembly(const wchar_t* dll)
{
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    if (!FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                  ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, dll, &data)) {
        return {};
    }
    std::vector<unsigned char> buffer(4096);
    SIZE_T needed = 0;
    std::u16string identity;
    DWORD index = data.ulAssemblyRosterIndex;
    if (QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext,
                     buffer.data(), buffer.size(), &needed)) {
        const auto* info =
            reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(
                buffer.data());
        if (info->lpAssemblyEncodedAssemblyIdentity != nullptr) {
            identity = win::FromW(info->lpAssemblyEncodedAssemblyIdentity);
        }
    }
    ReleaseActCtx(data.hActCtx);
    return identity;
}

TEST(ShippedExecutables, ManifestSelectsCommonControlsSix)
{
    EXPECT_EQ(RedirectingAssembly(L"comctl32.dll"), u"")
        << "the test program has a manifest of its own";
    for (const std::u16string& path : Executables()) {
        SCOPED_TRACE(platform::Narrow(path));
        const ManifestContext context(path);
        ASSERT_TRUE(context.Active()) << "no valid manifest resource, error " << GetLastError();
        const std::string identity = platform::Narrow(RedirectingAssembly(L"comctl32.dll"));
        EXPECT_NE(identity.find("Microsoft.Windows.Common-Controls"), std::string::npos)
            << identity;
        EXPECT_NE(identity.find("version=\"6."), std::string::npos) << identity;
    }
}

} // namespace
} // namespace orx
