#include "StillCommand.h"

#include <cstring>
#include <string>

#include "engine/still/StillItem.h"
#include "framework/FileHelpers.h"

int RunStillCommand(int argc, char** argv, std::FILE* err)
{
    StillItemOptions options;
    std::string picture, out;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--ntsc") == 0) {
            options.ntsc = true;
        } else if (std::strcmp(a, "--normal-only") == 0) {
            options.normalOnly = true;
        } else if (std::strcmp(a, "--safe-area") == 0) {
            options.safeArea = true;
        } else if (a[0] == '-' && a[1] != '\0') {
            std::fprintf(err, "snapburn still: unknown option %s\n", a);
            return 2;
        } else if (picture.empty()) {
            picture = a;
        } else if (out.empty()) {
            out = a;
        } else {
            std::fprintf(err, "snapburn still: too many arguments\n");
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(err, "snapburn still: a picture and an output file are needed\n");
        return 2;
    }
    StillItem item = MakeStillItem(picture, options);
    if (!item.ok) {
        std::fprintf(err, "snapburn: %s\n", item.error.c_str());
        return 1;
    }
    if (!item.warning.empty())
        std::fprintf(err, "snapburn: warning: %s\n", item.warning.c_str());
    if (!WriteWholeFile(out, item.packs)) {
        std::remove(out.c_str());
        std::fprintf(err, "snapburn: %s: the file cannot be written\n", out.c_str());
        return 1;
    }
    return 0;
}
