#include "reports/ReportBuilders.h"

#include "records/Disk.h"
#include "records/FileError.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"
#include "records/Win1252.h"

#include <QTemporaryFile>

#include <optional>

namespace {

// Writes report.txt line by line, into a file of its own beside it that is
// put in its place whole when finished, or not at all. A link named
// report.txt is replaced itself, never written through.
class ReportWriter {
public:
    explicit ReportWriter(const SharedState& state) : m_path(state.path(files::Report))
    {
        if (!m_file.emplace(m_path + QStringLiteral(".XXXXXX")).open())
            throw FileError(m_path, QStringLiteral("written"),
                            disk::reasonOf(*m_file, QStringLiteral("No file could be made beside it.")));
    }

    void line(const QString& text)
    {
        m_pending += win1252::encode(text);
        m_pending += "\r\n";
        if (m_pending.size() >= (1 << 20))
            flush();
    }

    void finish()
    {
        flush();
        // A write cut short by the file system must not pass for a report.
        if (!m_file->flush() || m_file->size() != m_written)
            fail();
        // The file is let go of first: Windows renames no file held open.
        const QString written = m_file->fileName();
        m_file->setAutoRemove(false);
        m_file.reset();
        if (const QString unrenamed = disk::rename(written, m_path); !unrenamed.isEmpty()) {
            QFile::remove(written);
            throw FileError(m_path, QStringLiteral("written"), unrenamed);
        }
    }

private:
    void flush()
    {
        if (const QString why = disk::write(*m_file, m_pending.constData(), m_pending.size()); !why.isEmpty())
            throw FileError(m_path, QStringLiteral("written"), why);
        m_written += m_pending.size();
        m_pending.clear();
    }
    [[noreturn]] void fail() { throw FileError(m_path, QStringLiteral("written"), disk::partWritten(*m_file)); }

    QString m_path;
    std::optional<QTemporaryFile> m_file;
    QByteArray m_pending;
    qint64 m_written = 0;
};

// Every record of a health or journal file that belongs to the dog, in file
// order; whole records only. With no dog picked, or a blank dog record in
// place of an erased one, there are none: erased slots and the records left
// behind by an erased dog belong to nobody.
template <typename R, typename Visit>
void forEachOfDoggie(SharedState& state, const QString& fileName, Visit visit)
{
    const bool liveDoggie = state.DoggieRecNo != 0 && state.workingDoggie.ID != 0;
    RecordFile file(state.path(fileName), R::Length, RecordFile::Mode::Read);
    R last;
    file.scanDoggie(file.wholeCount(), state.DoggieRecNo, last, [&](qint32, const R& record) {
        if (liveDoggie)
            visit(record);
        return true;
    });
}

} // namespace

void BuildDoggieReport(SharedState& state)
{
    const DoggieRecord& d = state.workingDoggie;
    ReportWriter report(state);
    report.line(fixedtext::trimSpaces(d.Name));
    report.line(QString(80, u'='));
    report.line(QStringLiteral(" "));
    report.line(QStringLiteral("Dog Name: ") + d.Name);
    report.line(QStringLiteral("Name on Pedigree: ") + d.PedigreeName);
    report.line(QStringLiteral("Birthdate: ") + d.BirthDate);
    report.line(QStringLiteral("Came From: ") + d.CameFrom);
    report.line(QStringLiteral("License Number: ") + d.LicenseNo);
    report.line(QString());
    report.line(QStringLiteral("Vet Information:"));
    report.line(QString(16, u'-'));
    report.line(QStringLiteral("Name: ") + d.VetName);
    report.line(QStringLiteral("Address: ") + d.VetAddress);
    report.line(QStringLiteral("Phone Number: ") + d.VetPhoneNo);
    report.line(QStringLiteral("Emergency Number: ") + d.VetEmergencyNo);
    report.line(QString());
    report.line(QStringLiteral("Groomer Information:"));
    report.line(QString(20, u'-'));
    report.line(QStringLiteral("Name: ") + d.GroomerName);
    report.line(QStringLiteral("Phone Number: ") + d.GroomerPhoneNo);
    report.line(QString());
    report.line(QString());
    report.finish();
}

void BuildHealthReport(SharedState& state)
{
    ReportWriter report(state);
    report.line(QStringLiteral("Health Report For ") + state.workingDoggie.Name);
    report.line(QString(80, u'='));
    report.line(QString());
    report.line(QStringLiteral("DATE           VACCINE GIVEN"));
    report.line(QString(80, u'-'));
    forEachOfDoggie<HealthRecord>(state, files::Health, [&](const HealthRecord& h) {
        report.line(h.DateGiven + QStringLiteral(" - ") + fixedtext::trimSpaces(h.Vaccine));
    });
    report.finish();
}

void BuildJournalReport(SharedState& state)
{
    ReportWriter report(state);
    report.line(QStringLiteral("Journal For ") + state.workingDoggie.Name);
    report.line(QString(80, u'='));
    report.line(QStringLiteral(" "));
    forEachOfDoggie<JournalRecord>(state, files::Journal, [&](const JournalRecord& j) {
        report.line(j.EntryDate);
        report.line(QString(15, u'-'));
        report.line(j.Entry); // its own line breaks start new lines of the report
        report.line(QStringLiteral(" "));
    });
    report.finish();
}
