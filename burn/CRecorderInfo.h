#pragma once
#include <cstdint>
#include <string>

// What the program knows of one recorder and the disc in it, filled from the
// engine's recorder list and its answers about the disc. Speeds of CDs are
// multiples of 150 KB/s, of DVDs KB/s; -1 means no value.
class CRecorderInfo {
public:
    int32_t m_bValid = 0;
    int32_t m_bMediaPresent = 0;
    int32_t m_bCdMediaSpeedKnown = -1;
    int32_t m_nCdMediaMaxSpeed = -1;
    int32_t m_bBlank = 1;
    int32_t m_bWriteable = 0;
    int32_t m_bCdR = 0;
    int32_t m_bCdRw = 0;
    int32_t m_bDvd = 0;
    int32_t m_bRewritableDvd = 0;
    int32_t m_bDvdMinus = 0;  // DVD-R/RW
    int32_t m_bDvdPlus = 0;   // DVD+R/RW
    std::string m_strDrive;   // "E:"
    std::string m_strEmpty;   // always empty
    std::string m_strName;
    int32_t m_bCdWriteSpeedKnown = -1;
    int32_t m_nCdWriteMaxSpeed = -1;
    int32_t m_nDvdBaseSpeed = -1;
    int32_t m_nDvdMaxSpeed = -1;
    int32_t m_bIsRecorder = 0;
    int32_t m_bDvdCapable = 0;
    int32_t m_nEngineIndex = -1;

    // Sets the media kind flags for the engine's media type of the inserted
    // disc (0: none, and then no disc is present).
    void SetMediaType(unsigned int type);
    // The write speed to choose: the largest of 1, 2, 4, 6, 8, ... that does
    // not exceed the recorder's maximum CD write speed; current when the
    // maximum is unknown.
    int ChooseSpeed(int current) const;
    // The speed to burn at: the chosen one, or 0 (the recorder's maximum)
    // when there is no maximum, the chosen speed is negative, or it is above
    // what the inserted CD takes.
    int BurnSpeed(int chosen) const;
};
