#pragma once

#include "shell/RegisterWindow.h"

class FrmHealth : public RegisterWindow {
    Q_OBJECT
public:
    FrmHealth(SharedState& state, Navigator& navigator);
};
