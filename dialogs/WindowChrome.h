#pragma once

// The decisions of the settings dialog's window chrome, kept free of the window system.

#include "res/resource.h"

// The system menu's About entry. The system keeps the low four bits of a system command
// id for itself, so every id from IDM_ABOUTBOX to IDM_ABOUTBOX + 15 means About.
constexpr bool IsAboutCommand(unsigned int commandId) { return (commandId & 0xFFF0) == IDM_ABOUTBOX; }

struct IconPosition {
    int x;
    int y;
};

// Where an icon goes to sit in the middle of a client area (a minimized window's). The
// +1 rounds odd differences up; the division truncates toward zero, so an area smaller
// than the icon gives a negative offset.
constexpr IconPosition CenteredIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
