#include "platform/DateTest.h"

#include <QTest>

class TestDateTest : public QObject {
    Q_OBJECT
private slots:
    void isDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("date");
        const char* dates[] = {"5/12/2003",      "5-12-2003",     "2003-05-12",         "13/5/2003",
                               "5/12/03",        "5/12",          "July 4, 2005",       "4 Jul 2005",
                               "4-Jul-2005",     "  5/12/2003  ", "JULY 4 2005",        "jul 2005",
                               "5/2003",         "2003/5",        "2/29/2004",          "12/31/9999",
                               "1/1/100",        "1/1/0",         "5/12/2003 10:30 PM", "5/12/2003 22:15:05",
                               "5/12/2003 9 am", "December 25",   "2005, July 4",       "31/12/99",
                               "2/30",           "4 Jul"};
        const char* notDates[] = {"abc",
                                  "5/12/2003x",
                                  "2003",
                                  "2/29/2003",
                                  "32/1/2003",
                                  "5.12.2003",
                                  "",
                                  "   ",
                                  "10:30",
                                  "10:30 PM",
                                  "5/12/2003 25:00",
                                  "5/12/2003 10:61",
                                  "5//12",
                                  "/5/12",
                                  "5/12/",
                                  "5/12/2003/1",
                                  "1/1/10000",
                                  "Sept 4 2005",
                                  "4 July July 2005",
                                  "Mon 5/12/2003",
                                  "5/12/2003 10:30 XM",
                                  "5/12/2003 10:30 -",
                                  "13/13/2003",
                                  "0/0/0",
                                  "Feb 30 2005",
                                  "5\u200B/12/2003",
                                  "\u0665/12/2003",
                                  "99999999999/1/1",
                                  "5/12/1234567890",
                                  "5/12/2003 0 AM"};
        for (const char* d : dates)
            QTest::addRow("date: %s", d) << QString::fromUtf8(d) << true;
        for (const char* d : notDates)
            QTest::addRow("not: %s", d) << QString::fromUtf8(d) << false;
    }
    void isDate()
    {
        QFETCH(QString, text);
        QFETCH(bool, date);
        QCOMPARE(::isDate(text, QDate(2026, 12, 6)), date);
    }

    // What a 10-character date field keeps of a date text.
    void fitDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("fits: as typed") << "Sep 9 2004"
                                        << "Sep 9 2004";
        QTest::newRow("only spaces beyond: as typed") << "5/12/2003    "
                                                      << "5/12/2003    ";
        QTest::newRow("month written out") << "September 9, 2004"
                                           << "9/9/2004";
        QTest::newRow("leading spaces") << "   12/25/2005"
                                        << "12/25/2005";
        QTest::newRow("with a time") << "2003-05-12 10:30 PM"
                                     << "5/12/2003";
        QTest::newRow("day before month") << "31/12/1999 9:00"
                                          << "12/31/1999";
    }
    void fitDate()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(::fitDate(text, 10), stored);
    }
};

QTEST_GUILESS_MAIN(TestDateTest)
#include "test_datetest.moc"
