#include "CPreviewStatic.h"

#include <vector>

#include "PreviewPicture.h"
#include "engine/picture/PictureReader.h"
#include "framework/CPrompter.h"
#include "framework/FileHelpers.h"
#include "skin/CSkinBitmap.h"

const char CPreviewStatic::kLoadFailure[] = "Error Loading Picture From Stream!";
const char CPreviewStatic::kRenderFailure[] = "Failed To Render The picture!";

namespace {

const COLORREF kBackground = RGB(185, 183, 245);
const int kFitMargin = 20;
// Posted to itself so that a failure is told after the paint has ended.
const UINT kReportMessage = WM_APP + 1;

void Fill(HDC dc, const PreviewRect& r, HBRUSH brush)
{
    RECT rect = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rect, brush);
}

void FillBackground(HDC dc, const PreviewRect& r)
{
    HBRUSH brush = CreateSolidBrush(kBackground);
    Fill(dc, r, brush);
    DeleteObject(brush);
}

// Copies an RGB picture 1:1 to (x, y) as a top-down 24-bit DIB.
bool DrawImage(HDC dc, const Image& image, int x, int y)
{
    if (image.width <= 0 || image.height <= 0)
        return true;
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> bits(stride * image.height);
    for (int row = 0; row < image.height; ++row) {
        const uint8_t* in = image.Row(row);
        uint8_t* out = &bits[stride * row];
        for (int i = 0; i < image.width; ++i, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height), 0, 0, 0,
                             static_cast<UINT>(image.height), bits.data(), &info, DIB_RGB_COLORS) != 0;
}

}  // namespace

void CPreviewStatic::SetBackdrop(const CSkinBitmap* face, int x, int y)
{
    m_pBackdrop = face;
    m_backdropOrigin = {x, y};
}

bool CPreviewStatic::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_ERASEBKGND:
        if (!m_pBackdrop)
            return false;
        m_pBackdrop->Blit(reinterpret_cast<HDC>(wParam), nullptr, 0, 0, 0, 0, m_backdropOrigin.x,
                          m_backdropOrigin.y);
        result = 1;
        return true;
    case kReportMessage:
        AfxMessageBox(reinterpret_cast<const char*>(wParam), MB_OK, GetParent(m_hWnd));
        return true;
    default:
        return false;
    }
}

void CPreviewStatic::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT window;
    GetWindowRect(m_hWnd, &window);
    if (m_strPicturePath != m_strReportedPath)
        m_bReported = false;
    const char* failure = Draw(dc, window.right - window.left, window.bottom - window.top);
    EndPaint(m_hWnd, &ps);
    if (failure)
        ReportOnce(failure);
}

const char* CPreviewStatic::Draw(HDC dc, int width, int height) const
{
    if (m_strPicturePath.empty()) {
        FillBackground(dc, LayOutPreview(width, height, 1, 1).background);
        return nullptr;
    }
    // A missing or unreadable file draws nothing and is not reported.
    if (!FileExists(m_strPicturePath))
        return nullptr;
    // Decoded no larger than the area needs; the fit uses the full size.
    DecodeResult picture = ReadPicture(m_strPicturePath, width - kFitMargin, height - kFitMargin);
    if (!picture.ok || picture.sourceWidth <= 0 || picture.sourceHeight <= 0)
        return kLoadFailure;
    PreviewLayout layout = LayOutPreview(width, height, picture.sourceWidth, picture.sourceHeight);
    FillBackground(dc, layout.background);
    Fill(dc, layout.shadow, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    Image shown = ScalePicture(picture.image, layout.picture.Width(), layout.picture.Height());
    return DrawImage(dc, shown, layout.picture.left, layout.picture.top) ? nullptr : kRenderFailure;
}

void CPreviewStatic::ReportOnce(const char* text)
{
    if (m_bReported && m_strReportedPath == m_strPicturePath)
        return;
    m_bReported = true;
    m_strReportedPath = m_strPicturePath;
    PostMessageA(m_hWnd, kReportMessage, reinterpret_cast<WPARAM>(text), 0);
}
