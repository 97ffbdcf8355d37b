#include "hexview/ViewInput.h"

namespace orx {

ViewEffects& ViewEffects::operator|=(const ViewEffects& other)
{
    repaint |= other.repaint;
    dropDeviceResources |= other.dropDeviceResources;
    scrollBars |= other.scrollBars;
    viewChanged |= other.viewChanged;
    editBlocked |= other.editBlocked;
    zoomChanged |= other.zoomChanged;
    copyRefused |= other.copyRefused;
    copySelection |= other.copySelection;
    blinkTimer |= other.blinkTimer;
    setFocus |= other.setFocus;
    captureMouse |= other.captureMouse;
    releaseCapture |= other.releaseCapture;
    return *this;
}

std::optional<std::int64_t> ScrollTarget(ScrollRequest request, std::int64_t current,
                                         std::int64_t line, std::int64_t page, std::int32_t track,
                                         std::int64_t end)
{
    switch (request) {
    case ScrollRequest::LineBack: return current - line;
    case ScrollRequest::LineForward: return current + line;
    case ScrollRequest::PageBack: return current - page;
    case ScrollRequest::PageForward: return current + page;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack: return track;
    case ScrollRequest::Start: return 0;
    case ScrollRequest::End: return end;
    case ScrollRequest::EndScroll: break;
    }
    return std::nullopt;
}

} // namespace orx
