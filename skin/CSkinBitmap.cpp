#include "CSkinBitmap.h"

#include <vector>

#include "KeyColourRects.h"

CSkinBitmap::CSkinBitmap(UINT nResourceId)
{
    if (nResourceId != 0)
        Load(nResourceId);
}

CSkinBitmap::~CSkinBitmap()
{
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
}

bool CSkinBitmap::Load(UINT nResourceId)
{
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nResourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP bm{};
    if (!loaded || GetObjectA(loaded, sizeof bm, &bm) == 0) {
        if (loaded)
            DeleteObject(loaded);
        return false;
    }
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBitmap = loaded;
    m_bm = bm;
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;
    return true;
}

BOOL CSkinBitmap::Blit(HDC paintDC, HWND hWnd, int x, int y, int width, int height, int sx, int sy) const
{
    HDC dc = paintDC ? paintDC : GetDC(hWnd);
    HDC memory = CreateCompatibleDC(dc);
    BOOL copied = FALSE;
    if (memory) {
        HGDIOBJ old = SelectObject(memory, m_hBitmap);
        copied = BitBlt(dc, x, y, width ? width : m_nWidth, height ? height : m_nHeight, memory, sx < 0 ? 0 : sx,
                        sy < 0 ? 0 : sy, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (!paintDC)
        ReleaseDC(hWnd, dc);
    return copied;
}

HRGN CSkinBitmap::MakeWindowRegion() const
{
    HRGN outline = CreateRectRgn(0, 0, m_nWidth, m_nHeight);
    if (!m_hBitmap || !outline)
        return outline;
    // Read the pixels once, as 32-bit top-down rows.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = -m_nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(m_nWidth) * m_nHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, m_hBitmap, 0, m_nHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != m_nHeight)
        return outline;

    std::vector<PixelRect> cut = KeyColourRects(m_nWidth, m_nHeight, [&](int x, int y) {
        return pixels[static_cast<size_t>(y) * m_nWidth + x] & 0xFFFFFFu;
    });
    if (cut.empty())
        return outline;
    // One region of all the key-coloured rectangles, then cut it out.
    std::vector<char> data(sizeof(RGNDATAHEADER) + cut.size() * sizeof(RECT));
    RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
    rgn->rdh.dwSize = sizeof(RGNDATAHEADER);
    rgn->rdh.iType = RDH_RECTANGLES;
    rgn->rdh.nCount = static_cast<DWORD>(cut.size());
    rgn->rdh.nRgnSize = static_cast<DWORD>(cut.size() * sizeof(RECT));
    rgn->rdh.rcBound = {0, 0, m_nWidth, m_nHeight};
    RECT* rects = reinterpret_cast<RECT*>(rgn->Buffer);
    for (size_t i = 0; i < cut.size(); ++i)
        rects[i] = {cut[i].left, cut[i].top, cut[i].right, cut[i].bottom};
    HRGN keyed = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rgn);
    if (keyed) {
        CombineRgn(outline, outline, keyed, RGN_DIFF);
        DeleteObject(keyed);
    }
    return outline;
}
