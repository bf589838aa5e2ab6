// snapburn: the command-line companion of Snapdisc.
#include <cstdio>
#include <cstring>
#include <string>

#include "BurnCommand.h"
#include "SampleCommand.h"
#include "ShowCommand.h"
#include "StillCommand.h"

namespace {

const char kUsage[] =
    "usage: snapburn COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  show FILE.snz   print the title, path, totals and photos (delay and path)\n"
    "                  stored in a Snapdisc project file\n"
    "                  exit status: 0 shown, 2 bad arguments or unreadable file\n"
    "  still PICTURE OUT.mpg [--ntsc] [--normal-only] [--safe-area]\n"
    "                  write the still item a Video CD holds for a BMP or JPEG\n"
    "                  picture: 2324-byte MPEG-1 packs with a normal (352 wide)\n"
    "                  and a high-resolution (704 wide) picture, PAL unless\n"
    "                  --ntsc; --normal-only leaves out the high-resolution one;\n"
    "                  --safe-area fits the photo inside the central 90 %\n"
    "                  exit status: 0 written, 1 picture refused, 2 bad arguments\n"
    "  burn PROJECT.snz [OPTIONS]\n"
    "  burn --delay N PICTURE... [OPTIONS]\n"
    "                  burn a project, or pictures shown N seconds each (0 to\n"
    "                  60000), as a slideshow Video CD; on the image recorder it\n"
    "                  writes a BIN/CUE image and prints their paths\n"
    "                  --out DIR     the image folder (default: Documents/Snapdisc Images)\n"
    "                  --pal, --ntsc the video system (default: PAL, NTSC in NTSC regions)\n"
    "                  --simulate    do all the work but write no image (on a drive:\n"
    "                                a test write that leaves the disc blank)\n"
    "                  --device D    burn on a CD writer instead: a drive letter (E:)\n"
    "                                on Windows, a device (/dev/sr0) on Linux, or\n"
    "                                \"simulated\" / \"simulated:FAULT\" for the drive in\n"
    "                                memory, which saves what it recorded in --out\n"
    "                  --no-verify   do not read a burned disc back to check it\n"
    "                  --no-index    no index pages (RETURN on a photo shows a page of\n"
    "                                numbered thumbnails; the number keys jump to a photo)\n"
    "                  Ctrl-C aborts cleanly: nothing is left behind\n"
    "                  exit status: 0 written, 1 burn failed or aborted,\n"
    "                  2 bad arguments or unreadable project\n"
    "  sample FOLDER [--delay N]\n"
    "                  make the sample project in FOLDER (created if missing):\n"
    "                  six numbered 1024x768 pictures drawn by snapburn,\n"
    "                  \"Sample 1.jpg\" to \"Sample 6.jpg\", and Sample.snz naming\n"
    "                  them by full path, N seconds each (0 to 60000, default 5);\n"
    "                  a second run writes the same files again\n"
    "                  exit status: 0 made, 1 a file cannot be written, 2 bad arguments\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "show") == 0)
        return RunShowCommand(argv[2], stdout, stderr);
    if (argc >= 2 && std::strcmp(argv[1], "burn") == 0)
        return RunBurnCommand(argc - 2, argv + 2, stdout, stderr);
    if (argc >= 2 && std::strcmp(argv[1], "still") == 0)
        return RunStillCommand(argc - 2, argv + 2, stderr);
    if (argc >= 2 && std::strcmp(argv[1], "sample") == 0)
        return RunSampleCommand(argc - 2, argv + 2, stdout, stderr);
    std::fputs(kUsage, stderr);
    return 2;
}
