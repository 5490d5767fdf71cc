// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The main window's costs on long logs: one log entry on a 100,000-entry log against writing
// the same bytes to a new file and renaming it; a search that finds nothing in 1,000,000
// entries; and showing the Log page of a 1,000,000-entry log up to its first paint.
#include "BenchProgram.h"
#include "shell/DBGrid.h"
#include "ui_uniMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

using namespace wv;

// A log of `entries` lines like the program writes, about 45 bytes each.
QByteArray makeLog(int entries) {
    QByteArray log = "IP,DD/MM/YY,TIME,MESSAGE\r\n";
    log.reserve(qsizetype(entries) * 46);
    static const char* const messages[] = {"\"Start of program\"", "Online", "Offline",
                                           "\"Stop of program\""};
    for (int i = 0; i < entries; ++i) {
        log += (i % 4 == 1)
                   ? "10.1." + QByteArray::number(i % 250) + "." + QByteArray::number(i % 200)
                   : QByteArray("0.0.0.0");
        log += "," + QByteArray::number(1 + i % 28) + "/" + QByteArray::number(1 + i % 12) +
               "/26," + QByteArray::number(i % 24) + ":05:07," + messages[i % 4] + "\r\n";
    }
    return log;
}

struct Program : BenchProgram {
    explicit Program(int entries) : BenchProgram([entries] { return makeLog(entries); }) {}
};

void BM_SaveInLog_100k(benchmark::State& state) {
    Program p(100000);
    for (auto _ : state)
        p.frm->SaveInLog("0.0.0.0", "Offline");
    state.counters["log_bytes"] = double(QFile(p.frm->LogPath()).size());
}
BENCHMARK(BM_SaveInLog_100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The reference: the same bytes written once to a new file, flushed and renamed over the log.
void BM_WriteSameBytesAndRename_100k(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray bytes = makeLog(100000);
    const QByteArray target = (dir.path() + "/Vanewire.txt").toLocal8Bit();
    const QByteArray temp = target + ".tmp";
    for (auto _ : state) {
        std::FILE* f = std::fopen(temp.constData(), "wb");
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
        std::fflush(f);
        fdatasync(fileno(f));
        std::fclose(f);
        std::rename(temp.constData(), target.constData());
    }
}
BENCHMARK(BM_WriteSameBytesAndRename_100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SearchNotFound_1M(benchmark::State& state) {
    Program p(1000000);
    for (auto _ : state)
        benchmark::DoNotOptimize(p.frm->Seeking("192.0.2.7", false, false, QDate(2026, 1, 1)));
}
BENCHMARK(BM_SearchNotFound_1M)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ShowLogPageFirstPaint_1M(benchmark::State& state) {
    Program p(1000000);
    p.frm->ShowAfterCreate();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        p.frm->ui()->PageControl1->setCurrentIndex(0);
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        p.frm->ui()->PageControl1->setCurrentIndex(1);
        p.frm->ui()->DBGrid->viewport()->repaint();
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ShowLogPageFirstPaint_1M)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
