#include "health/FrmHealth.h"

#include "health/FlexGrid.h"
#include "health/GridSort.h"
#include "platform/Controls.h"
#include "platform/DateTest.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "records/EraseRewrite.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using controls::place;

const QString FrmHealth::EntryStatus = QStringLiteral("Enter information and click on the save bone to save.");

namespace {

QLabel* caption(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = place(new QLabel(text, parent), name, geometry);
    label->setFont(fonts::comic(9));
    return label;
}

QLineEdit* box(QWidget* parent, const char* name, QRect geometry)
{
    auto* edit = place(new QLineEdit(parent), name, geometry);
    edit->setFont(fonts::comic(9));
    controls::setBackground(edit, colours::LightGreen);
    return edit;
}

} // namespace

FrmHealth::FrmHealth(SharedState& state, Navigator& navigator) : RegisterWindow(state, navigator, Register::Health)
{
    MSFlexGrid1 = place(new FlexGrid(this), "MSFlexGrid1", twips::rect(2400, 600, 6015, 3135));
    MSFlexGrid1->setFont(fonts::comic(9));
    MSFlexGrid1->setAccessibleName(QStringLiteral("Vaccinations"));
    MSFlexGrid1->horizontalHeader()->setFont(fonts::comic(9));
    Label3 = caption(this, "Label3", QStringLiteral("Date Given"), twips::rect(2400, 3840, 960, 240));
    Label4 = caption(this, "Label4", QStringLiteral("Vaccine Given"), twips::rect(3840, 3840, 1170, 240));
    txtdate = box(this, "txtdate", twips::rect(2400, 4080, 1440, 360));
    txtvaccine = box(this, "txtvaccine", twips::rect(3840, 4080, 4539, 360));
    txtdate->setAccessibleName(Label3->text());
    txtvaccine->setAccessibleName(Label4->text());
    Label3->setBuddy(txtdate);
    Label4->setBuddy(txtvaccine);
    setTabOrder(lbDoggieList, MSFlexGrid1);
    setTabOrder(MSFlexGrid1, txtdate);
    setTabOrder(txtdate, txtvaccine);
    connect(MSFlexGrid1, &FlexGrid::clicked, this, &FrmHealth::MSFlexGrid1_Click);
}

void FrmHealth::Form_Load()
{
    RegisterWindow::Form_Load();
    MSFlexGrid1->hide();
}

void FrmHealth::doggieSelected()
{
    m_rowChosen = false; // a row of the dog picked before is no choice any more
    LoadHealthGrid();
}

void FrmHealth::LoadHealthGrid()
{
    MSFlexGrid1->show();
    const QSignalBlocker quiet(MSFlexGrid1->selectionModel()); // rebuilding clicks nothing
    MSFlexGrid1->clearSelection();
    MSFlexGrid1->clearCells();
    MSFlexGrid1->setCols(2);
    MSFlexGrid1->setRows(2);
    MSFlexGrid1->setColWidthTwips(0, 1440);
    MSFlexGrid1->setColWidthTwips(1, 4539);
    MSFlexGrid1->setText(0, 0, QStringLiteral("Date Given"));
    MSFlexGrid1->setText(0, 1, QStringLiteral("Vaccine Given"));

    // The rows are gathered first and put in the grid in one go. A record of
    // the dog with a blank date is written over by the dog's next record.
    std::vector<QStringList> rows{{QString(), QString()}};
    guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read);
        file.scanDoggie(file.wholeCount(), state().DoggieRecNo, state().HealthRecord,
                        [&](qint32, const HealthRecord& h) {
                            rows.back() = QStringList{h.DateGiven, h.Vaccine};
                            if (!fixedtext::isBlank(h.DateGiven))
                                rows.push_back({QString(), QString()});
                            return true;
                        });
    });
    MSFlexGrid1->setDataRows(rows);
    const int last = int(rows.size()); // the trailing empty row
    if (last > 1)
        QSort(*MSFlexGrid1, 0, 1, last, false, false);
    MSFlexGrid1->setCurrentCell(-1, -1);
}

void FrmHealth::MSFlexGrid1_Click()
{
    const int r = MSFlexGrid1->currentGridRow();
    if (r < 1)
        return;
    const QString date = MSFlexGrid1->text(r, 0);
    const QString vaccine = MSFlexGrid1->text(r, 1);
    if (fixedtext::isBlank(date) || fixedtext::isBlank(vaccine))
        return;
    // A row stands for the first record of the dog with both its texts.
    guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length, RecordFile::Mode::Read);
        state().HealthRecNo = 0;
        file.scanDoggie(file.wholeCount(), state().DoggieRecNo, state().HealthRecord,
                        [&](qint32 i, const HealthRecord& h) {
                            if (h.Vaccine != vaccine || h.DateGiven != date)
                                return true;
                            state().HealthRecNo = i;
                            return false;
                        });
    });
    m_rowChosen = state().HealthRecNo > 0;
    if (m_rowChosen)
        ShowHealthItem();
}

void FrmHealth::ShowHealthItem()
{
    txtdate->setText(state().HealthRecord.DateGiven);
    txtvaccine->setText(state().HealthRecord.Vaccine);
    txtdate->setCursorPosition(0);
    txtvaccine->setCursorPosition(0);
}

void FrmHealth::StoreHealthItem(HealthRecord& record) const
{
    record.DoggieID = state().DoggieRecNo;
    record.DateGiven = fixedtext::fit(txtdate->text(), HealthRecord::DateGivenWidth);
    record.Vaccine = fixedtext::fit(txtvaccine->text(), HealthRecord::VaccineWidth);
}

void FrmHealth::ClearFields()
{
    txtdate->clear();
    txtvaccine->clear();
}

bool FrmHealth::validEntry() const
{
    return isDate(txtdate->text()) && !fixedtext::isBlank(txtvaccine->text());
}

void FrmHealth::imgAdd_Click()
{
    // A vaccination needs a dog to belong to.
    if (fixedtext::isBlank(state().DoggieRecord.Name) || state().DoggieRecNo <= 0)
        return;
    if (imgAdd->tag() == QLatin1String("ADD")) {
        imgAdd->setTag(QStringLiteral("SAVE"));
        loadPicture(imgAdd, QStringLiteral("doggie-save.gif"));
        ClearFields();
        txtdate->setFocus();
        ShowStatus(EntryStatus);
        return;
    }
    if (imgAdd->tag() != QLatin1String("SAVE"))
        return;
    imgAdd->setTag(QStringLiteral("ADD"));
    loadPicture(imgAdd, QStringLiteral("doggie-add.gif"));
    if (!validEntry())
        return; // refused without a word; the boxes keep their text
    HealthRecord record;
    StoreHealthItem(record);
    qint32 number = 0;
    const bool saved = guard([&] {
        RecordFile file(state().path(files::Health), HealthRecord::Length);
        number = file.append(record);
    });
    if (!saved) {
        // The entry waits, with its text, for another try.
        imgAdd->setTag(QStringLiteral("SAVE"));
        loadPicture(imgAdd, QStringLiteral("doggie-save.gif"));
        return;
    }
    state().HealthRecNo = number;
    state().HealthRecord = record;
    m_rowChosen = false;
    LoadHealthGrid();
    ClearFields();
    ShowStatus(ReadyStatus);
}

void FrmHealth::imgEdit_Click()
{
    if (fixedtext::isBlank(state().DoggieRecord.Name))
        return;
    if (fixedtext::isBlank(txtdate->text()) || fixedtext::isBlank(txtvaccine->text()))
        return;
    if (imgEdit->tag() == QLatin1String("EDIT")) {
        if (!m_rowChosen)
            return; // nothing chosen in this dog's grid: nothing to edit
        imgEdit->setTag(QStringLiteral("SAVE"));
        loadPicture(imgEdit, QStringLiteral("doggie-save.gif"));
        txtdate->setFocus();
        return;
    }
    if (imgEdit->tag() != QLatin1String("SAVE"))
        return;
    imgEdit->setTag(QStringLiteral("EDIT"));
    loadPicture(imgEdit, QStringLiteral("doggie-edit.gif"));
    if (!validEntry() || !m_rowChosen)
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
    if (!ok) { // the edit waits, with its text, for another try
        imgEdit->setTag(QStringLiteral("SAVE"));
        loadPicture(imgEdit, QStringLiteral("doggie-save.gif"));
        return;
    }
    if (!ofThisDog)
        return;
    state().HealthRecord = record;
    LoadHealthGrid();
    ClearFields();
}

void FrmHealth::imgErase_Click()
{
    if (fixedtext::isBlank(txtdate->text()) || !m_rowChosen)
        return;
    const QString text = QStringLiteral("Delete ") + fixedtext::trimSpaces(txtvaccine->text()) + u'!';
    if (!prompts().askYesNo(this, QStringLiteral("DELETE"), text))
        return;
    const bool erased = guard([&] {
        eraseInto(state().HealthRecord, state().path(files::Health), state().path(files::Temp), state().HealthRecNo);
    });
    if (!erased)
        return;
    m_rowChosen = false;
    ClearFields();
    LoadHealthGrid();
}
