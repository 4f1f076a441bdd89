#pragma once

class Navigator;

// Teaches the navigator how to make each of the program's windows.
void registerScreens(Navigator& navigator);
