#pragma once

// The whole class library.
#include "Dialog.h"
#include "Menu.h"
#include "MessageMap.h"
#include "PaintDC.h"
#include "String.h"
#include "WinApp.h"
#include "Wnd.h"
