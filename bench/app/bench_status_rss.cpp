// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Memory over status changes: the main window with the real tray service (QSystemTrayIcon),
// its status flipped between Online and Offline 2,000 times; the counters give the resident
// set size after a warm-up and after all changes, and the growth per change. The platform is the
// Each change also logs an entry, which the log's table keeps in memory: a little growth per change
// is that, not the icons. The platform is the one QT_QPA_PLATFORM names (offscreen under `make
// bench`; bench/status_rss.sh runs it on Xvfb with a notification area, where the tray icon really
// draws).
#include "FakeHostResolver.h"
#include "FakeRunKeyStore.h"
#include "app/Formats.h"
#include "app/uniMain.h"
#include "base/Clock.h"
#include "net/OnlineIP.h"
#include "platform/QtTrayService.h"
#include "shell/Application.h"
#include "shell/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

using namespace wv;

long rssKiB() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void BM_StatusChangesRss_2000(benchmark::State& state) {
    MessageBox::startRecording();
    InitShellResources();
    SetLogFormats();
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    {
        QFile ini(folder + "Vanewire.ini");
        ini.open(QIODevice::WriteOnly);
        ini.write("[General]\nMinimizeAtStartup=1\n");
    }
    FakeHostResolver resolver;
    FakeRunKeyStore runKeys;
    QtTrayService tray;
    SystemClock clock;
    TApplication app;
    {
        TfrmMain frm(TfrmMainEnv{app, tray, resolver, runKeys, clock, folder, folder + "wv"});
        app.SetMainForm(&frm);
        frm.FormCreate();
        frm.ShowAfterCreate();
        bool online = false;
        const auto flip = [&](int n) {
            for (int i = 0; i < n; ++i) {
                online = !online;
                if (online)
                    resolver.setAddresses({"203.0.113.5"});
                else
                    resolver.setAddresses({});
                frm.OnlineIP1()->Poll();
                QCoreApplication::processEvents();
            }
        };
        flip(200); // warm-up: caches and the log's buffers reach their size
        const long before = rssKiB();
        for (auto _ : state)
            flip(2000);
        const long after = rssKiB();
        state.counters["rss_before_kib"] = double(before);
        state.counters["rss_after_kib"] = double(after);
        state.counters["growth_bytes_per_change"] = double(after - before) * 1024.0 / 2000.0;
        app.SetMainForm(nullptr);
    }
    MessageBox::stopRecording();
}
BENCHMARK(BM_StatusChangesRss_2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
