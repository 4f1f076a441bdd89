#include "records/DoggieList.h"

#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"

namespace doggielist {

QStringList load(SharedState& state)
{
    RecordFile file(state.path(files::Doggies), DoggieRecord::Length, RecordFile::Mode::Read);
    const qint32 n = file.count();
    QStringList names;
    names.reserve(n);
    for (qint32 i = 1; i <= n; ++i) {
        state.DoggieRecord = file.read<DoggieRecord>(i);
        names.append(fixedtext::shown(state.DoggieRecord.Name));
    }
    return names;
}

bool lookup(SharedState& state, int row, const QString& entryText)
{
    const QString wanted = fixedtext::trimSpaces(entryText);
    if (wanted.isEmpty() && row < 0)
        return false;
    RecordFile file(state.path(files::Doggies), DoggieRecord::Length, RecordFile::Mode::Read);
    const qint32 n = file.count();
    const qint32 own = row + 1;
    if (wanted.isEmpty()) {
        // An empty entry stands for a dog saved without a name, unless its
        // record is an erased slot.
        if (own > n)
            return false;
        const DoggieRecord dog = file.read<DoggieRecord>(own);
        if (dog.ID == 0 || !fixedtext::shown(dog.Name).isEmpty())
            return false;
        state.DoggieRecNo = own;
        state.DoggieRecord = dog;
        return true;
    }
    state.DoggieRecNo = 0;
    if (own >= 1 && own <= n) {
        state.DoggieRecord = file.read<DoggieRecord>(own);
        if (fixedtext::shown(state.DoggieRecord.Name) == wanted) {
            state.DoggieRecNo = own;
            return true;
        }
    }
    for (qint32 i = 1; i <= n; ++i) {
        state.DoggieRecord = file.read<DoggieRecord>(i);
        if (fixedtext::shown(state.DoggieRecord.Name) == wanted) {
            state.DoggieRecNo = i;
            return true;
        }
    }
    return false;
}

} // namespace doggielist
