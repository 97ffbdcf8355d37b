#pragma once

// Direct2D drawing into a 32-bit memory bitmap whose pixels the tests read back.
#include "hexview/win/HexPainter.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

namespace orx::test {

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas()
    {
        target_.Reset();
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    [[nodiscard]] bool Ready() const { return bits_ != nullptr; }

    // The memory DC the bitmap is selected into, for drawing with GDI.
    [[nodiscard]] HDC Dc() const { return dc_; }

    // Paints `frame` as the hex view does; false when drawing failed.
    bool Draw(IDWriteFactory& factory, IDWriteTextFormat& format, const win::GridFont* grid,
              const PaintModel& frame)
    {
        // Made on the first drawing only: under Wine a Direct2D factory takes a while.
        if (!target_) {
            D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory_.GetAddressOf());
            const auto properties = D2D1::RenderTargetProperties(
                D2D1_RENDER_TARGET_TYPE_DEFAULT,
                D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE), 96.0f,
                96.0f);
            if (!factory_ || FAILED(factory_->CreateDCRenderTarget(&properties, &target_))) {
                return false;
            }
        }
        RECT area{0, 0, width_, height_};
        if (FAILED(target_->BindDC(dc_, &area))) {
            return false;
        }
        target_->BeginDraw();
        const bool drawn = win::DrawPaintModel(*target_.Get(), factory, format, grid, frame);
        return SUCCEEDED(target_->EndDraw()) && drawn;
    }

    // 0x00RRGGBB
    [[nodiscard]] std::uint32_t Pixel(int x, int y) const
    {
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
    }

    [[nodiscard]] std::vector<std::uint32_t> Pixels() const
    {
        const auto* begin = static_cast<const std::uint32_t*>(bits_);
        std::vector<std::uint32_t> pixels(begin, begin + width_ * height_);
        for (auto& pixel : pixels) {
            pixel &= 0xFFFFFF;
        }
        return pixels;
    }

    // Pixels inside [left, right) × [top, bottom) that differ from `background`.
    [[nodiscard]] int Ink(float left, float top, float right, float bottom,
                          std::uint32_t background) const
    {
        int count = 0;
        for (int y = std::max(0, static_cast<int>(top));
             y < std::min(height_, static_cast<int>(bottom)); ++y) {
            for (int x = std::max(0, static_cast<int>(left));
                 x < std::min(width_, static_cast<int>(right)); ++x) {
                count += Pixel(x, y) != background ? 1 : 0;
            }
        }
        return count;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
    Microsoft::WRL::ComPtr<ID2D1Factory> factory_;
    Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> target_;
};

} // namespace orx::test
