#pragma once
#include "framework/CWnd.h"

// An edit control that takes digits and backspace only, and stays at a
// pinned left position whatever its owner moves it to (the photo list puts
// its label editor over the delay column this way). Attached to an existing
// edit control by subclassing it.
class CDigitEdit : public CWnd {
public:
    int m_nPinnedLeft = 0;  // client coordinates of the parent
    // Escape was pressed since the owner last cleared it (an edit cancelled).
    bool m_bEscapePressed = false;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
