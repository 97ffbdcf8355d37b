#include "ui/win/GraphicsFactories.h"

#include <windows.h>

namespace orx::win {
namespace {

// The entry point `name` of a system DLL, loaded once and kept for the process's life.
FARPROC SystemFunction(const wchar_t* dll, const char* name)
{
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

} // namespace

Microsoft::WRL::ComPtr<ID2D1Factory> CreateDirect2DFactory()
{
    using Create = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    Microsoft::WRL::ComPtr<ID2D1Factory> factory;
    const auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(SystemFunction(L"d2d1.dll", "D2D1CreateFactory")));
    if (create != nullptr) {
        (void)create(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                     reinterpret_cast<void**>(factory.GetAddressOf()));
    }
    return factory;
}

Microsoft::WRL::ComPtr<IDWriteFactory> CreateDirectWriteFactory()
{
    using Create = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);
    Microsoft::WRL::ComPtr<IDWriteFactory> factory;
    const auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(SystemFunction(L"dwrite.dll", "DWriteCreateFactory")));
    if (create != nullptr) {
        (void)create(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                     reinterpret_cast<IUnknown**>(factory.GetAddressOf()));
    }
    return factory;
}

} // namespace orx::win
