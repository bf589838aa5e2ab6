#include "EngineConfig.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace {

const char kEngineKey[] = "Software\\Larkfield_SNZ\\NeroAPI";

std::string StoredText(const char* name)
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kEngineKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

// Countries whose television is NTSC, by ISO 3166 code.
bool IsNtscRegion()
{
    static const char* const kNtscCountries[] = {"US", "CA", "MX", "JP", "KR", "TW", "PH", "BO", "CL", "CO", "CR",
                                                 "CU", "DO", "EC", "SV", "GT", "HN", "NI", "PA", "PE", "PR", "VE"};
    char iso[8] = "";
    if (GetGeoInfoA(GetUserGeoID(GEOCLASS_NATION), GEO_ISO2, iso, sizeof iso, 0) == 0)
        return false;
    for (const char* country : kNtscCountries)
        if (std::strcmp(iso, country) == 0)
            return true;
    return false;
}

}  // namespace

EngineConfig DefaultEngineConfig()
{
    EngineConfig config;
    char documents[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents) != S_OK)
        GetTempPathA(MAX_PATH, documents);
    config.imageFolder = std::string(documents) + "\\Snapdisc Images";
    config.ntsc = IsNtscRegion();

    std::string folder = StoredText("ImageFolder");
    if (!folder.empty())
        config.imageFolder = folder;
    std::string system = StoredText("VideoSystem");
    if (_stricmp(system.c_str(), "NTSC") == 0)
        config.ntsc = true;
    else if (_stricmp(system.c_str(), "PAL") == 0)
        config.ntsc = false;
    // "IndexPages" "off" makes discs without the index pages.
    config.index = _stricmp(StoredText("IndexPages").c_str(), "off") != 0;
    return config;
}

char FreeDriveLetter()
{
    DWORD used = GetLogicalDrives();
    for (int letter = 'Z'; letter >= 'D'; --letter)
        if (!(used & (1u << (letter - 'A'))))
            return static_cast<char>(letter);
    return 0;
}
