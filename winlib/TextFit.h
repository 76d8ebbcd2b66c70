#pragma once

// How a dialog makes room for texts its font draws larger than planned: arithmetic on the controls' rectangles.

#include "Placement.h"

#include <cstddef>

// Where a control's text stands in it, and so which way it grows: DT_LEFT, DT_CENTER, DT_RIGHT.
enum class TextAlign { Left, Centre, Right };

// One control of a dialog: where it stands (client coordinates) and what its text needs.
struct ControlFit {
    PixelRect rect;
    int neededWidth = 0, neededHeight = 0;  // 0: as it is
    TextAlign align = TextAlign::Left;      // a centred or right-aligned text keeps its place
    bool frames = false;                    // a group box: it grows with what it frames
    bool shown = true;                      // a hidden control moves, but never makes room
    // Filled in: how far it moves for the controls before it that grew; how much of its own growth goes to the left.
    int dx = 0, dy = 0, leftward = 0;
};

struct ClientSize {
    int width, height;
};

namespace winlib_detail {

constexpr bool SpansOverlap(int a0, int a1, int b0, int b1) { return a0 < b1 && b0 < a1; }
constexpr int Larger(int a, int b) { return a > b ? a : b; }
constexpr int Smaller(int a, int b) { return a < b ? a : b; }

// How much wider and higher a control becomes (never narrower), and its new edges.
constexpr int WidthGrowth(const ControlFit& c) { return Larger(0, c.neededWidth - c.rect.Width()); }
constexpr int HeightGrowth(const ControlFit& c) { return Larger(0, c.neededHeight - c.rect.Height()); }
constexpr int NewRight(const ControlFit& c) { return c.rect.right + c.dx + WidthGrowth(c) - c.leftward; }
constexpr int NewBottom(const ControlFit& c) { return c.rect.bottom + c.dy + HeightGrowth(c); }

// Before it in its row (or column): it starts first and ends before the other begins.
constexpr bool LeftOf(const PixelRect& a, const PixelRect& b)
{
    return a.left < b.left && a.right <= b.left && SpansOverlap(a.top, a.bottom, b.top, b.bottom);
}
constexpr bool Above(const PixelRect& a, const PixelRect& b)
{
    return a.top < b.top && a.bottom <= b.top && SpansOverlap(a.left, a.right, b.left, b.right);
}
constexpr bool Inside(const PixelRect& a, const PixelRect& b)
{
    return a.left >= b.left && a.right <= b.right && a.top >= b.top && a.bottom <= b.bottom;
}
// Shown where the template put it, in the client area: not hidden, not parked beyond it.
constexpr bool InSight(const ControlFit& c, ClientSize client)
{
    return c.shown && c.rect.left < client.width && c.rect.top < client.height && c.rect.right > 0 && c.rect.bottom > 0;
}

// Raises `value` to at least `least`; true when it changed.
constexpr bool Raise(int& value, int least) { return least > value ? (value = least, true) : false; }

// The room an aligned text `i` may take to its left: to the margin of its group box or dialog; none after a neighbour.
constexpr int RoomToTheLeft(const ControlFit* c, std::size_t count, std::size_t i, ClientSize client, int margin)
{
    int edge = margin;
    for (std::size_t g = 0; g < count; ++g) {
        if (g == i || !InSight(c[g], client))
            continue;
        if (LeftOf(c[g].rect, c[i].rect))
            return 0;
        if (!c[g].frames || !Inside(c[i].rect, c[g].rect))
            continue;
        int innerMargin = c[i].rect.left;  // where the box's left-most control begins
        for (std::size_t f = 0; f < count; ++f)
            if (f != g && InSight(c[f], client) && Inside(c[f].rect, c[g].rect))
                innerMargin = Smaller(innerMargin, c[f].rect.left);
        edge = Larger(edge, innerMargin);
    }
    return Larger(0, c[i].rect.left - edge);
}

// Passes pushes on one step: a control moves by the most any control before it in its row (or column) moved and grew.
constexpr bool PassPushesOn(ControlFit* c, std::size_t count)
{
    bool moved = false;
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = 0; j < count; ++j) {
            if (LeftOf(c[j].rect, c[i].rect))
                moved |= Raise(c[i].dx, NewRight(c[j]) - c[j].rect.right);
            if (Above(c[j].rect, c[i].rect))
                moved |= Raise(c[i].dy, NewBottom(c[j]) - c[j].rect.bottom);
        }
    return moved;
}

// A group box keeps its margins around what it frames, which moves with it; an empty one stays. True on a change.
constexpr bool KeepFramesAround(ControlFit* controls, std::size_t count)
{
    bool changed = false;
    for (std::size_t g = 0; g < count; ++g) {
        ControlFit& frame = controls[g];
        if (!frame.frames)
            continue;
        int right = frame.rect.left, bottom = frame.rect.top, newRight = right + frame.dx,
            newBottom = bottom + frame.dy;
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

// Gives each control the size its text needs, moves what stands right of a control that grew wider (or below one that
// grew higher) on by as much, keeping the gaps; each rect is then the control's place. Returns the client area's size,
// grown by as much as the controls in sight now reach beyond where they reached. Where every text fits, nothing moves.
constexpr ClientSize FitControls(ControlFit* controls, std::size_t count, ClientSize client)
{
    using namespace winlib_detail;
    int margin = client.width;  // the dialog's left margin
    for (std::size_t i = 0; i < count; ++i)
        if (InSight(controls[i], client) && controls[i].rect.left >= 0)
            margin = Smaller(margin, controls[i].rect.left);
    for (std::size_t i = 0; i < count; ++i)
        controls[i].leftward = Smaller(WidthGrowth(controls[i]) * static_cast<int>(controls[i].align) / 2,
                                       RoomToTheLeft(controls, count, i, client, margin));
    // Pushes pass on down rows and columns, and frames grow, until nothing moves.
    for (std::size_t round = 0; round <= count * count; ++round)
        if (!(PassPushesOn(controls, count) | KeepFramesAround(controls, count)))
            break;

    int right = 0, bottom = 0, newRight = 0, newBottom = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ControlFit& c = controls[i];
        if (InSight(c, client)) {
            right = Larger(right, c.rect.right), newRight = Larger(newRight, NewRight(c));
            bottom = Larger(bottom, c.rect.bottom), newBottom = Larger(newBottom, NewBottom(c));
        }
        c.rect = {c.rect.left + c.dx - c.leftward, c.rect.top + c.dy, NewRight(c), NewBottom(c)};
    }
    return {client.width + Larger(0, newRight - right), client.height + Larger(0, newBottom - bottom)};
}
