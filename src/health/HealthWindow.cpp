#include "health/HealthWindow.h"

#include "health/FlexGrid.h"
#include "health/GridSort.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "records/DateTest.h"
#include "records/EraseRewrite.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <optional>

using controls::place;

namespace {

const RegisterWindow::Description kHealthRegister = {
    "HealthWindow",
    "Doggie Health",
    7485,
    {848, 2288, 3728, 5168, 6608},
    {"ADD HEALTH ITEM", "EDIT HEALTH ITEM", "ERASE HEALTH ITEM"},
    {"journal-add.gif", "journal-edit.gif", "journal-erase.gif"},
    {{Screen::Doggies, "doggie.gif", {2520, 4560}, "DOGGIES", {2520, 5880, 1305, 345}},
     {Screen::Journal, "dogtail.gif", {6960, 4560}, "JOURNAL", {6960, 5880, 1335, 375}}},
    7080,
    true,
    Screen::Health,
    "Enter information and click on the save bone to save.",
    "DELETE",
    false};

// The grid's columns: the date and the vaccine shown, and, hidden, the number
// of the record the row stands for, which the sort moves with its row.
constexpr int kRecordColumn = 2;

QLabel* caption(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = place(new QLabel(text, parent), name, geometry);
    label->setFont(fonts::comic(9));
    return label;
}

// A box that takes no more than `width` characters, what its field keeps;
// the date box takes a date of any length, kept as m/d/yyyy when long.
QLineEdit* box(QWidget* parent, const char* name, QRect geometry, std::optional<int> width)
{
    auto* edit = place(new QLineEdit(parent), name, geometry);
    if (width)
        edit->setMaxLength(*width);
    edit->setFont(fonts::comic(9));
    controls::setBackground(edit, colours::LightGreen);
    return edit;
}

} // namespace

HealthWindow::HealthWindow(SharedState& state, ScreenRequests& screens)
    : RegisterWindow(state, screens, kHealthRegister)
{
    vaccinationGrid = place(new FlexGrid(this), "vaccinationGrid", twips::rect(2400, 600, 6015, 3135));
    vaccinationGrid->setFont(fonts::comic(9));
    vaccinationGrid->setAccessibleName(QStringLiteral("Vaccinations"));
    vaccinationGrid->horizontalHeader()->setFont(fonts::comic(9));
    QLabel* lblDateGiven =
        caption(this, "lblDateGiven", QStringLiteral("Date Given"), twips::rect(2400, 3840, 960, 240));
    QLabel* lblVaccine =
        caption(this, "lblVaccine", QStringLiteral("Vaccine Given"), twips::rect(3840, 3840, 1170, 240));
    txtdate = box(this, "txtdate", twips::rect(2400, 4080, 1440, 360), std::nullopt);
    txtvaccine = box(this, "txtvaccine", twips::rect(3840, 4080, 4539, 360), HealthRecord::VaccineWidth);
    entryBoxes = {txtdate, txtvaccine};
    txtdate->setAccessibleName(lblDateGiven->text());
    txtvaccine->setAccessibleName(lblVaccine->text());
    lblDateGiven->setBuddy(txtdate);
    lblVaccine->setBuddy(txtvaccine);
    setTabOrder(lbDoggieList, vaccinationGrid);
    setTabOrder(vaccinationGrid, txtdate);
    setTabOrder(txtdate, txtvaccine);
    connect(vaccinationGrid, &FlexGrid::clicked, this, &HealthWindow::vaccinationGrid_Click);
}

void HealthWindow::load()
{
    RegisterWindow::load();
    vaccinationGrid->hide();
}

void HealthWindow::doggieSelected(bool anotherDog)
{
    // A row of the dog picked before is no choice any more; picking the same
    // dog again keeps it.
    if (anotherDog)
        m_chosen = 0;
    LoadHealthGrid();
}

void HealthWindow::LoadHealthGrid()
{
    vaccinationGrid->show();
    const QSignalBlocker quiet(vaccinationGrid->selectionModel()); // rebuilding clicks nothing
    vaccinationGrid->clearSelection();
    vaccinationGrid->clearCells();
    vaccinationGrid->setCols(3);
    vaccinationGrid->setColumnHidden(kRecordColumn, true);
    vaccinationGrid->setRows(2);
    vaccinationGrid->setColWidthTwips(0, 1440);
    vaccinationGrid->setColWidthTwips(1, 4539);
    vaccinationGrid->setText(0, 0, QStringLiteral("Date Given"));
    vaccinationGrid->setText(0, 1, QStringLiteral("Vaccine Given"));

    // The rows are gathered first and put in the grid in one go. A record of
    // the dog with a blank date is written over by the dog's next record.
    std::vector<QStringList> rows{{QString(), QString(), QString()}};
    guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read);
        HealthRecord last;
        file.scanDoggie(file.wholeCount(), state().DoggieRecNo, last, [&](qint32 i, const HealthRecord& h) {
            rows.back() = QStringList{h.DateGiven, h.Vaccine, QString::number(i)};
            if (!fixedtext::isBlank(h.DateGiven))
                rows.push_back({QString(), QString(), QString()});
            return true;
        });
    });
    vaccinationGrid->setDataRows(rows);
    const int last = int(rows.size()); // the trailing empty row
    if (last > 1)
        QSort(*vaccinationGrid, 0, 1, last);
    vaccinationGrid->setCurrentCell(-1, -1);
}

void HealthWindow::vaccinationGrid_Click()
{
    const int r = vaccinationGrid->currentGridRow();
    if (r < 1)
        return;
    const QString date = vaccinationGrid->text(r, 0);
    const QString vaccine = vaccinationGrid->text(r, 1);
    if (fixedtext::isBlank(date) || fixedtext::isBlank(vaccine))
        return;
    // A row stands for the record it was listed from; should the file have
    // changed since, for the first record of the dog with both its texts.
    const qint32 listed = vaccinationGrid->text(r, kRecordColumn).toInt();
    HealthRecord chosen;
    qint32 found = 0;
    guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read);
        const auto matches = [&](const HealthRecord& h) {
            return h.DoggieID == state().DoggieRecNo && h.Vaccine == vaccine && h.DateGiven == date;
        };
        found = file.listedRecord(listed, file.wholeCount(), state().DoggieRecNo, matches, chosen);
    });
    m_chosen = found;
    if (m_chosen > 0)
        ShowHealthItem(chosen);
}

void HealthWindow::ShowHealthItem(const HealthRecord& record)
{
    txtdate->setText(record.DateGiven);
    txtvaccine->setText(record.Vaccine);
    txtdate->setCursorPosition(0);
    txtvaccine->setCursorPosition(0);
}

void HealthWindow::StoreHealthItem(HealthRecord& record) const
{
    record.DoggieID = state().DoggieRecNo;
    record.DateGiven = fixedtext::fit(txtdate->text(), HealthRecord::DateGivenWidth);
    record.Vaccine = fixedtext::fit(txtvaccine->text(), HealthRecord::VaccineWidth);
}

void HealthWindow::ClearFields()
{
    txtdate->clear();
    txtvaccine->clear();
}

bool HealthWindow::saveRefused()
{
    if (!storable(entryBoxes))
        return true;
    QLineEdit* wrong = !isDate(txtdate->text())                 ? txtdate
                       : fixedtext::isBlank(txtvaccine->text()) ? txtvaccine
                                                                : nullptr;
    if (wrong) {
        refuse(wrong);
        return true;
    }
    txtdate->setText(fitDate(txtdate->text(), HealthRecord::DateGivenWidth)); // what is saved
    return false;
}

bool HealthWindow::prepare(Command command)
{
    if (command == Command::Edit) // the chosen record, as the boxes show it
        return !fixedtext::isBlank(txtdate->text()) && !fixedtext::isBlank(txtvaccine->text());
    m_chosen = 0; // the boxes no longer show the chosen record
    ClearFields();
    return true;
}

RegisterWindow::Written HealthWindow::write(Command command)
{
    // An edit keeps the chosen record's ID and dog; only the two texts change.
    bool ofThisDog = true;
    const bool saved = guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length);
        HealthRecord record;
        if (command == Command::Edit) {
            record = file.read<HealthRecord>(m_chosen);
            ofThisDog = record.DoggieID == state().DoggieRecNo;
        }
        if (!ofThisDog)
            return;
        StoreHealthItem(record);
        if (command == Command::Add)
            file.append(record);
        else
            file.write(m_chosen, record);
    });
    return !saved ? Written::Failed : ofThisDog ? Written::Yes : Written::Gone;
}

void HealthWindow::saved(Command)
{
    LoadHealthGrid();
    ClearFields();
}

std::optional<QString> HealthWindow::eraseQuestion()
{
    // The question names the record that goes, whatever the boxes now hold.
    HealthRecord record;
    if (fixedtext::isBlank(txtdate->text()) || !guard([&] {
            record = RecordFile(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read)
                         .read<HealthRecord>(m_chosen);
        }))
        return std::nullopt;
    return QStringLiteral("Delete ") + fixedtext::trimSpaces(record.Vaccine) + u'!';
}

bool HealthWindow::erase()
{
    HealthRecord last;
    return guard([&] { eraseInto(last, state().path(files::Health), state().path(files::Temp), m_chosen); });
}

void HealthWindow::erased()
{
    m_chosen = 0;
    ClearFields();
    LoadHealthGrid();
}

qint32 HealthWindow::chosenRecord() const
{
    return m_chosen;
}
