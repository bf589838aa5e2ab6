#pragma once
#include <string>
#include <vector>

// One named rectangle of the main window's face. Push elements respond to
// the mouse while active; passive rows mark where child controls and text
// bands go. The rectangle is half-open: its right and bottom edges are
// outside it.
struct CSkinElement {
    int m_bActive;
    std::string m_strName;
    int x, y, width, height;

    bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// The 27 rows of the face, in their fixed order (hit-testing takes the first
// match; a row's tool tip id is its position + 1). Only the active flags
// change at run time.
extern std::vector<CSkinElement> g_skinElements;

// Positions of the rows in g_skinElements, in table order.
enum SkinElementIndex {
    kElementHelp, kElementMin, kElementExit, kElementNew, kElementLoad, kElementSave, kElementStart,
    kElementAbout, kElementBird, kElementLanguage, kElementSetup, kElementFirst, kElementPrev, kElementNext,
    kElementLast, kElementPlay, kElementStop, kElementAdd, kElementDel, kElementDelAll, kElementDelay,
    kElementDelayEdit, kElementPicList, kElementPicStatic, kElementStatus, kElementDevices, kElementListNum,
    kElementCount
};

// The position of the first active row containing the point, or -1.
int HitTestElement(int px, int py);

// The position of the row with this name, or -1.
int FindSkinElement(const std::string& name);
