#pragma once
#include <memory>
#include <string>
#include <vector>

#include "PassThroughTransport_win.h"

// The CD and DVD drives Windows shows under a letter, in letter order.
// Whether one of them can write CDs is for the drive itself to answer.
std::vector<char> CdDriveLetters();

// Opens the drive behind a letter for commands; nullptr and a message for
// the user when the letter is not a CD drive or the drive cannot be opened.
std::unique_ptr<PassThroughTransport> OpenCdDrive(char letter, std::string& error);
