#include "CRecorderInfo.h"

#include "engine/include/NeroAPI.h"

void CRecorderInfo::SetMediaType(unsigned int type)
{
    switch (type) {
    case 0:
        m_bMediaPresent = 0;
        break;
    case ENGINE_MEDIA_CDR:
        m_bCdR = 1;
        break;
    case ENGINE_MEDIA_CDRW:  // a CD-RW is written like a CD-R too
        m_bCdR = 1;
        m_bCdRw = 1;
        break;
    case 0x004:
    case 0x804:
        m_bDvdMinus = 1;
        m_bDvd = 1;
        break;
    case 0x1004:
        m_bDvdMinus = 1;
        m_bRewritableDvd = 1;
        m_bDvd = 1;
        break;
    case 0x008:
    case 0x2008:
        m_bDvdPlus = 1;
        m_bDvd = 1;
        break;
    case 0x4008:
        m_bDvdPlus = 1;
        m_bRewritableDvd = 1;
        m_bDvd = 1;
        break;
    case ENGINE_MEDIA_DVD_ROM:
        m_bDvd = 1;
        break;
    default:
        break;
    }
}

int CRecorderInfo::ChooseSpeed(int current) const
{
    if (m_nCdWriteMaxSpeed < 1)
        return current;
    return m_nCdWriteMaxSpeed == 1 ? 1 : m_nCdWriteMaxSpeed & ~1;
}

int CRecorderInfo::BurnSpeed(int chosen) const
{
    int speed = m_nCdWriteMaxSpeed > 0 ? chosen : 0;
    int discMax = m_bDvd ? 0 : m_nCdMediaMaxSpeed;
    return speed < 0 || speed > discMax ? 0 : speed;
}
