#pragma once
#include <windows.h>

namespace nudgewick::win32 {

// The answer to WM_GETOBJECT for the web address, a static control that a
// screen reader (Narrator, NVDA) would read as plain text: Windows' own
// object for it, told to say it is a link and given the default action
// "Jump", which clicks it (STN_CLICKED to its parent). The accessibility
// DLLs are loaded only when a client first asks, so that a program nobody
// inspects loads nothing more. Returns 0 (let the control answer) for any
// other object or when they cannot be loaded.
LRESULT AnswerLinkObject(HWND link, WPARAM flags, LPARAM objectId);

}  // namespace nudgewick::win32
