#pragma once

// Where the class library puts a dialog that did not place itself: plain arithmetic.

// A rectangle in pixels: on the screen for placement, in a dialog's client area for the fit.
struct PixelRect {
    int left, top, right, bottom;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
};

struct PixelPoint {
    int x, y;
};

namespace winlib_detail {

// The start of a span of `length` centred on [from, to), moved into [low, high); a longer one starts at `low`.
constexpr int CentredWithin(int length, int from, int to, int low, int high)
{
    int start = from + (to - from - length) / 2;
    if (start + length > high)
        start = high - length;
    if (start < low)
        start = low;
    return start;
}

}  // namespace winlib_detail

// The top-left corner of a window of this size centred over `reference` (its owner, or the work area), in `workArea`.
constexpr PixelPoint CentredPosition(int width, int height, const PixelRect& reference, const PixelRect& workArea)
{
    using winlib_detail::CentredWithin;
    return {CentredWithin(width, reference.left, reference.right, workArea.left, workArea.right),
            CentredWithin(height, reference.top, reference.bottom, workArea.top, workArea.bottom)};
}
