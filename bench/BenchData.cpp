#include "BenchData.h"

#include "demo/DemoDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace BenchData {

QString folder()
{
    const QString given = qEnvironmentVariable("SWEEP_BENCH_DATA");
    return given.isEmpty() ? QDir::temp().filePath(QStringLiteral("sweep-bench")) : given;
}

QString deliveriesDatabase(int deliveries, QString* error)
{
    const QString file =
        QDir(folder()).filePath(QStringLiteral("deliveries-%1.sqlite").arg(deliveries));
    if (QFileInfo::exists(file))
        return file;
    std::fprintf(stderr, "making the demo database with %d deliveries ...\n", deliveries);
    DemoSize size;
    size.extraDeliveries = deliveries;
    QString why;
    if (!createDemoDatabase(file, size, &why)) {
        if (error)
            *error = why;
        return {};
    }
    return file;
}

} // namespace BenchData
