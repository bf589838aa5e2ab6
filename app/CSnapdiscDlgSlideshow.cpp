// The slideshow: the preview shows each photo in list order for its own
// delay, driven by the main window's timer 1.
#include "CSnapdiscDlg.h"

#include "SlideshowPeriod.h"

namespace {

const UINT kFirstPhotoAfterMs = 100;

}  // namespace

void CSnapdiscDlg::OnPlay()
{
    StopSlideshow();
    m_nSlideshowPeriodMs = kFirstPhotoAfterMs;
    SetTimer(m_hWnd, kSlideshowTimer, m_nSlideshowPeriodMs, nullptr);
}

void CSnapdiscDlg::StopSlideshow()
{
    m_nSlideshowPosition = 0;
    m_nSlideshowPeriodMs = 0;
    KillTimer(m_hWnd, kSlideshowTimer);
}

void CSnapdiscDlg::OnSlideshowStep()
{
    if (m_nSlideshowPosition < 0 || static_cast<size_t>(m_nSlideshowPosition) >= m_arrPhotos.size()) {
        // The end: an empty preview, and the timer does not go on.
        ShowPreview("");
        StopSlideshow();
        return;
    }
    auto position = static_cast<size_t>(m_nSlideshowPosition);
    KillTimer(m_hWnd, kSlideshowTimer);
    ShowPreview(m_arrPhotos[position].m_strPath);
    m_nSlideshowPeriodMs = SlideshowPeriodMs(m_project.m_arrDelays[position]);
    SetTimer(m_hWnd, kSlideshowTimer, m_nSlideshowPeriodMs, nullptr);
    ++m_nSlideshowPosition;
}
