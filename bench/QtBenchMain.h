#pragma once
// The entry of a benchmark that draws with Qt: a QApplication (offscreen
// unless QT_QPA_PLATFORM says otherwise) and the install directory as the
// current directory, where the pictures are. The target defines
// TESSALY_BENCH_DIST_DIR.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

inline int runQtBenchmarks(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral(TESSALY_BENCH_DIST_DIR));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
