#pragma once

#include "frame/ScreenRequests.h"
#include "platform/FormWindow.h"
#include "records/SharedState.h"

class ClickLabel;
class PictureControl;
class QFrame;
class QLabel;
class QListWidget;

// The frame the three register windows share: the dog list, the information
// panel, the five bones, the status line and the two navigation pictures,
// with the handlers for navigation, closing, printing and picking a dog.
class RegisterWindow : public FormWindow {
    Q_OBJECT
public:
    // A picture that leads to another register, with its caption.
    struct NavPicture {
        Screen target;
        const char* picture;
        QPoint at; // twips
        const char* caption;
        QRect captionAt; // twips
    };
    // What a register gives the frame: its window's name, caption and height,
    // its bones' places, tips and pictures, the pictures that lead to the other
    // two registers, the status line's place, whether Enter moves on from a
    // text box, and the report its print bone asks for.
    struct Description {
        const char* objectName;
        const char* caption;
        int heightTwips;
        int boneLeft[5];
        const char* tips[3];  // add, edit, erase
        const char* bones[3]; // add, edit, erase pictures
        NavPicture nav[2];
        int barTop;
        bool keyPreview;
        ReportType reportType;
    };

    // `description` outlives the window: each register keeps its own.
    RegisterWindow(SharedState& state, ScreenRequests& screens, const Description& description);

    // Loads the pictures, fills the dog list and shows the opening status.
    void load() override;

protected:
    void ShowStatus(const QString& text);
    // Refills the dog list from doggies.dat, one entry per record.
    void LoadDoggieList();
    // After dog `number` was saved or erased: its row, and the rows the file
    // gained or lost at its end, are read again, and no dog is picked in the
    // list, as after a refill; the other rows are left as they are.
    void ReloadDoggieRow(qint32 number);

    QLabel* listHeading;
    QListWidget* lbDoggieList;
    QLabel* shownDogName; // "Doggie Information" until a dog is picked
    QFrame* infoPanel;
    PictureControl* imgAdd;
    PictureControl* imgEdit;
    PictureControl* imgErase;
    PictureControl* imgPrint;
    PictureControl* imgClose;
    QLabel* statusLine;
    // The pictures and captions that lead to the other two registers; those
    // of the window's own register are null.
    PictureControl* doggiesPicture = nullptr;
    PictureControl* healthPicture = nullptr;
    PictureControl* journalPicture = nullptr;
    ClickLabel* doggiesCaption = nullptr;
    ClickLabel* healthCaption = nullptr;
    ClickLabel* journalCaption = nullptr;

    static const QString ReadyStatus;
    static const QString LeaveQuestion;

    // The register's own commands; the frame only wires the bones to them.
    virtual void imgAdd_Click() {}
    virtual void imgEdit_Click() {}
    virtual void imgErase_Click() {}
    // After the dog lookup found the clicked dog (DoggieRecNo and workingDoggie
    // hold it, shownDogName shows its name).
    virtual void doggieSelected() {}

    // The two-click commands. beginEntry puts `bone` (imgAdd or imgEdit) in
    // wait for its save click and keeps the boxes as they are then, so that
    // leaving can tell typing from what was shown; endEntry puts it back at
    // rest after a save.
    void beginEntry(PictureControl* bone);
    void endEntry(PictureControl* bone);
    bool waits(const PictureControl* bone) const;
    // A save refused at `box`: the bone keeps waiting, every box keeps its
    // text, and the keyboard goes to `box` with its text selected.
    void refuse(QWidget* box);
    // Whether the record files can hold every character of the boxes; when
    // one cannot, says which characters, in which box, and refuses there.
    bool storable(const QList<QWidget*>& boxes);

    // The boxes an entry is typed into, in the order of the record's fields.
    QList<QWidget*> entryBoxes;
    // What the entry holds, as leaving compares it: the boxes' texts, and
    // whatever else a register's entry carries.
    virtual QStringList entryTexts() const;
    static QString textOf(const QWidget* box);

    // Whether a dog was picked in this window's list since it opened and its
    // record, DoggieRecNo, is still a live dog in doggies.dat. A dog carried
    // over from another window, or erased since, is not.
    bool pickedDogIsLive();

    void closeRequested() override { leave(Screen::Main); } // the close bone

private:
    void lbDoggieList_Click();
    void imgPrint_Click();
    // Goes to another screen; with unsaved typing, only when the user says so.
    void leave(Screen target);
    bool mayLeave();

    PictureControl*& navPictureOf(Screen target);
    ClickLabel*& navCaptionOf(Screen target);

    const Description& m_description;
    bool m_dogPicked = false;
    bool m_addWaits = false; // for its save click
    bool m_editWaits = false;
    QStringList m_begun; // the entry when the waiting command began or last saved
    ScreenRequests& m_screens;
};
