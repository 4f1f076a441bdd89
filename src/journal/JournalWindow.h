#pragma once

#include "frame/RegisterWindow.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
struct JournalRecord;

// The journal: the dates of a dog's entries and the entry chosen, added
// through the date picker, edited and erased with the bones.
class JournalWindow : public RegisterWindow {
    Q_OBJECT
public:
    JournalWindow(SharedState& state, ScreenRequests& screens);

private:
    void LoadDates();
    void ShowEntry(const JournalRecord& entry);
    void LockEntry();
    void UnlockEntry();
    // Fills the entry's date, dog and text from the box (its ID untouched).
    void StoreEntry(JournalRecord& entry, const QString& entryDate) const;
    void lbDates_Click();

    // The entry box's text as stored (line breaks as CR LF), and back.
    static QString toStored(const QString& boxText);
    static QString toShown(const QString& stored);
    QString entryText() const;
    QString readDoggieName();

    QListWidget* lbDates;
    QPlainTextEdit* txtEntry;

protected:
    // The journal's parts of the commands: Edit and Erase act on the entry
    // chosen in lbDates or just added; Add asks the date with the date picker.
    // A blank entry, characters the file cannot hold, or one too long, is
    // refused in the box.
    REGISTER_PARTS

private:
    qint32 m_chosen = 0; // the record of the entry chosen, 0 for none
    QString m_addDate;   // the date given for the entry being added
};
