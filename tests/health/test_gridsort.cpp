#include "health/GridSort.h"

#include <QTest>
#include <QThread>

#include <algorithm>
#include <random>

namespace {

std::vector<QStringList> keyed(const QStringList& keys)
{
    std::vector<QStringList> rows;
    for (int i = 0; i < keys.size(); ++i)
        rows.push_back({keys[i], QString::number(i)});
    return rows;
}

QStringList column(const MemoryGrid& grid, int col)
{
    QStringList out;
    for (const QStringList& row : grid.data())
        out.append(row[col]);
    return out;
}

} // namespace

class TestGridSort : public QObject {
    Q_OBJECT
private slots:
    void compareKeys()
    {
        QCOMPARE(CompareKeys(QStringLiteral("b"), QStringLiteral("a"), false, true), short(1));
        QCOMPARE(CompareKeys(QStringLiteral("b"), QStringLiteral("a"), false, false), short(-1));
        QCOMPARE(CompareKeys(QStringLiteral("a"), QStringLiteral("a"), false, false), short(0));
        QCOMPARE(CompareKeys(QStringLiteral("B"), QStringLiteral("a"), false, true), short(-1)); // by code
        QCOMPARE(CompareKeys(QStringLiteral("a "), QStringLiteral("a"), false, true), short(1)); // spaces count
        QCOMPARE(CompareKeys(QStringLiteral("10"), QStringLiteral("9"), true, true), short(1));
        QCOMPARE(CompareKeys(QStringLiteral("10"), QStringLiteral("9"), false, true), short(-1));
    }

    void sort_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("seconds"); // column 1 afterwards
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        // The tie example: rows with equal keys end in this order and no other.
        QTest::newRow("ties") << QStringList{"1", "2", "1", "2", ""} << QStringList{"3", "1", "0", "2", "4"} << 0 << 4;
        QTest::newRow("date texts fall by character code")
            << QStringList{"10/20/2003", "12/5/2004", "9/1/2003", ""} << QStringList{"2", "1", "0", "3"} << 0 << 3;
        QTest::newRow("one row untouched") << QStringList{"a", "z"} << QStringList{"0", "1"} << 1 << 1;
        QTest::newRow("inverted range untouched") << QStringList{"a", "z"} << QStringList{"0", "1"} << 1 << 0;
        QTest::newRow("two rows exchanged") << QStringList{"a", "b"} << QStringList{"1", "0"} << 0 << 1;
        QTest::newRow("two rows kept") << QStringList{"b", "a"} << QStringList{"0", "1"} << 0 << 1;
        QTest::newRow("all equal stay") << QStringList{"k", "k", "k", "k"} << QStringList{"0", "1", "2", "3"} << 0 << 3;
        QTest::newRow("header row left alone")
            << QStringList{"Date Given", "1", "3", "2", ""} << QStringList{"0", "2", "3", "1", "4"} << 1 << 4;
        QTest::newRow("blank keys sort last")
            << QStringList{"   ", "a", "", "b"} << QStringList{"3", "1", "0", "2"} << 0 << 3;
    }
    void sort()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, seconds);
        QFETCH(int, min);
        QFETCH(int, max);
        MemoryGrid grid(keyed(keys));
        QSort(grid, 0, min, max, false, false);
        QCOMPARE(column(grid, 1), seconds);
    }

    void sort_matchesAStableReferenceOnDistinctKeys()
    {
        // With distinct keys the order is fully determined: compare with std::sort.
        std::mt19937 random(42);
        QStringList keys;
        for (int i = 0; i < 2000; ++i)
            keys.append(QString::number(random() % 1000000).rightJustified(7, u'0') + QString::number(i));
        MemoryGrid grid(keyed(keys));
        QSort(grid, 0, 0, int(keys.size()) - 1, true, false);
        QStringList sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(column(grid, 0), sorted);
    }

    void sort_orderedRowsNeedNoDeepStack()
    {
        // Rows already in order make every partition peel off one row; with
        // recursion that would be one frame per row. Run it on a small stack.
        QStringList keys;
        for (int i = 0; i < 3000; ++i)
            keys.append(QString::number(900000 - i));
        MemoryGrid grid(keyed(keys));
        QThread* thread = QThread::create([&grid, &keys] { QSort(grid, 0, 0, int(keys.size()) - 1, false, false); });
        thread->setStackSize(64 * 1024);
        thread->start();
        QVERIFY(thread->wait(60000));
        delete thread;
        QCOMPARE(column(grid, 0), keys);
    }
};

QTEST_GUILESS_MAIN(TestGridSort)
#include "test_gridsort.moc"
