#include "frame/RegisterWindow.h"

#include "platform/ClickLabel.h"
#include "platform/Controls.h"
#include "platform/EnterAsTab.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/RowClicks.h"
#include "platform/Twips.h"
#include "records/DoggieList.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"
#include "records/Win1252.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <optional>

using controls::place;

const QString RegisterWindow::LeaveQuestion =
    QStringLiteral("What you typed has not been saved. Leave without saving it?");

const QString RegisterWindow::ReadyStatus =
    QStringLiteral("Select doggie then click on a doggie bone to add, edit, erase, or print.");

namespace {

constexpr int kRecordRole = Qt::UserRole; // the record number a row of the dog list stands for

QRect twipsRect(QRect r)
{
    return twips::rect(r.x(), r.y(), r.width(), r.height());
}

} // namespace

RegisterWindow::RegisterWindow(SharedState& state, ScreenRequests& screens, const Description& description)
    : FormWindow(state, QString::fromLatin1(description.caption), 8670, description.heightTwips, colours::LightYellow),
      m_description(description), m_screens(screens)
{
    const Description& f = description;
    setObjectName(QLatin1String(f.objectName));

    QLabel* listHeading = controls::boxedLabel(this, "listHeading", QStringLiteral("Your Doggies"),
                                               twips::rect(120, 120, 2055, 405), colours::LightCyan, 9.75);
    lbDoggieList = place(new QListWidget(this), "lbDoggieList", twips::rect(120, 480, 2055, 5790));
    lbDoggieList->setFont(fonts::comic(9));
    lbDoggieList->setUniformItemSizes(true); // one line each: a list of many dogs is laid out at once
    controls::setBackground(lbDoggieList, colours::LightCyan);
    lbDoggieList->setAccessibleName(listHeading->text());
    shownDogName = controls::boxedLabel(this, "shownDogName", QStringLiteral("Doggie Information"),
                                        twips::rect(2280, 120, 6255, 405), colours::LightGreen, 9.75);
    auto* infoPanel = place(new QFrame(this), "infoPanel", twips::rect(2280, 480, 6255, 5775));
    infoPanel->setFrameShape(QFrame::Box);
    controls::setBackground(infoPanel, colours::LightGreen);

    PictureControl** bones[5] = {&imgAdd, &imgEdit, &imgErase, &imgPrint, &imgClose};
    const char* boneNames[5] = {"imgAdd", "imgEdit", "imgErase", "imgPrint", "imgClose"};
    for (int i = 0; i < 5; ++i)
        *bones[i] = place(new PictureControl(this), boneNames[i], twips::rect(f.boneLeft[i], 6360, 1215, 615));
    imgAdd->setTip(QLatin1String(f.tips[0]));
    imgEdit->setTip(QLatin1String(f.tips[1]));
    imgErase->setTip(QLatin1String(f.tips[2]));
    imgPrint->setTip(QStringLiteral("PRINT"));
    imgClose->setTip(QStringLiteral("CLOSE"));
    imgAdd->setTag(QStringLiteral("ADD"));
    imgEdit->setTag(QStringLiteral("EDIT"));
    // The same keys in every register: the bones take no focus, so a keyboard
    // user reaches them this way.
    imgAdd->setKey(QKeySequence(Qt::ALT | Qt::Key_A));
    imgEdit->setKey(QKeySequence(Qt::ALT | Qt::Key_E));
    imgErase->setKey(QKeySequence(Qt::ALT | Qt::Key_R));
    imgPrint->setKey(QKeySequence(Qt::ALT | Qt::Key_P));
    imgClose->setKey(QKeySequence(Qt::ALT | Qt::Key_C));

    statusLine = controls::boxedLabel(this, "statusLine", QString(), twips::rect(120, f.barTop, 8415, 375),
                                      colours::LightPink, 9);

    // A navigation picture and its caption are named after the register they
    // lead to ("healthPicture"), whose first letter is their key (Alt+H).
    for (const NavPicture& nav : f.nav) {
        const QString caption = QLatin1String(nav.caption);
        const QString role = caption.toLower();
        auto* picture = place(new PictureControl(this), qPrintable(role + QLatin1String("Picture")),
                              twips::rect(nav.at.x(), nav.at.y(), 1335, 1335));
        picture->setTip(caption);
        picture->setKey(QKeySequence(QLatin1String("Alt+") + caption.front()));
        connect(picture, &PictureControl::clicked, this, [this, target = nav.target] { leave(target); });
        auto* label = controls::pictureCaption(this, qPrintable(role + QLatin1String("Caption")), caption,
                                               twipsRect(nav.captionAt));
        connect(label, &ClickLabel::clicked, this, [this, target = nav.target] { leave(target); });
        navPictureOf(nav.target) = picture;
    }

    connect(imgAdd, &PictureControl::clicked, this, &RegisterWindow::imgAdd_Click);
    connect(imgEdit, &PictureControl::clicked, this, &RegisterWindow::imgEdit_Click);
    connect(imgErase, &PictureControl::clicked, this, &RegisterWindow::imgErase_Click);
    connect(imgPrint, &PictureControl::clicked, this, &RegisterWindow::imgPrint_Click);
    connect(imgClose, &PictureControl::clicked, this, [this] { leave(Screen::Main); });

    connect(new RowClicks(lbDoggieList), &RowClicks::clicked, this, &RegisterWindow::lbDoggieList_Click);

    if (f.keyPreview)
        new EnterAsTab(this);
}

PictureControl*& RegisterWindow::navPictureOf(Screen target)
{
    return target == Screen::Doggies ? doggiesPicture : target == Screen::Health ? healthPicture : journalPicture;
}

void RegisterWindow::load()
{
    const Description& f = m_description;
    loadPicture(imgAdd, QLatin1String(f.bones[0]));
    loadPicture(imgEdit, QLatin1String(f.bones[1]));
    loadPicture(imgErase, QLatin1String(f.bones[2]));
    loadPicture(imgPrint, QStringLiteral("doggie-print.gif"));
    loadPicture(imgClose, QStringLiteral("doggie-close.gif"));
    for (const NavPicture& nav : f.nav)
        loadPicture(navPictureOf(nav.target), QLatin1String(nav.picture));
    LoadDoggieList();
    ShowStatus(ReadyStatus);
}

void RegisterWindow::ShowStatus(const QString& text)
{
    statusLine->setText(text);
}

void RegisterWindow::LoadDoggieList()
{
    const QSignalBlocker quiet(lbDoggieList); // refilling picks no dog
    lbDoggieList->clear();
    guard([this] { addDoggieRows(doggielist::load(state())); });
}

void RegisterWindow::addDoggieRows(const QStringList& names)
{
    for (const QString& name : names) {
        auto* row = new QListWidgetItem(name);
        row->setData(kRecordRole, lbDoggieList->count() + 1); // the list is in file order
        lbDoggieList->addItem(row);
    }
}

void RegisterWindow::ReloadDoggieRow(qint32 number)
{
    const QSignalBlocker quiet(lbDoggieList);
    lbDoggieList->setCurrentItem(nullptr);
    lbDoggieList->clearSelection();
    guard([&] {
        const qint32 records = doggielist::count(state());
        while (lbDoggieList->count() > records)
            delete lbDoggieList->takeItem(lbDoggieList->count() - 1);
        const qint32 rows = lbDoggieList->count();
        const qint32 first = qMin(number, rows + 1);
        const QStringList names = doggielist::load(state(), first, records > rows ? records : number);
        for (qint32 i = 0; i < names.size() && first - 1 + i < rows; ++i)
            lbDoggieList->item(first - 1 + i)->setText(names[i]);
        addDoggieRows(names.mid(qMax(0, rows - first + 1)));
    });
}

void RegisterWindow::lbDoggieList_Click()
{
    const QListWidgetItem* item = lbDoggieList->currentItem();
    if (!item)
        return;
    bool found = false;
    guard([&] { found = doggielist::lookup(state(), item->data(kRecordRole).toInt(), item->text()); });
    if (!found)
        return;
    const bool anotherDog = m_picked != state().DoggieRecNo;
    m_picked = state().DoggieRecNo;
    shownDogName->setText(fixedtext::trimSpaces(state().workingDoggie.Name));
    doggieSelected(anotherDog);
}

bool RegisterWindow::pickedDogIsLive()
{
    bool live = false;
    if (m_picked != 0)
        guard([&] { live = doggielist::dog(state(), m_picked).ID != 0; });
    return live;
}

// The commands of the three registers, by one set of rules:
// - Add begins whenever it rests and the register allows it.
// - Edit begins only on a chosen record: in the dog and health registers an
//   add begins on blank boxes, choosing none, while the journal's starts from
//   the entry shown, which stays chosen.
// - Erase acts only on a chosen record, never while an add waits, and only
//   when the person says Yes; a waiting edit then ends, its record gone.
// - A save refused, or one whose file failed, keeps its command waiting with
//   the boxes as typed. An edit whose record is no longer chosen (another dog
//   picked, the record erased) or no longer the dog's ends at its save click,
//   writing nothing.
// - Leaving while a command waits with unsaved typing asks first.
void RegisterWindow::imgAdd_Click()
{
    if (!addAllowed())
        return;
    if (waits(Command::Add))
        save(Command::Add);
    else if (prepare(Command::Add))
        begin(Command::Add);
}

void RegisterWindow::imgEdit_Click()
{
    if (waits(Command::Edit))
        save(Command::Edit);
    else if (chosenRecord() != 0 && prepare(Command::Edit))
        begin(Command::Edit);
}

void RegisterWindow::imgErase_Click()
{
    if (waits(Command::Add) || chosenRecord() == 0)
        return;
    const std::optional<QString> question = eraseQuestion();
    if (!question || !prompts().askYesNo(this, QLatin1String(m_description.eraseTitle), *question) || !erase())
        return;
    erased();
    if (waits(Command::Edit)) {
        end(Command::Edit);
        if (m_description.editPrompts)
            ShowStatus(ReadyStatus);
    }
}

void RegisterWindow::save(Command command)
{
    if (command == Command::Edit && chosenRecord() == 0) {
        end(command);
        return;
    }
    if (saveRefused())
        return;
    const Written written = write(command);
    if (written == Written::Failed)
        return; // the command waits, with its text, for another try
    if (written == Written::Yes)
        saved(command);
    end(command);
    if (written == Written::Yes && (command == Command::Add || m_description.editPrompts))
        ShowStatus(ReadyStatus);
}

void RegisterWindow::imgPrint_Click()
{
    if (!mayLeave())
        return;
    // The report names the dog whose entries it lists, read afresh: with no
    // dog to show, or one erased since, it is of a blank dog, never of a dog
    // the user did not pick.
    const bool read = guard([this] { state().workingDoggie = doggielist::dog(state(), state().DoggieRecNo); });
    if (!read)
        state().workingDoggie = DoggieRecord();
    state().ReportType = m_description.self;
    m_screens.go(Screen::ReportViewer);
}

bool RegisterWindow::mayLeave()
{
    if ((!waits(Command::Add) && !waits(Command::Edit)) || entryTexts() == m_begun)
        return true;
    return prompts().askYesNo(this, windowTitle(), LeaveQuestion, Prompts::Answer::No);
}

void RegisterWindow::leave(Screen target)
{
    if (mayLeave())
        m_screens.go(target);
}

// A bone's tag says its state to whoever reads the control: ADD or EDIT at
// rest, SAVE while it waits.
void RegisterWindow::begin(Command command)
{
    (command == Command::Add ? m_addWaits : m_editWaits) = true;
    boneOf(command)->setTag(QStringLiteral("SAVE"));
    loadPicture(boneOf(command), QStringLiteral("doggie-save.gif"));
    m_begun = entryTexts();
    if (command == Command::Add || m_description.editPrompts)
        ShowStatus(QLatin1String(m_description.entryStatus));
    entryBoxes.first()->setFocus();
}

void RegisterWindow::end(Command command)
{
    const bool add = command == Command::Add;
    (add ? m_addWaits : m_editWaits) = false;
    boneOf(command)->setTag(add ? QStringLiteral("ADD") : QStringLiteral("EDIT"));
    loadPicture(boneOf(command), add ? QStringLiteral("doggie-add.gif") : QStringLiteral("doggie-edit.gif"));
    m_begun = entryTexts();
}

void RegisterWindow::refuse(QWidget* box)
{
    box->setFocus();
    QMetaObject::invokeMethod(box, "selectAll");
}

QString RegisterWindow::textOf(const QWidget* box)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    const auto* text = qobject_cast<const QPlainTextEdit*>(box);
    return text ? text->toPlainText() : QString();
}

QStringList RegisterWindow::entryTexts() const
{
    QStringList texts;
    for (const QWidget* box : entryBoxes)
        texts.append(textOf(box));
    return texts;
}

bool RegisterWindow::storable(const QList<QWidget*>& boxes)
{
    for (QWidget* box : boxes) {
        const QStringList missing = win1252::unstorable(textOf(box));
        if (missing.isEmpty())
            continue;
        // Each with its number, which a font without the character still shows.
        QStringList named;
        for (const QString& c : missing)
            named.append(QStringLiteral("%1 (U+%2)")
                             .arg(c, QString::number(c.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0')));
        const bool one = missing.size() == 1;
        QString field = box->accessibleName();
        if (field.endsWith(u':'))
            field.chop(1);
        prompts().message(
            this, windowTitle(),
            QStringLiteral("%1 cannot keep %2 %3 in its files: %4\n\n"
                           "Take %5 out of the %6 box, or put others in %7 place, and click the save "
                           "bone again.")
                .arg(QApplication::applicationName(), one ? QStringLiteral("this") : QStringLiteral("these"),
                     one ? QStringLiteral("character") : QStringLiteral("characters"), named.join(QStringLiteral(", ")),
                     one ? QStringLiteral("it") : QStringLiteral("them"), field,
                     one ? QStringLiteral("its") : QStringLiteral("their")),
            Prompts::Icon::Warning);
        refuse(box);
        return false;
    }
    return true;
}
