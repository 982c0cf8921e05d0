// SPDX-License-Identifier: MIT
// The Windows headers the windows use, in the order they need, before any header of the core.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shobjidl.h>
// clang-format on

// The core's own MessageBox, not the system's macro.
#undef MessageBox
