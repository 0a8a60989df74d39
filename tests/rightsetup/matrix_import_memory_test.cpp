// A large matrix file is read as a stream: the peak memory grows by the
// changes it makes, not by the file's size. WMS_IMPORT_TEST_MB sets the
// file's size (30 MB unless set; 100 for the measurement in the README).
#include "rights/review.h"
#include "rightsetup/matrix_csv.h"
#include "tests/support/printers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace rightsetup;

namespace {

long peakKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString code(char prefix, int number)
{
    return QLatin1Char(prefix) + QString::number(number).rightJustified(5, QLatin1Char('0'));
}

}  // namespace

TEST(MatrixImportMemory, AFileOfManyMegabytesIsReadInMemoryBoundedByItsChanges)
{
    const int megabytes = qEnvironmentVariableIsSet("WMS_IMPORT_TEST_MB") ? qEnvironmentVariableIntValue("WMS_IMPORT_TEST_MB") : 30;
    constexpr int kGroups = 200, kItems = 500, kUnknownItems = 1500;
    rights::Matrix current;
    for (int g = 0; g < kGroups; ++g)
        current.groups << code('g', g);
    for (int i = 0; i < kItems; ++i)
        current.items << code('i', i);
    for (const QString& group : std::as_const(current.groups))
        for (const QString& item : std::as_const(current.items))
            current.cells.insert({group, item}, QStringLiteral("0"));

    // The database's groups give every known item 1; then unknown groups up to the size.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile out(dir.filePath("big.csv"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    QByteArray header = "group_id,group_name";
    for (int i = 0; i < kItems; ++i)
        header += ',' + code('i', i).toUtf8();
    for (int i = 0; i < kUnknownItems; ++i)
        header += ',' + code('u', i).toUtf8();
    out.write(header + "\r\n");
    const QByteArray levels = QByteArray(",1").repeated(kItems + kUnknownItems) + "\r\n";
    int records = 0;
    while (out.size() < qint64(megabytes) << 20) {
        const QString group = records < kGroups ? code('g', records) : code('x', records);
        out.write(group.toUtf8() + ",\"组, 名\"" + levels);
        ++records;
    }
    out.close();

    const long before = peakKib();
    QElapsedTimer clock;
    clock.start();
    QFile in(out.fileName());
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    MatrixImport import;
    QString error;
    ASSERT_EQ(readMatrixImport(&in, current, &import, &error), ImportRead::Read) << error.toStdString();
    const long grownKib = peakKib() - before;
    const qint64 ms = clock.elapsed();
    EXPECT_EQ(import.changes.size(), kGroups * kItems);
    EXPECT_EQ(import.unknownGroupCount, records - kGroups);
    EXPECT_EQ(import.unknownItemCount, kUnknownItems);
    RecordProperty("file_mib", megabytes);
    RecordProperty("peak_growth_kib", int(grownKib));
    std::printf("%d MiB file read in %lld ms: the peak grew by %ld KiB\n", megabytes, ms, grownKib);
    // Reading the whole file at once would take its size twice over (bytes and text).
    EXPECT_LT(grownKib, 64 * 1024);
}
