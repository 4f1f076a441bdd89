#include "journal/JournalWindow.h"

#include "datepicker/DatePickerDialog.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/RowClicks.h"
#include "platform/Twips.h"
#include "records/DoggieList.h"
#include "records/EraseRewrite.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"
#include "records/Win1252.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>

using controls::place;

namespace {

const RegisterWindow::Description kJournalRegister = {
    "JournalWindow",
    "Doggie Journal",
    7605,
    {848, 2288, 3728, 5168, 6608},
    {"ADD ITEM", "EDIT ITEM", "ERASE ITEM"},
    {"journal-add.gif", "journal-edit.gif", "journal-erase.gif"},
    {{Screen::Health, "poorlydog.gif", {2520, 4560}, "HEALTH", {2520, 5880, 1365, 345}},
     {Screen::Doggies, "doggie.gif", {6960, 4560}, "DOGGIES", {6960, 5880, 1335, 375}}},
    7200,
    false,
    Screen::Journal,
    "Add your information and click on the save bone to save.",
    "DELETE",
    false};

constexpr int kRecordRole = Qt::UserRole; // the record number an item of lbDates stands for

// The entry box. What is pasted into it is cut where the box would pass
// 32768 characters: far more than an entry keeps (4096), and little enough
// that wrapping the lines never holds the window up.
class EntryBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    static constexpr int MaxLength = 32768;

protected:
    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source->hasText())
            return;
        const QTextCursor cursor = textCursor();
        const int kept = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
        insertPlainText(source->text().left(qMax(0, MaxLength - kept)));
    }
};

} // namespace

JournalWindow::JournalWindow(SharedState& state, ScreenRequests& screens)
    : RegisterWindow(state, screens, kJournalRegister)
{
    QLabel* lblDate = controls::boxedLabel(this, "lblDate", QStringLiteral("Date"), twips::rect(2400, 600, 1455, 255),
                                           colours::LightGrey, 9);
    lbDates = place(new QListWidget(this), "lbDates", twips::rect(2400, 840, 1455, 3630));
    lbDates->setFont(fonts::comic(9));
    controls::setBackground(lbDates, colours::LightGrey);
    QLabel* lblEntry = controls::boxedLabel(this, "lblEntry", QStringLiteral("Journal Entry"),
                                            twips::rect(3840, 600, 4575, 255), colours::LightGrey, 9);
    txtEntry = place(new EntryBox(this), "txtEntry", twips::rect(3840, 840, 4575, 3615));
    txtEntry->setFont(fonts::comic(9));
    txtEntry->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtEntry->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtEntry->setTabChangesFocus(true);
    txtEntry->setAccessibleName(lblEntry->text());
    entryBoxes = {txtEntry};
    lbDates->setAccessibleName(lblDate->text());
    setTabOrder(lbDoggieList, lbDates);
    setTabOrder(lbDates, txtEntry);
    connect(new RowClicks(lbDates), &RowClicks::clicked, this, &JournalWindow::lbDates_Click);
}

QString JournalWindow::toStored(const QString& boxText)
{
    QString text = boxText;
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString JournalWindow::toShown(const QString& stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString JournalWindow::entryText() const
{
    // The raw text keeps non-breaking spaces, which the plain text would turn
    // into ordinary ones.
    return toStored(txtEntry->document()->toRawText());
}

void JournalWindow::doggieSelected(bool)
{
    m_chosen = 0;
    // The box never shows one dog's entry under another dog's name; typing
    // that waits to be saved stays.
    if (!waits(Command::Add) && !waits(Command::Edit))
        txtEntry->clear();
    if (state().DoggieRecNo > 0)
        LoadDates();
}

void JournalWindow::LoadDates()
{
    const QSignalBlocker quiet(lbDates); // listing picks no entry
    lbDates->clear();
    guard([&] {
        RecordFile file(state().path(files::Journal), JournalRecord::Length, RecordFile::Mode::Read);
        JournalRecord last;
        file.scanDoggie(file.count(), state().DoggieRecNo, last, [&](qint32 i, const JournalRecord& j) {
            auto* item = new QListWidgetItem(j.EntryDate);
            item->setData(kRecordRole, i);
            lbDates->addItem(item);
            return true;
        });
    });
    LockEntry();
}

void JournalWindow::lbDates_Click()
{
    const QListWidgetItem* item = lbDates->currentItem();
    if (!item || fixedtext::isBlank(item->text()))
        return;
    state().SelectedDate = item->text();
    // The item stands for the record it was listed from; should the file
    // have changed since, the first entry of the dog with that date is taken.
    const qint32 listed = item->data(kRecordRole).toInt();
    guard([&] {
        RecordFile file(state().path(files::Journal), JournalRecord::Length, RecordFile::Mode::Read);
        auto matches = [&](const JournalRecord& j) {
            return j.DoggieID == state().DoggieRecNo && j.EntryDate == state().SelectedDate;
        };
        JournalRecord entry;
        const qint32 found = file.listedRecord(listed, file.count(), state().DoggieRecNo, matches, entry);
        if (found == 0)
            return;
        m_chosen = found;
        ShowEntry(entry);
    });
}

void JournalWindow::ShowEntry(const JournalRecord& entry)
{
    // Without the spaces that pad the field, so that what the user types after
    // the last word stands where the save keeps it. The save pads again.
    txtEntry->setPlainText(fixedtext::trimEnd(toShown(entry.Entry)));
}

bool JournalWindow::saveRefused()
{
    if (fixedtext::isBlank(txtEntry->toPlainText())) {
        refuse(txtEntry);
        return true;
    }
    if (!storable(entryBoxes))
        return true;
    const qsizetype bytes = win1252::encode(entryText()).size();
    if (bytes <= JournalRecord::EntryWidth)
        return false;
    prompts().message(
        this, windowTitle(),
        QStringLiteral("This entry is too long to keep: a journal entry holds %1 characters, each "
                       "line break counting as two, and this one is %2 %3 over.\n\n"
                       "Shorten it and click the save bone again.")
            .arg(JournalRecord::EntryWidth)
            .arg(bytes - JournalRecord::EntryWidth)
            .arg(bytes - JournalRecord::EntryWidth == 1 ? QStringLiteral("character") : QStringLiteral("characters")),
        Prompts::Icon::Warning);
    refuse(txtEntry);
    return true;
}

void JournalWindow::LockEntry()
{
    txtEntry->setReadOnly(true);
}

void JournalWindow::UnlockEntry()
{
    txtEntry->setReadOnly(false);
}

void JournalWindow::StoreEntry(JournalRecord& entry, const QString& entryDate) const
{
    entry.EntryDate = fixedtext::fit(entryDate, JournalRecord::EntryDateWidth);
    entry.DoggieID = state().DoggieRecNo;
    entry.Entry = fixedtext::fit(entryText(), JournalRecord::EntryWidth);
}

bool JournalWindow::prepare(Command command)
{
    if (command == Command::Add) {
        DatePickerDialog picker(state(), this);
        picker.load();
        picker.exec();
        if (fixedtext::isBlank(state().SelectedDate))
            return false;
        m_addDate = state().SelectedDate;
        lbDates->addItem(fixedtext::fit(m_addDate, JournalRecord::EntryDateWidth));
        // The entry shown is where the new one starts, selected whole: typing
        // replaces it, an arrow key keeps it.
        txtEntry->selectAll();
    }
    UnlockEntry();
    return true;
}

RegisterWindow::Written JournalWindow::write(Command command)
{
    // An edit keeps the entry's number, ID, dog and its own date.
    bool ofThisDog = true;
    const bool saved = guard([&] {
        RecordFile file(state().path(files::Journal), JournalRecord::Length);
        JournalRecord entry;
        if (command == Command::Add) {
            StoreEntry(entry, m_addDate);
            m_chosen = file.append(entry); // the new entry is the one chosen
            return;
        }
        entry = file.read<JournalRecord>(m_chosen);
        ofThisDog = entry.DoggieID == state().DoggieRecNo;
        if (ofThisDog) {
            StoreEntry(entry, entry.EntryDate);
            file.write(m_chosen, entry);
        }
    });
    if (!ofThisDog) // the edit ends, as a saved one does, with the box locked
        LockEntry();
    return !saved ? Written::Failed : ofThisDog ? Written::Yes : Written::Gone;
}

void JournalWindow::saved(Command command)
{
    if (command == Command::Add) { // the item listed for the new entry now stands for it
        const QString date = fixedtext::fit(m_addDate, JournalRecord::EntryDateWidth);
        for (int row = lbDates->count() - 1; row >= 0; --row) {
            QListWidgetItem* item = lbDates->item(row);
            if (item->data(kRecordRole).toInt() == 0 && item->text() == date) {
                item->setData(kRecordRole, m_chosen);
                break;
            }
        }
    }
    LockEntry();
}

QString JournalWindow::readDoggieName()
{
    QString name;
    guard([&] { name = doggielist::dog(state(), state().DoggieRecNo).Name; });
    return fixedtext::trimSpaces(name);
}

std::optional<QString> JournalWindow::eraseQuestion()
{
    JournalRecord entry;
    if (fixedtext::isBlank(state().SelectedDate) || !guard([&] {
            entry = RecordFile(state().path(files::Journal), JournalRecord::Length, RecordFile::Mode::Read)
                        .read<JournalRecord>(m_chosen);
        }))
        return std::nullopt;
    return QStringLiteral("Delete the %1 entry of %2!").arg(fixedtext::trimSpaces(entry.EntryDate), readDoggieName());
}

bool JournalWindow::erase()
{
    JournalRecord last;
    return guard([&] { eraseInto(last, state().path(files::Journal), state().path(files::Temp), m_chosen); });
}

void JournalWindow::erased()
{
    m_chosen = 0;
    txtEntry->clear();
    lbDates->clear();
    LoadDoggieList();
}

qint32 JournalWindow::chosenRecord() const
{
    return m_chosen;
}
