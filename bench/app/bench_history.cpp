// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The history's costs on a 1,000,000-entry log: computing it all against one walk over the
// log reading two fields (the search's DD/MM/YY and IP), adding one entry on a short and a
// long log, and showing the History page's 90 days up to the chart's paint.
#include "BenchProgram.h"
#include "app/History.h"
#include "shell/HistoryView.h"
#include "table/CommaText.h"
#include "table/SdfData.h"
#include "ui_uniMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <utility>

namespace {

using namespace wv;

// A log of `entries` entries as the program writes them, two minutes apart and ending now:
// runs of a start, online and offline changes, and a stop.
QByteArray makeLog(int entries) {
    QByteArray log = "IP,DD/MM/YY,TIME,MESSAGE\r\n";
    log.reserve(qsizetype(entries) * 46);
    const QDateTime end = QDateTime::currentDateTime().addSecs(-60);
    QDateTime t = end.addSecs(-qint64(entries) * 120);
    static const char* const cycle[] = {"Start of program", "Online", "Offline",        "Online",
                                        "Offline",          "Online", "Stop of program"};
    for (int i = 0; i < entries; ++i, t = t.addSecs(120)) {
        const char* message = cycle[i % 7];
        const std::string ip = std::string(message) == "Online" ? "203.0.113.5" : "0.0.0.0";
        log += QByteArray::fromStdString(
                   joinCommaText({ip, FormatShortDate(t.date()).toStdString(),
                                  FormatLongTime(t.time()).toLocal8Bit().toStdString(), message})) +
               "\r\n";
    }
    return log;
}

struct Program : BenchProgram {
    explicit Program(int entries) : BenchProgram([entries] { return makeLog(entries); }) {}
};

Program* shared1M = nullptr;

// One 1,000,000-entry program for all the benchmarks; it goes with the application object,
// while Qt still runs, not after it.
Program& program1M() {
    if (!shared1M) {
        shared1M = new Program(1000000);
        qAddPostRoutine([] { delete std::exchange(shared1M, nullptr); });
    }
    return *shared1M;
}

// The reference: one walk over every entry reading two fields.
void BM_WalkTwoFields_1M(benchmark::State& state) {
    TSdfDataSet& table = *program1M().frm->LogTable();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int row = 0, n = table.RowCount(); row < n; ++row)
            bytes += table.RowValue(row, 1).size() + table.RowValue(row, 0).size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_WalkTwoFields_1M)->Unit(benchmark::kMillisecond)->Iterations(5);

// The whole history computed anew, as after an edit in the grid.
void BM_HistoryOfWholeLog_1M(benchmark::State& state) {
    Program& p = program1M();
    TSdfDataSet& table = *p.frm->LogTable();
    for (auto _ : state) {
        table.Edit(); // an edit (even a cancelled one) makes the history stale
        table.Cancel();
        QElapsedTimer t;
        t.start();
        benchmark::DoNotOptimize(p.frm->History().Accepted());
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
    state.counters["entries"] = p.frm->History().Accepted();
    state.counters["skipped"] = p.frm->History().Skipped();
}
BENCHMARK(BM_HistoryOfWholeLog_1M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The History page after an edit in the grid of a 1,000,000-entry log: the log is read in
// slices between which the event loop runs; the time is the longest slice, the counter the
// number of slices.
void BM_HistoryPageRereadSlices_1M(benchmark::State& state) {
    Program& p = program1M();
    p.frm->ShowAfterCreate();
    p.frm->ui()->PageControl1->setCurrentWidget(p.frm->tsHistory());
    QCoreApplication::processEvents();
    TSdfDataSet& table = *p.frm->LogTable();
    int slices = 0;
    for (auto _ : state) {
        table.Edit();
        table.Cancel();
        qint64 longest = 0;
        slices = 0;
        do {
            QElapsedTimer t;
            t.start();
            p.frm->RefreshHistory();
            longest = std::max(longest, t.nsecsElapsed());
            ++slices;
        } while (p.frm->HistoryView()->lblFigures()->text().startsWith(QStringLiteral("Reading")));
        state.SetIterationTime(double(longest) / 1e9);
    }
    state.counters["slices"] = slices;
}
BENCHMARK(BM_HistoryPageRereadSlices_1M)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One new entry posted to the log (without the file write) and added to the history: the
// same cost on a log of a thousand entries as on one of a million.
void BM_NewEntryWithHistory(benchmark::State& state) {
    std::unique_ptr<Program> small;
    Program* p = &program1M();
    if (state.range(0) != 1000000) {
        small = std::make_unique<Program>(int(state.range(0)));
        p = small.get();
    }
    TSdfDataSet& table = *p->frm->LogTable();
    p->frm->History();
    const std::string date = FormatShortDate(QDate::currentDate()).toStdString();
    const std::string time = FormatLongTime(QTime::currentTime()).toStdString();
    bool online = true;
    for (auto _ : state) {
        table.Append();
        table.Fields(0).SetAsString("0.0.0.0");
        table.Fields(1).SetAsString(date);
        table.Fields(2).SetAsString(time);
        table.Fields(3).SetAsString(online ? "Online" : "Offline");
        table.Post();
        online = !online;
        benchmark::DoNotOptimize(p->frm->History().Accepted());
    }
}
BENCHMARK(BM_NewEntryWithHistory)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The History page over a 1,000,000-entry log: figures, bars, list and the paint; the
// argument is the period chosen: 2 for 90 days, 3 for everything (1,389 days).
void BM_HistoryPage_1M(benchmark::State& state) {
    Program& p = program1M();
    p.frm->ShowAfterCreate();
    p.frm->History();
    p.frm->HistoryView()->cboxPeriod()->setCurrentIndex(int(state.range(0)));
    p.frm->ui()->PageControl1->setCurrentWidget(p.frm->tsHistory());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        p.frm->RefreshHistory();
        p.frm->HistoryView()->Chart()->repaint();
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
    state.counters["bars"] = double(p.frm->HistoryView()->Chart()->Bars().size());
}
BENCHMARK(BM_HistoryPage_1M)
    ->Arg(2)
    ->Arg(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
