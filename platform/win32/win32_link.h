#pragma once
#include <windows.h>

namespace nudgewick::win32 {

// Lets the keyboard use a notifying static control as a link: it draws the
// focus around its text and reports Space as a click (STN_CLICKED). Enter
// reaches the parent as IDOK, like any Enter in a window run by
// IsDialogMessage. The control needs WS_TABSTOP to be reached by Tab. Screen
// readers are told it is a link, with an action that clicks it.
void MakeKeyboardLink(HWND link);

}  // namespace nudgewick::win32
