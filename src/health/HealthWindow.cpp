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

const QString HealthWindow::EntryStatus = QStringLiteral("Enter information and click on the save bone to save.");

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
    ReportType::Health};

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
    lblDateGiven = caption(this, "lblDateGiven", QStringLiteral("Date Given"), twips::rect(2400, 3840, 960, 240));
    lblVaccine = caption(this, "lblVaccine", QStringLiteral("Vaccine Given"), twips::rect(3840, 3840, 1170, 240));
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

void HealthWindow::doggieSelected()
{
    // A row of the dog picked before is no choice any more; picking the same
    // dog again keeps it.
    if (state().DoggieRecNo != m_gridDoggie)
        m_rowChosen = false;
    m_gridDoggie = state().DoggieRecNo;
    LoadHealthGrid();
}

void HealthWindow::LoadHealthGrid()
{
    vaccinationGrid->show();
    const QSignalBlocker quiet(vaccinationGrid->selectionModel()); // rebuilding clicks nothing
    vaccinationGrid->clearSelection();
    vaccinationGrid->clearCells();
    vaccinationGrid->setCols(2);
    vaccinationGrid->setRows(2);
    vaccinationGrid->setColWidthTwips(0, 1440);
    vaccinationGrid->setColWidthTwips(1, 4539);
    vaccinationGrid->setText(0, 0, QStringLiteral("Date Given"));
    vaccinationGrid->setText(0, 1, QStringLiteral("Vaccine Given"));

    // The rows are gathered first and put in the grid in one go. A record of
    // the dog with a blank date is written over by the dog's next record.
    std::vector<QStringList> rows{{QString(), QString()}};
    guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read);
        file.scanDoggie(file.wholeCount(), state().DoggieRecNo, state().workingHealth,
                        [&](qint32, const HealthRecord& h) {
                            rows.back() = QStringList{h.DateGiven, h.Vaccine};
                            if (!fixedtext::isBlank(h.DateGiven))
                                rows.push_back({QString(), QString()});
                            return true;
                        });
    });
    vaccinationGrid->setDataRows(rows);
    const int last = int(rows.size()); // the trailing empty row
    if (last > 1)
        QSort(*vaccinationGrid, 0, 1, last, false, false);
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
    // A row stands for the first record of the dog with both its texts.
    guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read);
        state().HealthRecNo = 0;
        file.scanDoggie(file.wholeCount(), state().DoggieRecNo, state().workingHealth,
                        [&](qint32 i, const HealthRecord& h) {
                            if (h.Vaccine != vaccine || h.DateGiven != date)
                                return true;
                            state().HealthRecNo = i;
                            return false;
                        });
    });
    m_rowChosen = state().HealthRecNo > 0;
    if (m_rowChosen) {
        m_chosenVaccine = state().workingHealth.Vaccine;
        ShowHealthItem();
    }
}

void HealthWindow::ShowHealthItem()
{
    txtdate->setText(state().workingHealth.DateGiven);
    txtvaccine->setText(state().workingHealth.Vaccine);
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

void HealthWindow::imgAdd_Click()
{
    // A vaccination needs a dog to belong to: one picked here and still there.
    if (!pickedDogIsLive())
        return;
    if (!waits(imgAdd)) {
        m_rowChosen = false; // the boxes no longer show the chosen record
        ClearFields();
        beginEntry(imgAdd);
        txtdate->setFocus();
        ShowStatus(EntryStatus);
        return;
    }
    // A refused entry, or one the file did not take, waits with its text for
    // the user to put it right and click again.
    if (saveRefused())
        return;
    HealthRecord record;
    StoreHealthItem(record);
    qint32 number = 0;
    const bool saved = guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length);
        number = file.append(record);
    });
    if (!saved)
        return;
    state().HealthRecNo = number;
    state().workingHealth = record;
    m_rowChosen = false;
    LoadHealthGrid();
    ClearFields();
    endEntry(imgAdd);
    ShowStatus(ReadyStatus);
}

void HealthWindow::imgEdit_Click()
{
    if (waits(imgAdd))
        return;
    if (!waits(imgEdit)) {
        if (!m_rowChosen || fixedtext::isBlank(txtdate->text()) || fixedtext::isBlank(txtvaccine->text()))
            return; // nothing chosen in this dog's grid: nothing to edit
        beginEntry(imgEdit);
        txtdate->setFocus();
        return;
    }
    if (!m_rowChosen) { // another dog was picked: the record is not this dog's to change
        endEntry(imgEdit);
        return;
    }
    if (saveRefused())
        return;
    // The chosen record keeps its ID and its dog; only the two texts change.
    const qint32 k = state().HealthRecNo;
    HealthRecord record;
    bool ofThisDog = false;
    const bool ok = guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length);
        record = file.read<HealthRecord>(k);
        ofThisDog = record.DoggieID == state().DoggieRecNo;
        if (!ofThisDog)
            return;
        StoreHealthItem(record);
        file.write(k, record);
    });
    if (!ok)
        return; // the edit waits, with its text, for another try
    if (ofThisDog) {
        state().workingHealth = record;
        LoadHealthGrid();
        ClearFields();
    }
    endEntry(imgEdit);
}

void HealthWindow::imgErase_Click()
{
    if (waits(imgAdd) || fixedtext::isBlank(txtdate->text()) || !m_rowChosen)
        return;
    // The question names the record that goes, whatever the boxes now hold.
    const QString text = QStringLiteral("Delete ") + fixedtext::trimSpaces(m_chosenVaccine) + u'!';
    if (!prompts().askYesNo(this, QStringLiteral("DELETE"), text))
        return;
    const bool erased = guard([&] {
        eraseInto(state().workingHealth, state().path(files::Health), state().path(files::Temp), state().HealthRecNo);
    });
    if (!erased)
        return;
    m_rowChosen = false;
    ClearFields();
    LoadHealthGrid();
}
