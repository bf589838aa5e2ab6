#pragma once
#include "CPrompter.h"

// The prompter that really asks: system message boxes, the common file
// dialogs and TrackPopupMenu.
class CWin32Prompter : public CPrompter {
public:
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    bool FileDialog(HWND owner, CFileDialog& dialog) override;
    UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override;
};
