#include "DriveDiscovery_win.h"

#include <windows.h>

#include <cctype>

namespace {

bool IsCdDrive(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_CDROM;
}

}  // namespace

std::vector<char> CdDriveLetters()
{
    std::vector<char> letters;
    DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        char letter = static_cast<char>('A' + i);
        if ((present & (1u << i)) != 0 && IsCdDrive(letter))
            letters.push_back(letter);
    }
    return letters;
}

std::unique_ptr<PassThroughTransport> OpenCdDrive(char letter, std::string& error)
{
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (letter < 'A' || letter > 'Z') {
        error = std::string("\"") + letter + "\" is not a drive letter.";
        return nullptr;
    }
    if ((GetLogicalDrives() & (1u << (letter - 'A'))) == 0) {
        error = std::string("There is no drive ") + letter + ":.";
        return nullptr;
    }
    if (!IsCdDrive(letter)) {
        error = std::string("Drive ") + letter + ": is not a CD or DVD drive.";
        return nullptr;
    }
    return PassThroughTransport::Open(letter, error);
}
