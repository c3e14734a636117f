// Hides the running Nudgewick's window, as starting minimised to the icon does.
#include <windows.h>
int main() { return ShowWindow(FindWindowW(L"NudgewickMainWindow", nullptr), SW_HIDE) ? 0 : 1; }
