#pragma once

#define IDD_TEST_DIALOG 1
#define IDC_TEST_OTHER 42
