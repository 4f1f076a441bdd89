#pragma once

#include "records/SharedState.h"

class FormWindow;

// What a window asks of the shell, which alone knows every window: another
// screen in its place, or the end of the program.
class ScreenRequests {
public:
    virtual ~ScreenRequests() = default;
    // Unloads the current window, then loads and shows the target.
    virtual FormWindow* go(Screen target) = 0;
    // Unloads the current window and ends the program.
    virtual void quit() = 0;
};
