#pragma once
#include <string>

// The parts of the link control and the link opener that are rules rather
// than windows.

// The message that says why a link could not be opened, for a shell result
// of 32 or less: "Unable to open hyperlink:", a blank line, then the reason.
std::string OpenErrorMessage(int code);

// The command line that opens target with a browser, from the open command
// registered for ".htm" pages: the command is cut at its "%1" placeholder
// (at the opening quotation mark when the placeholder is quoted), then a
// blank and the target follow, the target in quotation marks when it holds
// blanks. False, and nothing built, when the line would not fit the 520
// characters (terminator included) it is built in.
bool BuildBrowserCommand(const std::string& command, const std::string& target, std::string& line);

// A control's rectangle fitted to its text: the text size plus the control's
// borders (the difference between its window and client rectangles), kept
// at its left, right or centre and at its top or middle as its alignment
// says.
struct LinkRect {
    int left, top, right, bottom;
};
enum LinkAlignment { kAlignLeft, kAlignCentre, kAlignRight };
LinkRect FitLinkToText(const LinkRect& window, const LinkRect& client, int textWidth, int textHeight,
                       LinkAlignment horizontal, bool centredVertically);
