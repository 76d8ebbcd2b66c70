#pragma once

#include "winlib/Dialog.h"

// The version box: the application icon, the program's name and version, and OK.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
