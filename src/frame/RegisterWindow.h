#pragma once

#include "frame/ScreenRequests.h"
#include "platform/FormWindow.h"
#include "records/SharedState.h"

#include <optional>

class ClickLabel;
class PictureControl;
class QFrame;
class QLabel;
class QListWidget;

// The parts of the commands that a register gives the frame, declared in the
// register's class by this one line (RegisterWindow names them one by one).
#define REGISTER_PARTS                                                                                                 \
    qint32 chosenRecord() const override;                                                                              \
    bool prepare(Command command) override;                                                                            \
    bool saveRefused() override;                                                                                       \
    Written write(Command command) override;                                                                           \
    void saved(Command command) override;                                                                              \
    std::optional<QString> eraseQuestion() override;                                                                   \
    bool erase() override;                                                                                             \
    void erased() override;                                                                                            \
    void doggieSelected(bool anotherDog) override;

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
    // text box, the report its print bone asks for, the prompt of a waiting
    // entry and the title of the erase question. The registers differ on one
    // rule of the commands, and on purpose: only the dog register's Edit shows
    // the entry prompt and the ready prompt after its save (`editPrompts`).
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
        Screen self; // this register, whose report its print bone asks for
        const char* entryStatus;
        const char* eraseTitle;
        bool editPrompts;
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

    QListWidget* lbDoggieList;
    QLabel* shownDogName; // "Doggie Information" until a dog is picked
    PictureControl* imgAdd;
    PictureControl* imgEdit;
    PictureControl* imgErase;
    PictureControl* imgPrint;
    PictureControl* imgClose;
    QLabel* statusLine;
    // The pictures that lead to the other two registers; that of the
    // window's own register is null.
    PictureControl* doggiesPicture = nullptr;
    PictureControl* healthPicture = nullptr;
    PictureControl* journalPicture = nullptr;

    static const QString ReadyStatus;
    static const QString LeaveQuestion;

    // The two-click commands and the erase run in the frame, one machine for
    // the three registers (the rules are in RegisterWindow.cpp); a register
    // gives only its own parts of them.
    enum class Command { Add, Edit };
    enum class Written { Yes, Failed, Gone }; // Gone: the record edited is no longer the dog's
    // The record Edit and Erase act on, 0 for none: the dog shown, the row or
    // the entry chosen.
    virtual qint32 chosenRecord() const = 0;
    // Whether Add may begin, or save: by default only for a dog picked in this
    // window that is still there.
    virtual bool addAllowed() { return pickedDogIsLive(); }
    // Readies the boxes for the command; false when there is nothing to begin
    // on or the person called it off.
    virtual bool prepare(Command command) = 0;
    // Whether the boxes cannot be saved as they stand; the register has then
    // said why, where it says, and refused at the box to put right.
    virtual bool saveRefused() = 0;
    // Writes the command's record; a failed file has been said.
    virtual Written write(Command command) = 0;
    // After a save: the window shows what was saved.
    virtual void saved(Command command) = 0;
    // The erase question for the chosen record; none when there is nothing
    // to erase (or it could not be read, which has been said).
    virtual std::optional<QString> eraseQuestion() = 0;
    // Erases the chosen record; false when a file failed, which has been said.
    virtual bool erase() = 0;
    // After an erase: nothing is chosen, and the boxes show nothing.
    virtual void erased() = 0;
    // After the dog lookup found the clicked dog (DoggieRecNo and workingDoggie
    // hold it, shownDogName shows its name): `anotherDog` when it is not the
    // dog picked before.
    virtual void doggieSelected(bool anotherDog) = 0;

    bool waits(Command command) const { return command == Command::Add ? m_addWaits : m_editWaits; }
    // A save refused at `box`: the bone keeps waiting, every box keeps its
    // text, and the keyboard goes to `box` with its text selected.
    void refuse(QWidget* box);
    // Whether the record files can hold every character of the boxes; when
    // one cannot, says which characters, in which box, and refuses there.
    bool storable(const QList<QWidget*>& boxes);

    // The boxes an entry is typed into, in the order of the record's fields;
    // the first takes the keyboard when a command begins.
    QList<QWidget*> entryBoxes;
    // What the entry holds, as leaving compares it: the boxes' texts, and
    // whatever else a register's entry carries.
    virtual QStringList entryTexts() const;
    static QString textOf(const QWidget* box);

    // The dog this window shows: picked in its list, or added or saved here;
    // 0 for none. A dog carried over from another window is not.
    qint32 pickedDog() const { return m_picked; }
    void setPickedDog(qint32 number) { m_picked = number; }
    // Whether the picked dog is still a live dog in doggies.dat.
    bool pickedDogIsLive();

    void closeRequested() override { leave(Screen::Main); } // the close bone

private:
    void addDoggieRows(const QStringList& names); // at the list's end, each knowing its record
    void lbDoggieList_Click();
    void imgAdd_Click();
    void imgEdit_Click();
    void imgErase_Click();
    void imgPrint_Click();
    void begin(Command command);
    void save(Command command);
    void end(Command command);
    PictureControl* boneOf(Command command) const { return command == Command::Add ? imgAdd : imgEdit; }
    // Goes to another screen; with unsaved typing, only when the user says so.
    void leave(Screen target);
    bool mayLeave();

    PictureControl*& navPictureOf(Screen target);

    const Description& m_description;
    qint32 m_picked = 0;
    bool m_addWaits = false; // for its save click
    bool m_editWaits = false;
    QStringList m_begun; // the entry when the waiting command began or last saved
    ScreenRequests& m_screens;
};
