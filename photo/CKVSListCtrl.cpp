#include "CKVSListCtrl.h"

#include <windowsx.h>

#include "CProjectInfo.h"
#include "framework/UnsignedText.h"
#include "res/resource.h"

namespace {

// The editor opens this far right of the left edge of the "Delays" cell.
const int kEditorIndent = 6;

}  // namespace

bool CKVSListCtrl::OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_NOTIFY)
        return false;
    const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
    switch (header.code) {
    case LVN_BEGINDRAG:
        OnBeginDrag(*reinterpret_cast<NMLISTVIEW*>(lParam));
        result = 0;
        return true;
    case NM_CLICK:
    case LVN_KEYDOWN:
        ClearDropHighlight();
        result = 0;
        return true;
    case LVN_BEGINLABELEDITA:
        result = OnBeginLabelEdit(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return true;
    case LVN_ENDLABELEDITA:
        result = OnEndLabelEdit(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return true;
    default:
        return false;
    }
}

bool CKVSListCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT&)
{
    switch (msg) {
    case WM_LBUTTONUP:
        if (!m_bDragging)
            return false;
        OnLButtonUp(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return true;
    case WM_LBUTTONDOWN:
        OnLButtonDown(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_SIZE:
        if (GetFocus() != m_hWnd)
            SetFocus(m_hWnd);
        return false;
    default:
        return false;
    }
}

void CKVSListCtrl::OnBeginDrag(const NMLISTVIEW& info)
{
    m_bDragging = 1;
    m_nDragIndex = info.iItem;
    m_hOldCursor = SetCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_MOVE_ROW)));
    SetCapture(m_hWnd);
}

void CKVSListCtrl::OnLButtonUp(WPARAM flags, POINT pt)
{
    ReleaseCapture();
    m_nDropIndex = HitTest(pt);
    if (m_nDropIndex == -1) {
        m_bDragging = 0;
        SetCursor(m_hOldCursor);
        return;
    }
    // The main window moves the photo when it reads the drop; m_bDragging
    // stays set until then.
    PostMessageA(GetParent(m_hWnd), WM_LBUTTONUP, 0, 0);
    SetCursor(m_hOldCursor);
    Default(WM_LBUTTONUP, flags, MAKELPARAM(pt.x, pt.y));
}

void CKVSListCtrl::OnLButtonDown(WPARAM flags, POINT pt)
{
    LVHITTESTINFO hit = {};
    hit.pt = pt;
    SubItemHitTest(&hit);
    bool onDelayCell = hit.iItem != -1 && hit.iSubItem == kColumnDelay && (hit.flags & LVHT_ONITEM);
    bool alreadyEditing = m_nEditSubItem == kColumnDelay && m_nEditItem == hit.iItem;
    Default(WM_LBUTTONDOWN, flags, MAKELPARAM(pt.x, pt.y));
    if (!onDelayCell || alreadyEditing)
        return;
    m_nEditSubItem = kColumnDelay;
    m_nEditItem = hit.iItem;
    EditLabel(hit.iItem);
}

LRESULT CKVSListCtrl::OnBeginLabelEdit(const NMLVDISPINFOA& info)
{
    if (m_nEditSubItem == 0)
        return 1;  // names are never edited
    RECT cell;
    GetSubItemRect(info.item.iItem, m_nEditSubItem, LVIR_BOUNDS, cell);
    HWND editor = GetEditControl();
    m_editDelay.m_nPinnedLeft = cell.left + kEditorIndent;
    m_editDelay.m_bEscapePressed = false;
    m_editDelay.SubclassWindow(editor);
    ::SetWindowTextA(editor, GetItemText(info.item.iItem, m_nEditSubItem).c_str());
    // Whatever moves the editor next puts it over the cell; move it now too.
    RECT at;
    GetWindowRect(editor, &at);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&at), 2);
    SetWindowPos(editor, nullptr, m_editDelay.m_nPinnedLeft, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // The old number must not show beside the editor.
    RECT label;
    GetSubItemRect(info.item.iItem, m_nEditSubItem, LVIR_LABEL, label);
    HDC dc = GetDC(m_hWnd);
    FillRect(dc, &label, GetSysColorBrush(COLOR_WINDOW));
    ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CKVSListCtrl::OnEndLabelEdit(const NMLVDISPINFOA& info)
{
    if (m_nEditSubItem == 0)
        return 1;
    // Accepted by Enter or by leaving the editor; Escape cancels. Some list
    // views pass no text for an emptied editor as for a cancelled one, so the
    // editor's own text is taken then.
    bool accepted = info.item.pszText || (m_editDelay.m_hWnd && !m_editDelay.m_bEscapePressed);
    if (accepted) {
        std::string text = info.item.pszText ? info.item.pszText : m_editDelay.GetWindowText();
        int item = info.item.iItem;
        SetItemText(item, m_nEditSubItem, text);
        if (m_pProject && item >= 0 && static_cast<size_t>(item) < m_pProject->m_arrDelays.size()) {
            m_pProject->m_arrDelays[static_cast<size_t>(item)] = LeadingDigitsValue(text);
            m_pProject->m_bModified = 1;
        }
    }
    m_editDelay.UnsubclassWindow();
    m_nEditSubItem = 0;
    return 0;  // the list itself never changes the row's name
}

void CKVSListCtrl::OnPaint()
{
    if (m_nEditSubItem != 0 && m_editDelay.m_hWnd) {
        RECT cell, editor, name;
        GetSubItemRect(m_nEditItem, m_nEditSubItem, LVIR_LABEL, cell);
        GetWindowRect(m_editDelay.m_hWnd, &editor);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&editor), 2);
        if (editor.right < cell.right) {
            RECT rest = {editor.right, cell.top, cell.right, cell.bottom};
            ValidateRect(m_hWnd, &rest);
        }
        GetSubItemRect(m_nEditItem, kColumnFile, LVIR_LABEL, name);
        ValidateRect(m_hWnd, &name);
    }
    Default(WM_PAINT, 0, 0);
}

void CKVSListCtrl::SelectFocusedOnly(int backward)
{
    int count = GetItemCount();
    for (int n = 0; n < count; ++n) {
        int row = backward ? count - 1 - n : n;
        UINT state = GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED);
        if (state & LVIS_DROPHILITED)
            SetItemState(row, 0, LVIS_DROPHILITED);
        if (state & LVIS_SELECTED)
            SetItemState(row, 0, LVIS_SELECTED);
        if (state & LVIS_FOCUSED)
            SetItemState(row, LVIS_SELECTED | LVIS_DROPHILITED, LVIS_SELECTED | LVIS_DROPHILITED);
    }
}

void CKVSListCtrl::ClearDropHighlight()
{
    for (int row = GetNextItem(-1, LVNI_DROPHILITED); row != -1; row = GetNextItem(row, LVNI_DROPHILITED))
        SetItemState(row, 0, LVIS_DROPHILITED);
}
