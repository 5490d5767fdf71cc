// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Saving the settings: SaveAll on a 10 MB settings file that holds 1,024 local addresses, with
// the bulk of the file in another section or inside "General" itself (one atomic write each);
// and LoadAll of the same file for comparison.
#include "BenchProgram.h"
#include "shell/CheckListBox.h"
#include "ui_uniMain.h"

#include <benchmark/benchmark.h>

namespace {

using namespace wv;

constexpr int kAddresses = 1024;
constexpr qsizetype kFileBytes = 10 * 1024 * 1024;

// [General] with 1,024 addresses, padded to 10 MB by keys of another section or of "General".
QByteArray makeSettings(bool paddingInGeneral) {
    QByteArray general =
        "[General]\nMinimizeAtStartup=0\nCheckedCount=" + QByteArray::number(kAddresses) +
        "\nrbLocalIP=0\nrbList=1\n";
    for (int i = 0; i < kAddresses; ++i)
        general += "CheckedItems_" + QByteArray::number(i) + "=198.51." +
                   QByteArray::number(i / 256) + "." + QByteArray::number(i % 256) + "\n";
    QByteArray padding;
    for (int i = 0; general.size() + padding.size() < kFileBytes; ++i)
        padding += "Padding_" + QByteArray::number(i) + "=" + QByteArray(80, 'x') + "\n";
    return paddingInGeneral ? general + padding : general + "\n[Other]\n" + padding;
}

void BM_Settings_10MB_1024Addresses(benchmark::State& state) {
    BenchProgram p({}, makeSettings(state.range(0) != 0));
    TfrmMain* frm = p.frm.get();
    if (frm->ui()->clbIP->CheckedItems().size() != kAddresses)
        state.SkipWithError("the addresses were not loaded");
    for (auto _ : state) {
        if (state.range(1) != 0)
            frm->SaveAll();
        else
            frm->LoadAll(); // reading, for comparison
    }
    if (!MessageBox::recorded().isEmpty())
        state.SkipWithError("SaveAll reported an error");
    state.counters["file_bytes"] = double(QFile(p.folder() + "Vanewire.ini").size());
}
BENCHMARK(BM_Settings_10MB_1024Addresses)
    ->ArgNames({"padding_in_General", "save"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
