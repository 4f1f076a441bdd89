// Runs a fuzz target over every file of the folders it is given: the fuzz
// targets' seeds and the inputs that once broke them, as ordinary tests.
#include "FuzzSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

int main(int argc, char* argv[])
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QByteArray bytes = readFile(it.next());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
