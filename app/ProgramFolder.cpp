#include "ProgramFolder.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

}  // namespace

std::string ProgramFolderFromModulePath(const std::string& modulePath)
{
    // Split as _splitpath does: an optional "X:" drive, then the directory up
    // to and including the last separator; the rest is the file name.
    std::string drive, dir;
    size_t start = 0;
    if (modulePath.size() >= 2 && modulePath[1] == ':') {
        drive = modulePath.substr(0, 2);
        start = 2;
    }
    size_t lastSep = modulePath.find_last_of("\\/");
    if (lastSep != std::string::npos && lastSep >= start)
        dir = modulePath.substr(start, lastSep + 1 - start);

    // A UNC path (\\server\share\...) has no drive; its leading pair of
    // separators must survive, or the folder would point at the current drive.
    std::string folder = drive;
    bool unc = drive.empty() && dir.size() >= 2 && IsSeparator(dir[0]) && IsSeparator(dir[1]);
    if (unc)
        folder = "\\\\";
    else if (folder.empty() || folder.back() != '\\')
        folder += '\\';

    size_t first = dir.find_first_not_of("\\/");
    if (first != std::string::npos) {
        size_t last = dir.find_last_not_of("\\/");
        folder += dir.substr(first, last - first + 1);
    }
    return folder;
}
