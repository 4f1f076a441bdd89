#include "records/DoggieList.h"

#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"
#include "records/Win1252.h"

namespace doggielist {

QStringList load(const SharedState& state, qint32 first, qint32 last)
{
    RecordFile file(state.path(files::Doggies), DoggieRecord::Length, RecordFile::Mode::Read);
    last = qMin(last, file.count());
    QStringList names;
    names.reserve(qMax(0, last - first + 1));
    // Only the names are read, in large blocks; an erased slot's NULs name nothing.
    file.scan(first, last, [&](qint32, const char* record) {
        const char* name = record + DoggieRecord::NameOffset;
        names.append(*name == '\0'
                         ? QString()
                         : fixedtext::shown(win1252::decode(QByteArray::fromRawData(name, DoggieRecord::NameWidth))));
        return true;
    });
    return names;
}

qint32 count(const SharedState& state)
{
    return RecordFile(state.path(files::Doggies), DoggieRecord::Length, RecordFile::Mode::Read).count();
}

DoggieRecord dog(const SharedState& state, qint32 number)
{
    if (number <= 0)
        return {};
    RecordFile dogs(state.path(files::Doggies), DoggieRecord::Length, RecordFile::Mode::Read);
    const DoggieRecord found = number <= dogs.count() ? dogs.read<DoggieRecord>(number) : DoggieRecord();
    return found.ID != 0 ? found : DoggieRecord();
}

bool lookup(SharedState& state, qint32 number, const QString& entryText)
{
    const QString wanted = fixedtext::trimSpaces(entryText);
    RecordFile file(state.path(files::Doggies), DoggieRecord::Length, RecordFile::Mode::Read);
    const qint32 n = file.count();
    const qint32 own = number;
    if (wanted.isEmpty()) {
        // An empty entry stands for a dog saved without a name, unless its
        // record is an erased slot (or there is no row: record 0 reads as one).
        if (own > n)
            return false;
        const DoggieRecord dog = file.read<DoggieRecord>(own);
        if (dog.ID == 0 || !fixedtext::shown(dog.Name).isEmpty())
            return false;
        state.DoggieRecNo = own;
        state.workingDoggie = dog;
        return true;
    }
    state.DoggieRecNo = 0;
    const auto shows = [&](qint32 i) {
        const DoggieRecord dog = file.read<DoggieRecord>(i);
        if (fixedtext::shown(dog.Name) != wanted)
            return false;
        state.DoggieRecNo = i;
        state.workingDoggie = dog;
        return true;
    };
    // The entry's own record first: the list is in file order, so it is the
    // one unless the file changed since the list was filled.
    if (own <= n && shows(own)) // no row: record 0, which shows no name
        return true;
    for (qint32 i = 1; i <= n; ++i) {
        if (shows(i))
            return true;
    }
    return false;
}

} // namespace doggielist
