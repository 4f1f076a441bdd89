// The health and journal reports built over health.dat and journal.dat of any
// bytes, for a dog number taken from the input.
#include "FuzzSupport.h"

#include "records/Records.h"
#include "records/SharedState.h"
#include "reports/ReportBuilders.h"
#include "reports/ReportRenderer.h"

namespace {

int countLines(const QString& path)
{
    reportpage::LineReader reader(path);
    QString line;
    int lines = 0;
    while (reader.next(line))
        ++lines;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    SharedState state(fuzzFolder());
    state.DoggieRecNo = data[0] % 4;
    state.workingDoggie.ID = state.DoggieRecNo; // the dog the report is of is a live one
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QByteArray health = rest.left(rest.size() / 2);
    writeFile(state.path(files::Health), health);
    writeFile(state.path(files::Journal), rest.mid(rest.size() / 2));

    BuildHealthReport(state);
    int entries = 0;
    for (qsizetype at = 0; at + HealthRecord::Length <= health.size(); at += HealthRecord::Length)
        entries += state.DoggieRecNo != 0 && readInt32(health.constData() + at, 4) == state.DoggieRecNo;
    FUZZ_CHECK(readFile(state.path(files::Report)).startsWith("Health Report For "));
    FUZZ_CHECK(countLines(state.path(files::Report)) >= 5 + entries);
    FUZZ_CHECK((countLines(state.path(files::Report)) == 5) == (entries == 0));

    BuildJournalReport(state);
    FUZZ_CHECK(readFile(state.path(files::Report)).startsWith("Journal For "));
    FUZZ_CHECK(countLines(state.path(files::Report)) >= 3);
    return 0;
}
