#pragma once

#include <windows.h>

// Painting in answer to WM_PAINT: begins on construction, ends on destruction, also when an exception passes.
class CPaintDC {
public:
    explicit CPaintDC(HWND window) : m_hWnd(window), m_hDC(BeginPaint(window, &m_paint)) {}
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { EndPaint(m_hWnd, &m_paint); }

    HDC GetSafeHdc() const { return m_hDC; }
    bool DrawIcon(int x, int y, HICON icon) const { return ::DrawIcon(m_hDC, x, y, icon) != FALSE; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    HDC m_hDC;
};
