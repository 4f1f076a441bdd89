#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "doggies/DogRegisterWindow.h"
#include "health/FlexGrid.h"
#include "health/HealthWindow.h"
#include "journal/JournalWindow.h"
#include "platform/PictureControl.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <csignal>
#include <functional>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

enum class Fault { ReadOnlyFolder, FileSizeLimit, FolderInPlace };

// While alive, root obeys file permissions like any user: the test's
// read-only folder then means what it says.
class NoPermissionOverride {
public:
    NoPermissionOverride()
    {
        if (geteuid() != 0)
            return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        syscall(SYS_capget, &header, m_saved);
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[cap / 32].effective &= ~(1u << (cap % 32));
        m_active = syscall(SYS_capset, &header, reduced) == 0;
    }
    ~NoPermissionOverride()
    {
        if (!m_active)
            return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        syscall(SYS_capset, &header, m_saved);
    }

private:
    __user_cap_data_struct m_saved[2] = {};
    bool m_active = false;
};

// One fault put on the data folder, taken away again when the object goes.
class FaultScope {
public:
    FaultScope(Fault fault, const DataFolder& folder, const QString& target)
        : m_fault(fault), m_folder(folder), m_target(target)
    {
        switch (fault) {
        case Fault::ReadOnlyFolder:
            for (const QString& name : QDir(folder.folder()).entryList(QDir::Files))
                ::chmod(QFile::encodeName(folder.path(name)).constData(), 0444);
            ::chmod(QFile::encodeName(folder.folder()).constData(), 0555);
            m_noOverride = std::make_unique<NoPermissionOverride>();
            break;
        case Fault::FileSizeLimit: {
            getrlimit(RLIMIT_FSIZE, &m_limit);
            rlimit limited = m_limit;
            limited.rlim_cur = rlim_t(qMax<qint64>(1, QFileInfo(folder.path(target)).size() - 1));
            setrlimit(RLIMIT_FSIZE, &limited);
            break;
        }
        case Fault::FolderInPlace:
            QFile::rename(folder.path(target), folder.path(QStringLiteral("aside")));
            QDir(folder.folder()).mkdir(target);
            break;
        }
    }
    ~FaultScope()
    {
        switch (m_fault) {
        case Fault::ReadOnlyFolder:
            m_noOverride.reset();
            ::chmod(QFile::encodeName(m_folder.folder()).constData(), 0755);
            for (const QString& name : QDir(m_folder.folder()).entryList(QDir::Files))
                ::chmod(QFile::encodeName(m_folder.path(name)).constData(), 0644);
            break;
        case Fault::FileSizeLimit:
            setrlimit(RLIMIT_FSIZE, &m_limit);
            break;
        case Fault::FolderInPlace:
            QDir(m_folder.folder()).rmdir(m_target);
            QFile::rename(m_folder.path(QStringLiteral("aside")), m_folder.path(m_target));
            break;
        }
    }

private:
    Fault m_fault;
    const DataFolder& m_folder;
    QString m_target;
    rlimit m_limit{};
    std::unique_ptr<NoPermissionOverride> m_noOverride;
};

QMap<QString, QByteArray> snapshot(const DataFolder& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name :
         QDir(folder.folder()).entryList({QStringLiteral("*.dat"), QStringLiteral("*.txt")}, QDir::Files))
        files[name] = folder.read(name);
    return files;
}

// A command of a register, made ready up to its last click, then that click.
struct Command {
    Screen screen;
    QString target; // the file it writes
    std::function<void(QWidget*, ScriptedPrompts&)> prepare;
    std::function<void(QWidget*)> commit;
    QStringList erasedBefore = {}; // files a dog erase has rewritten before it reaches the target
    QString outcome = {};          // what the message says became of the files
};

Command command(const QString& name)
{
    auto dogs = [](QWidget* w) { return qobject_cast<DogRegisterWindow*>(w); };
    auto health = [](QWidget* w) { return qobject_cast<HealthWindow*>(w); };
    auto journal = [](QWidget* w) { return qobject_cast<JournalWindow*>(w); };
    if (name == u"dog add")
        return {Screen::Doggies, files::Doggies,
                [=](QWidget* w, ScriptedPrompts&) {
                    click(dogs(w)->imgAdd);
                    type(dogs(w)->txtName, QStringLiteral("Lucky"));
                },
                [=](QWidget* w) { click(dogs(w)->imgAdd); }};
    if (name == u"dog edit")
        return {Screen::Doggies, files::Doggies,
                [=](QWidget* w, ScriptedPrompts&) {
                    pickDog(w, 1);
                    click(dogs(w)->imgEdit);
                    type(dogs(w)->txtVetName, QStringLiteral("Dr. New"));
                },
                [=](QWidget* w) { click(dogs(w)->imgEdit); }};
    if (name == u"dog erase") // Rex, who has no records
        return {Screen::Doggies,
                files::Doggies,
                [=](QWidget* w, ScriptedPrompts& p) {
                    pickDog(w, 2);
                    p.answers = {true, true};
                },
                [=](QWidget* w) { click(dogs(w)->imgErase); },
                {},
                QStringLiteral("Nothing was")};
    // Bella with her records: the vaccinations go first, the journal next, the dog last.
    auto eraseBella = [=](QWidget* w, ScriptedPrompts& p) {
        pickDog(w, 0);
        p.answers = {true, true};
    };
    if (name == u"dog erase, vaccinations fail")
        return {Screen::Doggies,
                files::Health,
                eraseBella,
                [=](QWidget* w) { click(dogs(w)->imgErase); },
                {},
                QStringLiteral("Nothing was erased: the doggie and its records are as they were.")};
    if (name == u"dog erase, journal fails")
        return {Screen::Doggies,
                files::Journal,
                eraseBella,
                [=](QWidget* w) { click(dogs(w)->imgErase); },
                {files::Health},
                QStringLiteral("The doggie's vaccinations were erased; its journal entries and the doggie itself "
                               "were not")};
    if (name == u"health add")
        return {Screen::Health, files::Health,
                [=](QWidget* w, ScriptedPrompts&) {
                    pickDog(w, 1);
                    click(health(w)->imgAdd);
                    type(health(w)->txtdate, QStringLiteral("5/12/2003"));
                    type(health(w)->txtvaccine, QStringLiteral("Rabies"));
                },
                [=](QWidget* w) { click(health(w)->imgAdd); }};
    if (name == u"health edit")
        return {Screen::Health, files::Health,
                [=](QWidget* w, ScriptedPrompts&) {
                    pickDog(w, 1);
                    pickRow(health(w)->vaccinationGrid, 0);
                    click(health(w)->imgEdit);
                    type(health(w)->txtvaccine, QStringLiteral("Booster"));
                },
                [=](QWidget* w) { click(health(w)->imgEdit); }};
    if (name == u"health erase")
        return {Screen::Health, files::Health,
                [=](QWidget* w, ScriptedPrompts& p) {
                    pickDog(w, 1);
                    pickRow(health(w)->vaccinationGrid, 0);
                    p.answers = {true, true};
                },
                [=](QWidget* w) { click(health(w)->imgErase); }};
    if (name == u"journal add")
        return {Screen::Journal, files::Journal,
                [=](QWidget* w, ScriptedPrompts&) {
                    pickDog(w, 1);
                    answerDatePicker(QDate(2005, 7, 4));
                    click(journal(w)->imgAdd);
                    journal(w)->txtEntry->setPlainText(QStringLiteral("Fireworks"));
                },
                [=](QWidget* w) { click(journal(w)->imgAdd); }};
    if (name == u"journal edit")
        return {Screen::Journal, files::Journal,
                [=](QWidget* w, ScriptedPrompts&) {
                    pickDog(w, 1);
                    pickRow(journal(w)->lbDates, 0);
                    click(journal(w)->imgEdit);
                    journal(w)->txtEntry->setPlainText(QStringLiteral("Changed"));
                },
                [=](QWidget* w) { click(journal(w)->imgEdit); }};
    if (name == u"journal erase")
        return {Screen::Journal, files::Journal,
                [=](QWidget* w, ScriptedPrompts& p) {
                    pickDog(w, 1);
                    pickRow(journal(w)->lbDates, 0);
                    p.answers = {true, true};
                },
                [=](QWidget* w) { click(journal(w)->imgErase); }};
    return {Screen::Doggies, files::Report, [=](QWidget* w, ScriptedPrompts&) { pickDog(w, 1); },
            [=](QWidget* w) { click(dogs(w)->imgPrint); }};
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void failedWrite_changesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Fault>("fault");
        const char* commands[] = {"dog add",      "dog edit",    "dog erase",    "health add",    "health edit",
                                  "health erase", "journal add", "journal edit", "journal erase", "report"};
        for (const char* c : commands) {
            QTest::addRow("%s, read-only folder", c) << QString::fromLatin1(c) << Fault::ReadOnlyFolder;
            QTest::addRow("%s, folder in place of the file", c) << QString::fromLatin1(c) << Fault::FolderInPlace;
            if (!QByteArray(c).contains("edit")) // an edit in place grows no file
                QTest::addRow("%s, file size limit", c) << QString::fromLatin1(c) << Fault::FileSizeLimit;
        }
        for (const char* c : {"dog erase, vaccinations fail", "dog erase, journal fails"})
            QTest::addRow("%s", c) << QString::fromLatin1(c) << Fault::FolderInPlace;
    }
    void failedWrite_changesNothing()
    {
        QFETCH(QString, name);
        QFETCH(Fault, fault);
        DataFolder folder;
        folder.write(files::Doggies,
                     rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, "Max") + rawbytes::doggie(3, "Rex"));
        folder.write(files::Health,
                     rawbytes::health(1, 2, "1/1/2004", "Parvo") + rawbytes::health(2, 1, "2/2/2004", "Lepto"));
        folder.write(files::Journal,
                     rawbytes::journal(1, 2, "3-2-2005", "Park") + rawbytes::journal(2, 1, "3-3-2005", "Bath"));
        folder.write(files::Report, "an earlier report\r\n");
        ScriptedPromptsScope prompts;
        App app(folder.folder());
        const Command c = command(name);
        QWidget* w = app.navigator.go(c.screen);
        c.prepare(w, *prompts);
        const auto before = snapshot(folder);
        const qsizetype shownBefore = prompts->shown.size();
        {
            FaultScope scope(fault, folder, c.target);
            c.commit(w);
            settle();
        }
        const auto after = snapshot(folder);
        QCOMPARE(after.keys(), before.keys());
        for (const QString& file : before.keys())
            QVERIFY2((after[file] == before[file]) != c.erasedBefore.contains(file),
                     qPrintable(file + QStringLiteral(" changed or not: ") +
                                QString::fromLatin1(after[file].left(200).toPercentEncoding())));
        QVERIFY2(prompts->shown.size() > shownBefore, "no message");
        const auto& message = prompts->shown.last();
        QCOMPARE(message.title, QStringLiteral("Error!"));
        QVERIFY2(message.text.contains(c.target) || message.text.contains(files::Temp), qPrintable(message.text));
        QVERIFY2(message.text.contains(c.outcome.isEmpty() ? QStringLiteral("Nothing was changed") : c.outcome),
                 qPrintable(message.text));

        // The window goes on: with the fault gone, the same click does the work.
        QWidget* now = app.navigator.current();
        QVERIFY(now && now->isVisible());
        if (c.target == files::Report)
            return;
        c.commit(now);
        settle();
        QVERIFY(snapshot(folder) != before);
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
