#include "shell/MainWindow.h"

#include "platform/ClickLabel.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Twips.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"

#include <QDate>

using controls::place;

namespace {

QLabel* footerLine(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = place(new QLabel(text, parent), name, geometry);
    label->setFont(fonts::plain(8));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

MainWindow::MainWindow(SharedState& state, Navigator& navigator)
    : FormWindow(state, QStringLiteral(" "), 5535, 5880, colours::White), m_navigator(navigator)
{
    setObjectName(QStringLiteral("MainWindow"));

    background = place(new PictureControl(this), "background", twips::rect(0, 0, 5535, 5895));

    title = place(new QLabel(QStringLiteral("PAWFOLIO 1.00"), this), "title", twips::rect(120, 120, 5295, 615));
    title->setFont(fonts::comic(15.75));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    controls::setTextColour(title, colours::Red);

    doggiesPicture = place(new PictureControl(this), "doggiesPicture", twips::rect(360, 840, 1335, 1335));
    doggiesCaption =
        controls::pictureCaption(this, "doggiesCaption", QStringLiteral("DOGGIES"), twips::rect(450, 2280, 1170, 345));
    doggiesCaption->adjustSize(); // sized to its text
    healthPicture = place(new PictureControl(this), "healthPicture", twips::rect(3720, 840, 1335, 1335));
    healthCaption =
        controls::pictureCaption(this, "healthCaption", QStringLiteral("HEALTH"), twips::rect(3720, 2280, 1365, 345));
    journalPicture = place(new PictureControl(this), "journalPicture", twips::rect(360, 3000, 1335, 1335));
    journalCaption =
        controls::pictureCaption(this, "journalCaption", QStringLiteral("JOURNAL"), twips::rect(360, 4440, 1215, 495));
    quitPicture = place(new PictureControl(this), "quitPicture", twips::rect(3720, 3000, 1335, 1335));
    quitCaption =
        controls::pictureCaption(this, "quitCaption", QStringLiteral("QUIT"), twips::rect(3720, 4440, 1335, 495));

    footer = footerLine(this, "footer", QStringLiteral("A record keeper for dog owners, by the Pawfolio team."),
                        twips::rect(0, 5280, 5535, 255));
    footerSecondLine = footerLine(this, "footerSecondLine",
                                  state.recordsFolder == state.programFolder
                                      ? QStringLiteral("Your records stay on this computer, beside the program.")
                                      : QStringLiteral("Your records stay on this computer, in your own folder."),
                                  twips::rect(0, 5520, 5535, 255));

    background->setAccessibleName(QStringLiteral("Paw prints"));
    doggiesPicture->setTip(QStringLiteral("DOGGIES"));
    healthPicture->setTip(QStringLiteral("HEALTH"));
    journalPicture->setTip(QStringLiteral("JOURNAL"));
    quitPicture->setTip(QStringLiteral("QUIT"));
    doggiesPicture->setKey(QKeySequence(Qt::ALT | Qt::Key_D));
    healthPicture->setKey(QKeySequence(Qt::ALT | Qt::Key_H));
    journalPicture->setKey(QKeySequence(Qt::ALT | Qt::Key_J));
    quitPicture->setKey(QKeySequence(Qt::ALT | Qt::Key_Q));

    auto open = [this](Screen target) { return [this, target] { m_navigator.go(target); }; };
    connect(doggiesPicture, &PictureControl::clicked, this, open(Screen::Doggies));
    connect(doggiesCaption, &ClickLabel::clicked, this, open(Screen::Doggies));
    connect(healthPicture, &PictureControl::clicked, this, open(Screen::Health));
    connect(healthCaption, &ClickLabel::clicked, this, open(Screen::Health));
    connect(journalPicture, &PictureControl::clicked, this, open(Screen::Journal));
    connect(journalCaption, &ClickLabel::clicked, this, open(Screen::Journal));
    connect(quitPicture, &PictureControl::clicked, this, [this] { m_navigator.quit(); });
    connect(quitCaption, &ClickLabel::clicked, this, [this] { m_navigator.quit(); });
}

void MainWindow::closeRequested()
{
    m_navigator.quit();
}

void MainWindow::load()
{
    loadPicture(quitPicture, QStringLiteral("dog house.gif"));
    loadPicture(background, QStringLiteral("paw print.gif"));
    loadPicture(healthPicture, QStringLiteral("poorlydog.gif"));
    loadPicture(doggiesPicture, QStringLiteral("doggie.gif"));
    loadPicture(journalPicture, QStringLiteral("dogtail.gif"));
    state().SelectedDate = QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
}
