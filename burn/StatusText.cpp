#include "StatusText.h"

#include <cstdio>

#include "CRecorderInfo.h"

std::string DiscText(const CRecorderInfo* r, const TextLookup& text)
{
    if (!r || !r->m_bMediaPresent)
        return text("No media found");
    std::string disc;
    const std::pair<int32_t, const char*> kinds[] = {
        {r->m_bWriteable, "Rewritable"}, {r->m_bBlank, "Blank"},      {r->m_bCdR, "CD-R"},
        {r->m_bCdRw, "CD-RW"},           {r->m_bDvd, "DVD"},          {r->m_bDvdMinus, "DVD-R/RW"},
        {r->m_bDvdPlus, "DVD+R/RW"}};
    for (const auto& kind : kinds)
        if (kind.first)
            disc += text(kind.second);
    char speed[64];
    if (r->m_bDvd) {
        // A DVD's speed only when its base speed is known (no division by nothing).
        if (r->m_nDvdBaseSpeed > 0) {
            std::snprintf(speed, sizeof speed, "%.1fx %d KB/s",
                          static_cast<double>(r->m_nDvdMaxSpeed) / r->m_nDvdBaseSpeed, r->m_nDvdMaxSpeed);
            disc += speed;
        }
    } else {
        std::snprintf(speed, sizeof speed, "%dx ", r->m_nCdWriteMaxSpeed);
        disc += speed + text("speed");
    }
    return disc;
}

void ComposeStatusText(const StatusFacts& facts, const TextLookup& text, std::string& status, std::string& burnInfo)
{
    status = text("Project Name") + facts.projectName;
    burnInfo = status;
    status += text("Project Path") + facts.projectPath;
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%d", facts.photoCount);
    std::string counts = text("Photo Numbers") + numbers;
    std::snprintf(numbers, sizeof numbers, "%d KBs", facts.totalKB);
    counts += text("Photo Total Size") + numbers;
    status += counts;
    burnInfo += counts;
    status += text("Device info") + facts.recorderLine;
    status += text("Disc Info") + DiscText(facts.recorder, text) + "    ";
}
