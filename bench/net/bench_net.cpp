// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Cost of the connection monitor's poll on this host, with the real Linux resolver.
#include "net/HostLookup.h"
#include "net/OnlineIP.h"
#include "platform/linux/LinuxHostResolver.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <ifaddrs.h>

namespace {

// One poll as the timer runs it: start, host name, addresses, release, compare, notify.
void BM_PollLinuxResolver(benchmark::State& state) {
    wv::LinuxHostResolver resolver;
    QObject owner;
    auto* mon = new wv::TOnlineIP(&owner, resolver);
    mon->SetEnabled(false); // polls are driven here, not by the timer
    int changes = 0;
    mon->SetOnChanged([&](QObject*) { ++changes; });
    for (auto _ : state) {
        mon->Poll();
        benchmark::DoNotOptimize(mon->Online());
    }
    state.counters["changes"] = changes;
}
BENCHMARK(BM_PollLinuxResolver)->Repetitions(5)->ReportAggregatesOnly(true);

// The platform call underneath, for comparison.
void BM_getifaddrs(benchmark::State& state) {
    for (auto _ : state) {
        ifaddrs* list = nullptr;
        if (getifaddrs(&list) == 0)
            freeifaddrs(list);
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_getifaddrs)->Repetitions(5)->ReportAggregatesOnly(true);

// The address-list lookup as UpdateAddrList does it.
void BM_UpdateAddrList(benchmark::State& state) {
    wv::LinuxHostResolver resolver;
    QObject owner;
    auto* mon = new wv::TOnlineIP(&owner, resolver);
    mon->SetEnabled(false);
    QString last;
    for (auto _ : state) {
        mon->UpdateAddrList(last);
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK(BM_UpdateAddrList)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // the monitor's timer needs the thread's event dispatcher
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
