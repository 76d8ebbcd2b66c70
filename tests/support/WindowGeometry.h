#pragma once

// Where windows stand on the screen, for the tests of dialog placement.

#include <windows.h>

#include <algorithm>
#include <cstdlib>

inline RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The work area of the monitor a window is on (the screen less the task bar).
inline RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// How far apart two rectangles' centres are, in pixels, along the farther axis.
inline int CentreDistance(const RECT& a, const RECT& b)
{
    return std::max(std::abs((a.left + a.right) - (b.left + b.right)),
                    std::abs((a.top + a.bottom) - (b.top + b.bottom))) /
           2;
}

inline bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
