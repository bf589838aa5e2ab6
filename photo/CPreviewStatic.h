#pragma once
#include <string>

#include "framework/CWnd.h"

class CSkinBitmap;

// The preview area: a static control that, on every paint, reads the picture
// at m_strPicturePath, decodes it with the engine's picture reader (so it
// shows every photo upright and accepts exactly what the disc accepts), and
// draws it fitted on a coloured background with a drop shadow. Nothing is
// cached. A picture that cannot be decoded or drawn is reported once for as
// long as it stays the picture shown, after the paint, never from inside it.
class CPreviewStatic : public CWnd {
public:
    static const char kLoadFailure[];
    static const char kRenderFailure[];

    // What shows in the margin the picture leaves: the face under the area,
    // whose top-left corner is (x, y) of the face.
    void SetBackdrop(const CSkinBitmap* face, int x, int y);

    std::string m_strPicturePath;  // empty: the plain background

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnPaint();
    // The failure text to report, or null.
    const char* Draw(HDC dc, int width, int height) const;
    void ReportOnce(const char* text);

    const CSkinBitmap* m_pBackdrop = nullptr;
    POINT m_backdropOrigin = {0, 0};
    std::string m_strReportedPath;  // the picture whose failure was reported
    bool m_bReported = false;
};
