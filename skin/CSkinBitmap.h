#pragma once
#include <windows.h>

// A bitmap resource of the skin: it knows its size, copies rectangles of
// itself onto a window, and cuts a window outline from its key colour (the
// colour of its pixel (0, 0)).
class CSkinBitmap {
public:
    CSkinBitmap() = default;
    explicit CSkinBitmap(UINT nResourceId);
    ~CSkinBitmap();
    CSkinBitmap(const CSkinBitmap&) = delete;
    CSkinBitmap& operator=(const CSkinBitmap&) = delete;

    // False, quietly, when the resource cannot be loaded; the sizes stay 0.
    bool Load(UINT nResourceId);

    // Copies the rectangle at (sx, sy) to (x, y) of the window's client
    // area, opaque and unstretched. Width or height 0 mean the bitmap's;
    // a source of -1 means 0. Into paintDC when painting, else straight
    // into the window.
    BOOL Blit(HDC paintDC, HWND hWnd, int x, int y, int width = 0, int height = 0, int sx = -1, int sy = -1) const;

    // The bitmap's rectangle less every pixel of the key colour. The
    // caller owns the region (SetWindowRgn takes it over).
    HRGN MakeWindowRegion() const;

    int m_nWidth = 0;
    int m_nHeight = 0;

private:
    HBITMAP m_hBitmap = nullptr;
    BITMAP m_bm{};
};
