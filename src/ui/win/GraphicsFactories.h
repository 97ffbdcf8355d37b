#pragma once

// Direct2D and DirectWrite, loaded when first asked for rather than with the program. Under
// Wine, loading Direct2D at process start brings its Direct3D and OpenGL stack in before
// the entry point runs; loaded on demand, that cost comes after the window is up.
#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

namespace orx::win {

// A single-threaded Direct2D factory; null when Direct2D cannot be loaded.
[[nodiscard]] Microsoft::WRL::ComPtr<ID2D1Factory> CreateDirect2DFactory();

// The shared DirectWrite factory; null when DirectWrite cannot be loaded.
[[nodiscard]] Microsoft::WRL::ComPtr<IDWriteFactory> CreateDirectWriteFactory();

} // namespace orx::win
