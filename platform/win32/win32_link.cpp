#include "platform/win32/win32_link.h"

#include "platform/win32/win32_accessible_link.h"

#include <algorithm>
#include <string>

namespace nudgewick::win32 {
namespace {

constexpr wchar_t kStaticProcedure[] = L"NudgewickStaticProcedure";

// Centred text starts at the top of the control, as SS_CENTER draws it.
void DrawFocusAroundText(HWND link) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(link)) + 1, L'\0');
    const int length = GetWindowTextW(link, text.data(), static_cast<int>(text.size()));
    RECT inside{};
    GetClientRect(link, &inside);
    const HDC dc = GetDC(link);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
    RECT around = inside;
    DrawTextW(dc, text.c_str(), length, &around, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const LONG left = (inside.right - around.right) / 2;
    around = {std::max(left - 1, 0L), 0, std::min(left + around.right + 1, inside.right),
              std::min(around.bottom, inside.bottom)};
    DrawFocusRect(dc, &around);
    SelectObject(dc, previous);
    ReleaseDC(link, dc);
}

LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(link, kStaticProcedure));
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(link, nullptr, TRUE); break;
    case WM_PAINT: {
        const LRESULT result = CallWindowProcW(original, link, message, wParam, lParam);
        if (GetFocus() == link) DrawFocusAroundText(link);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !(lParam & (1 << 30))) {  // not a repeat of a held key
            SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                         reinterpret_cast<LPARAM>(link));
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT answer = AnswerLinkObject(link, wParam, lParam)) return answer;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(link, kStaticProcedure);
        break;
    default: break;
    }
    return CallWindowProcW(original, link, message, wParam, lParam);
}

}  // namespace

void MakeKeyboardLink(HWND link) {
    const LONG_PTR original = SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProcedure));
    SetPropW(link, kStaticProcedure, reinterpret_cast<HANDLE>(original));
}

}  // namespace nudgewick::win32
