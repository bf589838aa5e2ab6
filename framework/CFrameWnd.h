#pragma once
#include "CWnd.h"

// A top-level window of the framework's own window class. Its messages
// reach OnMessage; the rest get the system's default handling. Like the
// framework it stands for, a frame window deletes its object when the
// window is gone (PostNcDestroy), so frame objects are made with new and
// ended by destroying or closing their window.
class CFrameWnd : public CWnd {
public:
    // False when the window cannot be created; the object is then deleted too.
    BOOL Create(const char* title, DWORD style, const RECT& rect = rectDefault, HWND parent = nullptr);

    static const RECT rectDefault;  // the system chooses position and size

protected:
    ~CFrameWnd() override = default;
    // The last call on the object, after the window is gone.
    virtual void PostNcDestroy() { delete this; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
