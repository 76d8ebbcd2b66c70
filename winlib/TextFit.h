#pragma once

// How a dialog makes room for texts that its font draws larger than the template planned:
// plain arithmetic on the controls' rectangles, free of the window system.

#include "Placement.h"

#include <cstddef>

// Where a control's text stands in it, and so which way the control grows.
enum class TextAlign { Left, Centre, Right };

// One control of a dialog: where it stands (client coordinates) and what its text needs.
struct ControlFit {
    PixelRect rect;
    int neededWidth = 0, neededHeight = 0;  // 0: as it is
    // A centred or right-aligned text keeps its place: its control grows to the left too,
    // as far as there is room before it.
    TextAlign align = TextAlign::Left;
    // A group box: it grows with the controls it frames, and they move with it.
    bool frames = false;
    // Filled in: how far it moves to make room for the controls before it that grew, and
    // how much of its own growth goes to the left.
    int dx = 0, dy = 0, leftward = 0;
};

struct ClientSize {
    int width, height;
};

namespace winlib_detail {

constexpr bool SpansOverlap(int a0, int a1, int b0, int b1) { return a0 < b1 && b0 < a1; }
constexpr int Larger(int a, int b) { return a > b ? a : b; }
constexpr int Smaller(int a, int b) { return a < b ? a : b; }

// How much wider and higher a control becomes; a control never shrinks.
constexpr int WidthGrowth(const ControlFit& c) { return Larger(0, c.neededWidth - c.rect.Width()); }
constexpr int HeightGrowth(const ControlFit& c) { return Larger(0, c.neededHeight - c.rect.Height()); }
// Its right and bottom edges once moved and grown.
constexpr int NewRight(const ControlFit& c) { return c.rect.right + c.dx + WidthGrowth(c) - c.leftward; }
constexpr int NewBottom(const ControlFit& c) { return c.rect.bottom + c.dy + HeightGrowth(c); }

constexpr bool LeftOf(const PixelRect& a, const PixelRect& b)
{
    return a.right <= b.left && SpansOverlap(a.top, a.bottom, b.top, b.bottom);
}
constexpr bool Above(const PixelRect& a, const PixelRect& b)
{
    return a.bottom <= b.top && SpansOverlap(a.left, a.right, b.left, b.right);
}
constexpr bool Inside(const PixelRect& a, const PixelRect& b)
{
    return a.left >= b.left && a.right <= b.right && a.top >= b.top && a.bottom <= b.bottom;
}

// Raises `value` to at least `least`; true when it changed.
constexpr bool Raise(int& value, int least) { return least > value ? (value = least, true) : false; }

// Passes pushes on one step: a control moves by the most that any control before it, in
// its row (or column), moved and grew. True when anything moved.
template <class Before, class PushOf, class Shift>
constexpr bool PassPushesOn(ControlFit* controls, std::size_t count, Before before, PushOf pushOf, Shift shift)
{
    bool moved = false;
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = 0; j < count; ++j)
            if (j != i && before(controls[j].rect, controls[i].rect))
                moved |= Raise(shift(controls[i]), pushOf(controls[j]));
    return moved;
}

// A group box keeps its margins around what it frames, and what it frames moves with it.
// True when anything changed.
constexpr bool KeepFramesAround(ControlFit* controls, std::size_t count)
{
    bool changed = false;
    for (std::size_t g = 0; g < count; ++g) {
        ControlFit& frame = controls[g];
        if (!frame.frames)
            continue;
        int right = frame.rect.left, bottom = frame.rect.top, newRight = 0, newBottom = 0;
        for (std::size_t f = 0; f < count; ++f) {
            ControlFit& framed = controls[f];
            if (f == g || !Inside(framed.rect, frame.rect))
                continue;
            changed |= Raise(framed.dx, frame.dx) | Raise(framed.dy, frame.dy);
            right = Larger(right, framed.rect.right), newRight = Larger(newRight, NewRight(framed));
            bottom = Larger(bottom, framed.rect.bottom), newBottom = Larger(newBottom, NewBottom(framed));
        }
        changed |= Raise(frame.neededWidth, newRight + frame.rect.right - right - frame.rect.left - frame.dx);
        changed |= Raise(frame.neededHeight, newBottom + frame.rect.bottom - bottom - frame.rect.top - frame.dy);
    }
    return changed;
}

}  // namespace winlib_detail

// Gives each control the size its text needs, moves what stands to the right of a control
// that grew wider, or below one that grew higher, on by as much (keeping the gaps between
// them), and returns the client area's new size; each rect is then the control's new
// place. Where every text fits, nothing moves.
constexpr ClientSize FitControls(ControlFit* controls, std::size_t count, ClientSize client)
{
    using namespace winlib_detail;
    // An aligned text's room to the left: up to what stands before it, not into the margin.
    int margin = client.width;
    for (std::size_t i = 0; i < count; ++i)
        margin = Smaller(margin, controls[i].rect.left);
    for (std::size_t i = 0; i < count; ++i) {
        ControlFit& c = controls[i];
        int edge = margin;
        for (std::size_t j = 0; j < count; ++j)
            if (LeftOf(controls[j].rect, c.rect))
                edge = Larger(edge, controls[j].rect.right);
        c.leftward = Larger(0, Smaller(WidthGrowth(c) * static_cast<int>(c.align) / 2, c.rect.left - edge));
    }
    // Pushes pass on down rows and columns, and frames grow, until nothing moves.
    for (std::size_t round = 0; round <= count * count; ++round) {
        bool moved = PassPushesOn(
            controls, count, LeftOf, [](const ControlFit& c) { return NewRight(c) - c.rect.right; },
            [](ControlFit& c) -> int& { return c.dx; });
        moved |= PassPushesOn(
            controls, count, Above, [](const ControlFit& c) { return NewBottom(c) - c.rect.bottom; },
            [](ControlFit& c) -> int& { return c.dy; });
        if (!(KeepFramesAround(controls, count) | moved))
            break;
    }

    int right = 0, bottom = 0, newRight = 0, newBottom = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ControlFit& c = controls[i];
        right = Larger(right, c.rect.right), newRight = Larger(newRight, NewRight(c));
        bottom = Larger(bottom, c.rect.bottom), newBottom = Larger(newBottom, NewBottom(c));
        c.rect = {c.rect.left + c.dx - c.leftward, c.rect.top + c.dy, NewRight(c), NewBottom(c)};
    }
    // The margin between the controls and the client area's edge stays as it was.
    return {Larger(client.width, newRight + Larger(0, client.width - right)),
            Larger(client.height, newBottom + Larger(0, client.height - bottom))};
}
