#include "CFrameWnd.h"

namespace {

const char kFrameClass[] = "SnapdiscFrameWnd";
// Set when a window being created has bound its object: from then on the
// window's destruction deletes the object, also when the creation fails.
thread_local bool t_bBound = false;

}  // namespace

const RECT CFrameWnd::rectDefault = {static_cast<LONG>(CW_USEDEFAULT), static_cast<LONG>(CW_USEDEFAULT), 0, 0};

BOOL CFrameWnd::Create(const char* title, DWORD style, const RECT& rect, HWND parent)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kFrameClass, &existing)) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &CFrameWnd::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kFrameClass;
        if (!RegisterClassA(&wc)) {
            PostNcDestroy();
            return FALSE;
        }
    }
    bool useDefault = rect.left == static_cast<LONG>(CW_USEDEFAULT);
    t_bBound = false;
    HWND hWnd = CreateWindowExA(0, kFrameClass, title, style, rect.left, useDefault ? CW_USEDEFAULT : rect.top,
                                useDefault ? CW_USEDEFAULT : rect.right - rect.left,
                                useDefault ? CW_USEDEFAULT : rect.bottom - rect.top, parent, nullptr, instance, this);
    if (!hWnd && !t_bBound)
        PostNcDestroy();
    return hWnd != nullptr;
}

LRESULT CALLBACK CFrameWnd::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<CFrameWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->BindOwnWindow(hWnd);
        t_bBound = true;
    }
    auto* self = static_cast<CFrameWnd*>(FromHandlePermanent(hWnd));
    if (!self)
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (!self->DispatchSafely(msg, wParam, lParam, result))
        result = DefWindowProcA(hWnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->UnbindOwnWindow();
        self->PostNcDestroy();
    }
    return result;
}
