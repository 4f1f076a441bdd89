#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property of the code under fuzzing that did not hold: stop with a report,
// so that the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

// A folder of its own for the fuzz run, where the inputs become files.
QString fuzzFolder();
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
