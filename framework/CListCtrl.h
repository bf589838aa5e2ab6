#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "CWnd.h"

// The system list view, as a thin wrapper of its messages.
class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    std::string GetItemText(int item, int subItem) const;
    BOOL SetItemText(int item, int subItem, const std::string& text);
    int InsertItem(int item, const std::string& text);
    BOOL DeleteItem(int item) { return static_cast<BOOL>(Send(LVM_DELETEITEM, static_cast<WPARAM>(item))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS)); }
    UINT GetItemState(int item, UINT mask) const
    {
        return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    BOOL SetItemState(int item, UINT state, UINT mask);
    int GetNextItem(int start, UINT flags) const
    {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }

    // Off while many rows change (each change would redraw the list);
    // back on, the list is drawn again.
    void SetRedraw(BOOL redraw)
    {
        Send(WM_SETREDRAW, static_cast<WPARAM>(redraw));
        if (redraw)
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }

    int InsertColumn(int column, const std::string& heading, int format, int width);
    BOOL SetColumnText(int column, const std::string& heading);
    DWORD SetExtendedStyle(DWORD style)
    {
        return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }

    // The row at a client point, or -1.
    int HitTest(POINT pt) const;
    // Row and column at a client point (row -1 for none).
    int SubItemHitTest(LVHITTESTINFO* info) const
    {
        return static_cast<int>(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
    BOOL GetSubItemRect(int item, int subItem, int area, RECT& rect) const;
    HWND EditLabel(int item) { return reinterpret_cast<HWND>(Send(LVM_EDITLABELA, static_cast<WPARAM>(item))); }
    HWND GetEditControl() const { return reinterpret_cast<HWND>(Send(LVM_GETEDITCONTROL)); }

private:
    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
};
