#include "locate/position_markers.h"

namespace vantrel {

std::array<Marker, 4> MarkerPositions(const Rect& r, int s) {
    return {{
        {kFirstMarkerImage + 0, {r.left - s, r.top - s}, {r.left - 1, r.top - 1}},
        {kFirstMarkerImage + 1, {r.right, r.top - s}, {r.right, r.top - 1}},
        {kFirstMarkerImage + 2, {r.right, r.bottom}, {r.right, r.bottom}},
        {kFirstMarkerImage + 3, {r.left - s, r.bottom}, {r.left - 1, r.bottom}},
    }};
}

std::optional<std::array<Marker, 4>> MarkersFor(Desktop& desktop, Handle window, int size) {
    // Handle 0 is no window: the platform would answer with the desktop's own
    // rectangle, and arrows around the whole screen mark nothing.
    if (window == 0) return std::nullopt;
    const std::optional<Rect> rect = desktop.windowRect(window);
    if (!rect) return std::nullopt;
    return MarkerPositions(*rect, size);
}

}  // namespace vantrel
