#pragma once

#include "platform/FormWindow.h"

class ClickLabel;
class Navigator;
class PictureControl;
class QLabel;

// The picture menu the program starts with.
class MainWindow : public FormWindow {
    Q_OBJECT
public:
    MainWindow(SharedState& state, Navigator& navigator);

    void load() override;

protected:
    void closeRequested() override; // Quit

private:
    PictureControl* background; // paw prints behind everything
    QLabel* title;
    PictureControl* doggiesPicture;
    ClickLabel* doggiesCaption;
    PictureControl* healthPicture;
    ClickLabel* healthCaption;
    PictureControl* journalPicture;
    ClickLabel* journalCaption;
    PictureControl* quitPicture;
    ClickLabel* quitCaption;
    QLabel* footer;
    QLabel* footerSecondLine;

private:
    Navigator& m_navigator;
};
