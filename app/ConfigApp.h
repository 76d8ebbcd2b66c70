#pragma once

#include "winlib/WinApp.h"

// Vorlamy's application: runs the settings dialog as its main window, then ends.
class CConfigApp : public CWinApp {
public:
    CConfigApp();

    // Runs the settings dialog to its end and returns FALSE, so that the program ends
    // without a message loop of its own: the dialog's modal loop is the program's loop.
    BOOL InitInstance() override;

protected:
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
};

extern CConfigApp theApp;
