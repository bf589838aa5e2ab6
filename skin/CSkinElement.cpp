#include "CSkinElement.h"

std::vector<CSkinElement> g_skinElements = {
    {1, "help", 385, 3, 37, 29},       {1, "min", 465, 3, 37, 29},       {1, "exit", 503, 3, 36, 29},
    {1, "new", 152, 43, 74, 90},       {1, "load", 252, 43, 74, 90},     {1, "save", 352, 43, 74, 90},
    {1, "start", 452, 43, 74, 90},     {1, "about", 425, 3, 37, 29},     {0, "bird", 1, 42, 106, 140},
    {1, "language", 108, 131, 35, 35}, {1, "setup", 504, 166, 35, 24},   {1, "first", 294, 231, 46, 44},
    {1, "prev", 294, 275, 46, 44},     {1, "next", 294, 319, 46, 43},    {1, "last", 294, 362, 46, 44},
    {1, "play", 414, 372, 28, 28},     {1, "stop", 448, 372, 28, 28},    {1, "add", 48, 373, 30, 26},
    {1, "del", 78, 373, 27, 26},       {1, "delall", 105, 373, 30, 26},  {1, "delay", 219, 373, 24, 26},
    {0, "delayedit", 149, 380, 62, 15}, {0, "piclist", 16, 239, 261, 133}, {0, "picstatic", 355, 206, 187, 175},
    {0, "status", 165, 141, 354, 20},  {0, "devices", 13, 200, 266, 50}, {0, "listnum", 13, 405, 268, 17},
};

int HitTestElement(int px, int py)
{
    for (size_t i = 0; i < g_skinElements.size(); ++i)
        if (g_skinElements[i].m_bActive && g_skinElements[i].Contains(px, py))
            return static_cast<int>(i);
    return -1;
}

int FindSkinElement(const std::string& name)
{
    for (size_t i = 0; i < g_skinElements.size(); ++i)
        if (g_skinElements[i].m_strName == name)
            return static_cast<int>(i);
    return -1;
}
