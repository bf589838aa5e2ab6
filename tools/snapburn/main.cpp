// snapburn: the command-line companion of Snapdisc.
#include <cstdio>
#include <cstring>
#include <string>

#include "ShowCommand.h"

namespace {

const char kUsage[] =
    "usage: snapburn COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  show FILE.snz   print the title, path, totals and photos (delay and path)\n"
    "                  stored in a Snapdisc project file\n"
    "\n"
    "exit status: 0 on success, 2 on bad arguments or an unreadable file\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "show") == 0)
        return RunShowCommand(argv[2], stdout, stderr);
    std::fputs(kUsage, stderr);
    return 2;
}
