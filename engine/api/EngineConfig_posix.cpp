#include "EngineConfig.h"

#include <cstdlib>

EngineConfig DefaultEngineConfig()
{
    EngineConfig config;
    const char* home = std::getenv("HOME");
    config.imageFolder = std::string(home && *home ? home : ".") + "/Documents/Snapdisc Images";
    return config;
}

char FreeDriveLetter()
{
    return 'Z';
}
