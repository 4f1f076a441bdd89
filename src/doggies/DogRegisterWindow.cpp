#include "doggies/DogRegisterWindow.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "records/DateTest.h"
#include "records/DoggieErase.h"
#include "records/DoggieList.h"
#include "records/FileError.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"
#include "records/Win1252.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardPaths>

using controls::place;

namespace {

const RegisterWindow::Description kDogRegister = {
    "DogRegisterWindow",
    "Doggies",
    7455,
    {852, 2292, 3732, 5172, 6604},
    {"ADD DOGGIE", "EDIT DOGGIE", "ERASE DOGGIE"},
    {"doggie-add.gif", "doggie-edit.gif", "doggie-erase.gif"},
    {{Screen::Health, "poorlydog.gif", {5520, 4200}, "HEALTH", {5520, 5640, 1365, 345}},
     {Screen::Journal, "dogtail.gif", {7080, 4200}, "JOURNAL", {7080, 5640, 1215, 495}}},
    7080,
    true,
    Screen::Doggies,
    "Enter your information and then click the save doggie bone.",
    "DELETE!",
    true};

struct Box {
    const char* label;
    const char* caption;
    const char* box;
    QString DoggieRecord::*field; // which also says how many characters the box takes
    int left;                     // twips
    int top;                      // of the label; the box stands 240 below
};

constexpr Box kBoxes[] = {
    {"lblName", "Name:", "txtName", &DoggieRecord::Name, 2400, 600},
    {"lblPedigreeName", "Pedigree Name:", "txtPedigreeName", &DoggieRecord::PedigreeName, 2400, 1200},
    {"lblBirthDate", "Birthdate:", "txtBirthDate", &DoggieRecord::BirthDate, 2400, 1800},
    {"lblLicenseNo", "License No.:", "txtLicenseNo", &DoggieRecord::LicenseNo, 2400, 2400},
    {"lblCameFrom", "Came From:", "txtCameFrom", &DoggieRecord::CameFrom, 2400, 3000},
    {"lblVetName", "Vet Name:", "txtVetName", &DoggieRecord::VetName, 2400, 3600},
    {"lblVetAddress", "Vet. Address:", "txtVetAddress", &DoggieRecord::VetAddress, 2400, 4200},
    {"lblVetPhoneNo", "Vet Phone No.:", "txtVetPhoneNo", &DoggieRecord::VetPhoneNo, 2400, 4800},
    {"lblVetEmergencyNo", "Vet. Emergency No.:", "txtVetEmergencyNo", &DoggieRecord::VetEmergencyNo, 2400, 5400},
    {"lblGroomerName", "Groomer Name:", "txtGroomerName", &DoggieRecord::GroomerName, 5520, 3000},
    {"lblGroomerPhoneNo", "Groomer Phone No.:", "txtGroomerPhoneNo", &DoggieRecord::GroomerPhoneNo, 5520, 3600},
};

constexpr int kBirthDateBox = 2;
static_assert(kBoxes[kBirthDateBox].field == &DoggieRecord::BirthDate);

const QString kChooserTitle = QStringLiteral("SELECT A PICTURE OF YOUR DOGGIE");
const QStringList kChooserFilters = {QStringLiteral("Pictures (*.gif *.bmp *.jpg *.jpeg *.png)"),
                                     QStringLiteral("Gif(*.gif)"), QStringLiteral("Bmp(*.bmp)"),
                                     QStringLiteral("Jpg(*.jpg)")};

// Where the chooser first opens: the person's Pictures folder, or their home
// folder when they have none.
QString picturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

// Why a chosen picture cannot be kept in the dog's record; empty when it can.
QString pictureRefusal(const QString& path)
{
    if (win1252::decode(win1252::encode(path)) != path)
        return QStringLiteral("Its name holds characters that Pawfolio cannot store. "
                              "Rename the file or move it to a folder with a plainer name.");
    if (path.size() > DoggieRecord::PictureWidth)
        return QStringLiteral("Its full path is %1 characters long; Pawfolio can keep %2 at the most. "
                              "Move the picture to a folder with a shorter path.")
            .arg(path.size())
            .arg(DoggieRecord::PictureWidth);
    return QString();
}

// How many records of dog `doggieId` the file holds.
template <typename R>
qint32 recordsOf(const QString& path, qint32 doggieId)
{
    RecordFile file(path, R::Length, RecordFile::Mode::Read);
    R last;
    qint32 count = 0;
    file.scanDoggie(file.count(), doggieId, last, [&](qint32, const R&) {
        ++count;
        return true;
    });
    return count;
}

} // namespace

DogRegisterWindow::DogRegisterWindow(SharedState& state, ScreenRequests& screens)
    : RegisterWindow(state, screens, kDogRegister)
{
    imgDoggiePic = place(new PictureControl(this), "imgDoggiePic", twips::rect(5520, 600, 2895, 2295));
    imgDoggiePic->setAccessibleName(QStringLiteral("Picture of your doggie"));
    imgDoggiePic->setKey(QKeySequence(Qt::ALT | Qt::Key_I));
    connect(imgDoggiePic, &PictureControl::clicked, this, &DogRegisterWindow::imgDoggiePic_Click);

    QWidget* previous = lbDoggieList;
    for (const Box& b : kBoxes) {
        QLabel* label =
            place(new QLabel(QLatin1String(b.caption), this), b.label, twips::rect(b.left, b.top, 2895, 240));
        label->setFont(fonts::comic(9));
        QLineEdit* box = place(new QLineEdit(this), b.box, twips::rect(b.left, b.top + 240, 2895, 285));
        box->setFont(fonts::comic(9));
        // What the box shows is what the field keeps; a birth date of any
        // length is taken whole, kept as m/d/yyyy when long.
        if (b.field != &DoggieRecord::BirthDate)
            box->setMaxLength(DoggieRecord::widthOf(b.field));
        box->setAccessibleName(QLatin1String(b.caption));
        controls::setBackground(box, colours::LightGreen);
        label->setBuddy(box);
        setTabOrder(previous, box);
        previous = box;
        m_boxes.append(box);
        entryBoxes.append(box);
    }
}

void DogRegisterWindow::load()
{
    RegisterWindow::load();
    loadPicture(imgDoggiePic, QStringLiteral("no-photo.gif"));
    LockFields();
}

void DogRegisterWindow::ClearFields()
{
    for (QLineEdit* box : m_boxes)
        box->clear();
}

void DogRegisterWindow::LockFields()
{
    for (QLineEdit* box : m_boxes)
        box->setReadOnly(true);
    imgDoggiePic->setEnabled(false);
}

void DogRegisterWindow::UnlockFields()
{
    for (QLineEdit* box : m_boxes)
        box->setReadOnly(false);
    imgDoggiePic->setEnabled(true);
}

void DogRegisterWindow::ShowDoggie()
{
    const DoggieRecord& dog = state().workingDoggie;
    for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
        m_boxes[i]->setText(dog.*kBoxes[i].field);
        m_boxes[i]->setCursorPosition(0);
    }
    // A dog whose picture is gone shows none, never the dog shown before; its
    // photo shows when it has been read.
    const QString picture = fixedtext::shown(dog.Picture);
    imgDoggiePic->clear();
    if (picture.isEmpty()) {
        loadPicture(imgDoggiePic, QStringLiteral("no-pic.gif"));
        return;
    }
    imgDoggiePic->loadPhoto(picture, [this](bool shown) {
        if (!shown)
            loadPicture(imgDoggiePic, QStringLiteral("no-pic.gif"));
    });
}

void DogRegisterWindow::StoreDoggie(DoggieRecord& record) const
{
    for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
        const QString text = m_boxes[i]->text();
        record.*kBoxes[i].field =
            fixedtext::fit(fixedtext::isBlank(text) ? QString() : text, DoggieRecord::widthOf(kBoxes[i].field));
    }
}

void DogRegisterWindow::doggieSelected(bool)
{
    m_chosenPicture.reset();
    ClearFields();
    ShowDoggie();
}

QStringList DogRegisterWindow::entryTexts() const
{
    return RegisterWindow::entryTexts() << m_chosenPicture.value_or(QStringLiteral("(as it was)"));
}

bool DogRegisterWindow::saveRefused()
{
    if (!storable(entryBoxes))
        return true;
    // A birth date is a date or nothing: anything else waits to be put right.
    QLineEdit* born = m_boxes[kBirthDateBox];
    if (fixedtext::isBlank(born->text()))
        return false;
    if (!isDate(born->text())) {
        refuse(born);
        return true;
    }
    born->setText(fitDate(born->text(), DoggieRecord::BirthDateWidth)); // what is saved
    return false;
}

bool DogRegisterWindow::prepare(Command command)
{
    if (command == Command::Add) {
        // A new dog starts blank: it inherits nothing from the dog shown before,
        // and no saved dog is shown while it is typed, so that a waiting Edit
        // cannot write it over another dog.
        ClearFields();
        setPickedDog(0);
        m_chosenPicture.reset();
        loadPicture(imgDoggiePic, QStringLiteral("no-photo.gif"));
    }
    UnlockFields();
    return true;
}

RegisterWindow::Written DogRegisterWindow::write(Command command)
{
    // An edit goes onto the dog as it stands in the file, which keeps its ID
    // and, unless another was chosen, its picture.
    DoggieRecord dog;
    qint32 number = pickedDog();
    bool gone = false; // erased since, by another Pawfolio
    const bool saved = guard([&] {
        RecordFile file(state().path(files::Doggies), DoggieRecord::Length);
        if (command == Command::Edit && (gone = (dog = file.read<DoggieRecord>(number)).ID == 0))
            return;
        StoreDoggie(dog);
        if (m_chosenPicture || command == Command::Add)
            dog.Picture = fixedtext::fit(m_chosenPicture.value_or(QString()), DoggieRecord::PictureWidth);
        if (command == Command::Add)
            number = file.append(dog);
        else
            file.write(number, dog);
    });
    if (!saved || gone)
        return saved ? Written::Gone : Written::Failed;
    state().DoggieRecNo = number;
    state().workingDoggie = dog;
    return Written::Yes;
}

void DogRegisterWindow::saved(Command)
{
    m_chosenPicture.reset();
    setPickedDog(state().DoggieRecNo);
    ReloadDoggieRow(state().DoggieRecNo);
}

std::optional<QString> DogRegisterWindow::eraseQuestion()
{
    // A dog without a name is erased like any other: what counts is that the
    // window shows a saved dog.
    DoggieRecord dog;
    if (!guard([&] { dog = doggielist::dog(state(), pickedDog()); }))
        return std::nullopt;
    return questionFor(dog);
}

bool DogRegisterWindow::erase()
{
    DoggieRecord dog;
    return guard([&] { dog = doggielist::dog(state(), pickedDog()); }) &&
           eraseWithItsRecords(pickedDog(), fixedtext::shown(dog.Name));
}

void DogRegisterWindow::erased()
{
    ReloadDoggieRow(pickedDog());
    setPickedDog(0);
    m_chosenPicture.reset();
    ClearFields();
}

QString DogRegisterWindow::questionFor(const DoggieRecord& dog)
{
    // What goes with the dog is counted, so that nobody erases years of
    // journal thinking they erase a name.
    qint32 vaccinations = 0, entries = 0;
    guard([&] {
        vaccinations = recordsOf<HealthRecord>(state().path(files::Health), pickedDog());
        entries = recordsOf<JournalRecord>(state().path(files::Journal), pickedDog());
    });
    QStringList goes;
    if (vaccinations > 0)
        goes << (vaccinations == 1 ? QStringLiteral("1 vaccination")
                                   : QStringLiteral("%1 vaccinations").arg(vaccinations));
    if (entries > 0)
        goes << (entries == 1 ? QStringLiteral("1 journal entry") : QStringLiteral("%1 journal entries").arg(entries));
    const QString name = fixedtext::shown(dog.Name);
    return QStringLiteral("Delete ") + (name.isEmpty() ? QStringLiteral("this doggie") : name) +
           (goes.isEmpty() ? QString() : QStringLiteral(", with its ") + goes.join(QStringLiteral(" and "))) + u'!';
}

bool DogRegisterWindow::eraseWithItsRecords(qint32 k, const QString& name)
{
    DoggieErase progress;
    try {
        eraseDoggie(state(), k, name, progress);
        return true;
    } catch (const FileError& error) {
        QString outcome = QStringLiteral("Nothing was erased: the doggie and its records are as they were.");
        if (!progress.gone.isEmpty()) {
            outcome =
                QStringLiteral("The doggie's %1 were erased; %2. Erase the doggie again to finish.")
                    .arg(progress.gone.join(QStringLiteral(" and ")),
                         progress.filesDone == 1 ? QStringLiteral("its journal entries and the doggie itself were not")
                                                 : QStringLiteral("the doggie itself was not"));
        }
        reportFileError(this, error, outcome);
        return false;
    }
}

void DogRegisterWindow::imgDoggiePic_Click()
{
    const auto chosen = prompts().chooseOpenFile(this, kChooserTitle, kChooserFilters, QStringLiteral("jpg"),
                                                 m_chooserName.isEmpty() ? picturesFolder() : m_chooserName);
    if (!chosen)
        return; // cancelled: the dog keeps its picture
    // Kept as the system writes it: with backslashes and a drive letter on Windows.
    const QString name = QDir::toNativeSeparators(*chosen);
    m_chooserName = name; // the chooser opens there next time
    // A picture refused, or one that cannot be read, leaves the dog the
    // picture it had.
    auto refuse = [this, name](const QString& why) {
        prompts().message(this, kChooserTitle,
                          QStringLiteral("The picture \"%1\" cannot be used.\n\n%2").arg(name, why),
                          Prompts::Icon::Warning);
    };
    if (const QString refusal = pictureRefusal(name); !refusal.isEmpty())
        return refuse(refusal);
    const std::optional<QString> before = m_chosenPicture;
    m_chosenPicture = name;
    imgDoggiePic->loadPhoto(name, [this, name, before, refuse](bool shown) {
        if (shown)
            return;
        if (m_chosenPicture == name)
            m_chosenPicture = before;
        refuse(QStringLiteral("It could not be read as a GIF, BMP or JPEG picture."));
    });
}

qint32 DogRegisterWindow::chosenRecord() const
{
    return pickedDog();
}
