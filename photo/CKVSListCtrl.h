#pragma once
#include <cstdint>

#include "framework/CListCtrl.h"
#include "skin/CDigitEdit.h"

class CProjectInfo;

// The photo list: a report view with one row per photo. Rows can be
// dragged to a new place (the main window moves the photo when the list
// posts it the drop), a photo's delay is edited in place over its "Delays"
// cell (names are never edited), and after a move the focused row alone
// stays selected, drawn drop-highlighted until the next click or key.
class CKVSListCtrl : public CListCtrl {
public:
    enum Column { kColumnFile, kColumnDelay, kColumnDate, kColumnBytes, kColumnPath, kColumnCount };

    // The project whose delays the in-place editor changes.
    void SetProject(CProjectInfo* project) { m_pProject = project; }

    // Leaves the focused row the only selected row, drop-highlighted; rows
    // are visited from the last when backward is non-zero.
    void SelectFocusedOnly(int backward);
    void ClearDropHighlight();

    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    int32_t m_bDragging = 0;
    int m_nDropIndex = -1;
    int m_nDragIndex = -1;
    HCURSOR m_hOldCursor = nullptr;
    CDigitEdit m_editDelay;
    int m_nEditItem = -1;
    int m_nEditSubItem = 0;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnBeginDrag(const NMLISTVIEW& info);
    void OnLButtonUp(WPARAM flags, POINT pt);
    void OnLButtonDown(WPARAM flags, POINT pt);
    LRESULT OnBeginLabelEdit(const NMLVDISPINFOA& info);
    LRESULT OnEndLabelEdit(const NMLVDISPINFOA& info);
    void OnPaint();

    CProjectInfo* m_pProject = nullptr;
};
