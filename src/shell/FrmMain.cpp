#include "shell/FrmMain.h"

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

QLabel* footer(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = place(new QLabel(text, parent), name, geometry);
    label->setFont(fonts::plain(8));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

FrmMain::FrmMain(SharedState& state, Navigator& navigator)
    : FormWindow(state, QStringLiteral(" "), 5535, 5880, colours::White), m_navigator(navigator)
{
    setObjectName(QStringLiteral("frmMain"));

    Image2 = place(new PictureControl(this), "Image2", twips::rect(0, 0, 5535, 5895));

    Label7 = place(new QLabel(QStringLiteral("PAWFOLIO 1.00"), this), "Label7", twips::rect(120, 120, 5295, 615));
    Label7->setFont(fonts::comic(15.75));
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    controls::setTextColour(Label7, colours::Red);

    Image4 = place(new PictureControl(this), "Image4", twips::rect(360, 840, 1335, 1335));
    Label1 = controls::pictureCaption(this, "Label1", QStringLiteral("DOGGIES"), twips::rect(450, 2280, 1170, 345));
    Label1->adjustSize(); // sized to its text
    Image3 = place(new PictureControl(this), "Image3", twips::rect(3720, 840, 1335, 1335));
    Label2 = controls::pictureCaption(this, "Label2", QStringLiteral("HEALTH"), twips::rect(3720, 2280, 1365, 345));
    Image5 = place(new PictureControl(this), "Image5", twips::rect(360, 3000, 1335, 1335));
    Label3 = controls::pictureCaption(this, "Label3", QStringLiteral("JOURNAL"), twips::rect(360, 4440, 1215, 495));
    Image1 = place(new PictureControl(this), "Image1", twips::rect(3720, 3000, 1335, 1335));
    Label4 = controls::pictureCaption(this, "Label4", QStringLiteral("QUIT"), twips::rect(3720, 4440, 1335, 495));

    Label5 = footer(this, "Label5", QStringLiteral("A record keeper for dog owners, by the Pawfolio team."),
                    twips::rect(0, 5280, 5535, 255));
    Label6 = footer(this, "Label6", QStringLiteral("Your records stay on this computer, beside the program."),
                    twips::rect(0, 5520, 5535, 255));

    Image2->setAccessibleName(QStringLiteral("Paw prints"));
    Image4->setTip(QStringLiteral("DOGGIES"));
    Image3->setTip(QStringLiteral("HEALTH"));
    Image5->setTip(QStringLiteral("JOURNAL"));
    Image1->setTip(QStringLiteral("QUIT"));
    Image4->setKey(QKeySequence(Qt::ALT | Qt::Key_D));
    Image3->setKey(QKeySequence(Qt::ALT | Qt::Key_H));
    Image5->setKey(QKeySequence(Qt::ALT | Qt::Key_J));
    Image1->setKey(QKeySequence(Qt::ALT | Qt::Key_Q));
    for (PictureControl* menu : {Image1, Image3, Image4, Image5})
        menu->setCursor(Qt::PointingHandCursor);

    auto open = [this](Screen target) { return [this, target] { m_navigator.go(target); }; };
    connect(Image4, &PictureControl::clicked, this, open(Screen::Doggies));
    connect(Label1, &ClickLabel::clicked, this, open(Screen::Doggies));
    connect(Image3, &PictureControl::clicked, this, open(Screen::Health));
    connect(Label2, &ClickLabel::clicked, this, open(Screen::Health));
    connect(Image5, &PictureControl::clicked, this, open(Screen::Journal));
    connect(Label3, &ClickLabel::clicked, this, open(Screen::Journal));
    connect(Image1, &PictureControl::clicked, this, [this] { m_navigator.quit(); });
    connect(Label4, &ClickLabel::clicked, this, [this] { m_navigator.quit(); });
}

void FrmMain::Form_Load()
{
    loadPicture(Image1, QStringLiteral("dog house.gif"));
    loadPicture(Image2, QStringLiteral("paw print.gif"));
    loadPicture(Image3, QStringLiteral("poorlydog.gif"));
    loadPicture(Image4, QStringLiteral("doggie.gif"));
    loadPicture(Image5, QStringLiteral("dogtail.gif"));
    state().SelectedDate = QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
}
