#pragma once

#include "frame/RegisterWindow.h"

#include <QList>

#include <optional>

class QLineEdit;
struct DoggieRecord;

// The dog register: the dogs' particulars and picture, added, edited and
// erased with the two-click bones.
class DogRegisterWindow : public RegisterWindow {
    Q_OBJECT
public:
    DogRegisterWindow(SharedState& state, ScreenRequests& screens);

    void load() override;

private:
    void ShowDoggie();
    void ClearFields();
    void LockFields();
    void UnlockFields();
    // Copies the boxes into `record`, every box as typed (an empty box empties
    // its field).
    void StoreDoggie(DoggieRecord& record) const;

    void imgDoggiePic_Click();

    PictureControl* imgDoggiePic;

protected:
    // The dog register's parts of the commands: a command acts on the dog
    // shown, and Add begins on a blank dog.
    REGISTER_PARTS
    bool addAllowed() override { return true; }

    // The boxes and the picture chosen since the command began.
    QStringList entryTexts() const override;

private:
    // "Delete Rex, with its 2 vaccinations and 1 journal entry!"
    QString questionFor(const DoggieRecord& dog);
    // Erases dog k with its vaccinations and journal entries; false, with a
    // message saying what was and was not erased, when a file fails.
    bool eraseWithItsRecords(qint32 k, const QString& name);

    QList<QLineEdit*> m_boxes;              // in the order of the record's fields
    std::optional<QString> m_chosenPicture; // chosen since the dog was shown or Add began
    QString m_chooserName;                  // the file name the chooser keeps while the window is open
};
