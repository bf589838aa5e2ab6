#include "LinkRules.h"

namespace {

const size_t kCommandLineChars = 520;  // terminator included

const char* OpenErrorText(int code)
{
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30: return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

// Shrinks or grows [low, high) to size about its middle: half the
// difference, truncated toward zero, comes off each side.
void Centre(int& low, int& high, int size)
{
    int half = ((high - low) - size) / 2;
    low += half;
    high -= half;
}

}  // namespace

std::string OpenErrorMessage(int code)
{
    const char* text = OpenErrorText(code);
    std::string reason = text ? text : "Unknown Error (" + std::to_string(code) + ") occurred.";
    return "Unable to open hyperlink:\n\n" + reason;
}

bool BuildBrowserCommand(const std::string& command, const std::string& target, std::string& line)
{
    std::string program = command;
    size_t quoted = program.find("\"%1\"");
    size_t bare = program.find("%1");
    if (quoted != std::string::npos)
        program.erase(quoted);
    else if (bare != std::string::npos)
        program.erase(bare);
    bool needsQuotes = target.find(' ') != std::string::npos && target.front() != '"';
    std::string built = program + " " + (needsQuotes ? "\"" + target + "\"" : target);
    if (built.size() + 1 > kCommandLineChars)
        return false;
    line = built;
    return true;
}

LinkRect FitLinkToText(const LinkRect& window, const LinkRect& client, int textWidth, int textHeight,
                       LinkAlignment horizontal, bool centredVertically)
{
    const int height = textHeight + (client.top - window.top) + (window.bottom - client.bottom);
    const int width = textWidth + (client.left - window.left) + (window.right - client.right);
    LinkRect r = window;
    if (centredVertically)
        Centre(r.top, r.bottom, height);
    else
        r.bottom = r.top + height;
    if (horizontal == kAlignCentre)
        Centre(r.left, r.right, width);
    else if (horizontal == kAlignRight)
        r.left = r.right - width;
    else
        r.right = r.left + width;
    return r;
}
