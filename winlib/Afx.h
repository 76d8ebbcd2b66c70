#pragma once

// The whole class library.
#include "Dialog.h"
#include "MessageMap.h"
#include "String.h"
#include "WinApp.h"
#include "Wnd.h"
