#include "CListCtrl.h"

#include <vector>

std::string CListCtrl::GetItemText(int item, int subItem) const
{
    // The control copies at most the buffer; grow it until the text fits.
    for (size_t size = 256;; size *= 4) {
        std::vector<char> buffer(size, '\0');
        LVITEMA lvi = {};
        lvi.iSubItem = subItem;
        lvi.pszText = buffer.data();
        lvi.cchTextMax = static_cast<int>(size);
        LRESULT length = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
        if (static_cast<size_t>(length) + 1 < size || size >= 65536)
            return std::string(buffer.data());
    }
}

BOOL CListCtrl::SetItemText(int item, int subItem, const std::string& text)
{
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<char*>(text.c_str());
    return static_cast<BOOL>(Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)));
}

int CListCtrl::InsertItem(int item, const std::string& text)
{
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMA lvi = {};
    lvi.state = state;
    lvi.stateMask = mask;
    return static_cast<BOOL>(Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)));
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<char*>(heading.c_str());
    col.iSubItem = column;
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

BOOL CListCtrl::SetColumnText(int column, const std::string& heading)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<char*>(heading.c_str());
    return static_cast<BOOL>(Send(LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::HitTest(POINT pt) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    return static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int area, RECT& rect) const
{
    rect.top = subItem;
    rect.left = area;
    return static_cast<BOOL>(Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)));
}
