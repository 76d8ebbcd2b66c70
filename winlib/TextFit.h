#pragma once

// How a dialog makes room for texts that its font draws larger than the template planned:
// plain arithmetic on the controls' rectangles, free of the window system.

#include "Placement.h"

#include <cstddef>

// One control of a dialog: where it stands (client coordinates) and what its text needs.
struct ControlFit {
    PixelRect rect;
    int neededWidth = 0;  // 0: as it is
    int neededHeight = 0;
    // How far it moves to make room for the controls before it that grew (filled in).
    int dx = 0;
    int dy = 0;
};

struct ClientSize {
    int width;
    int height;
};

namespace winlib_detail {

constexpr bool SpansOverlap(int a0, int a1, int b0, int b1) { return a0 < b1 && b0 < a1; }

constexpr int Larger(int a, int b) { return a > b ? a : b; }

// How much wider and higher a control becomes; a control never shrinks.
constexpr int WidthGrowth(const ControlFit& c) { return Larger(0, c.neededWidth - c.rect.Width()); }
constexpr int HeightGrowth(const ControlFit& c) { return Larger(0, c.neededHeight - c.rect.Height()); }

// Passes each push on to what stands beyond the pushed control, until nothing moves: a
// control moves by the most that any control before it, in its row (or column), moved
// and grew. `before(a, b)`: a stands wholly before b and shares its row; `pushOf(a)`: how
// far a pushes what follows it.
template <class Before, class PushOf, class Shift>
constexpr void PassPushesOn(ControlFit* controls, std::size_t count, Before before, PushOf pushOf, Shift shift)
{
    for (std::size_t pass = 0; pass < count; ++pass) {
        bool moved = false;
        for (std::size_t i = 0; i < count; ++i) {
            for (std::size_t j = 0; j < count; ++j) {
                if (j == i || !before(controls[j].rect, controls[i].rect))
                    continue;
                const int push = pushOf(controls[j]);
                if (push > shift(controls[i])) {
                    shift(controls[i]) = push;
                    moved = true;
                }
            }
        }
        if (!moved)
            return;
    }
}

}  // namespace winlib_detail

// Gives each control the size its text needs, moves what stands to the right of a control
// that grew wider, or below one that grew higher, on by as much (keeping the gaps between
// them), and returns the client area's new size, grown by what its controls now need.
// Where every text fits, nothing moves and the size stays. On return each rect is the
// control's new place.
constexpr ClientSize FitControls(ControlFit* controls, std::size_t count, ClientSize client)
{
    using namespace winlib_detail;
    auto leftOf = [](const PixelRect& a, const PixelRect& b) {
        return a.right <= b.left && SpansOverlap(a.top, a.bottom, b.top, b.bottom);
    };
    auto above = [](const PixelRect& a, const PixelRect& b) {
        return a.bottom <= b.top && SpansOverlap(a.left, a.right, b.left, b.right);
    };
    PassPushesOn(
        controls, count, leftOf, [](const ControlFit& c) { return c.dx + WidthGrowth(c); },
        [](ControlFit& c) -> int& { return c.dx; });
    PassPushesOn(
        controls, count, above, [](const ControlFit& c) { return c.dy + HeightGrowth(c); },
        [](ControlFit& c) -> int& { return c.dy; });

    int right = 0, bottom = 0, newRight = 0, newBottom = 0;
    for (std::size_t i = 0; i < count; ++i) {
        PixelRect& r = controls[i].rect;
        right = Larger(right, r.right);
        bottom = Larger(bottom, r.bottom);
        const int width = r.Width() + WidthGrowth(controls[i]);
        const int height = r.Height() + HeightGrowth(controls[i]);
        r = {r.left + controls[i].dx, r.top + controls[i].dy, r.left + controls[i].dx + width,
             r.top + controls[i].dy + height};
        newRight = Larger(newRight, r.right);
        newBottom = Larger(newBottom, r.bottom);
    }
    // The margin between the controls and the client area's edge stays as it was.
    return {Larger(client.width, newRight + Larger(0, client.width - right)),
            Larger(client.height, newBottom + Larger(0, client.height - bottom))};
}
