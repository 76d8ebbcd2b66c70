#pragma once

#include "winlib/Afx.h"

// The version box: the application icon, the program's name and version, and OK.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
