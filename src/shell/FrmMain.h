#pragma once

#include "platform/FormWindow.h"

class ClickLabel;
class Navigator;
class PictureControl;
class QLabel;

// The picture menu the program starts with.
class FrmMain : public FormWindow {
    Q_OBJECT
public:
    FrmMain(SharedState& state, Navigator& navigator);

    void Form_Load() override;

    PictureControl* Image1; // quit
    PictureControl* Image2; // background
    PictureControl* Image3; // health
    PictureControl* Image4; // doggies
    PictureControl* Image5; // journal
    QLabel* Label7;         // title
    ClickLabel* Label1;     // "DOGGIES"
    ClickLabel* Label2;     // "HEALTH"
    ClickLabel* Label3;     // "JOURNAL"
    ClickLabel* Label4;     // "QUIT"
    QLabel* Label5;         // footer notice
    QLabel* Label6;         // footer, second line

private:
    Navigator& m_navigator;
};
