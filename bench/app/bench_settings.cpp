// Saving the settings: SaveAll on a 10 MB settings file that holds 1,024 local addresses, with
// the bulk of the file in another section or inside "General" itself (one atomic write each);
// and LoadAll of the same file for comparison.
#include "FakeHostResolver.h"
#include "FakeRunKeyStore.h"
#include "FakeTrayService.h"
#include "app/uniMain.h"
#include "base/Clock.h"
#include "shell/Application.h"
#include "shell/CheckListBox.h"
#include "shell/MessageBox.h"
#include "ui_uniMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

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
    MessageBox::startRecording();
    InitShellResources();
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    {
        QFile ini(folder + "Vanewire.ini");
        ini.open(QIODevice::WriteOnly);
        ini.write(makeSettings(state.range(0) != 0));
    }
    FakeHostResolver resolver;
    FakeRunKeyStore runKeys;
    FakeTrayService tray;
    SystemClock clock;
    TApplication app;
    auto frm = std::make_unique<TfrmMain>(
        TfrmMainEnv{app, tray, resolver, runKeys, clock, folder, folder + "wv"});
    app.SetMainForm(frm.get());
    frm->FormCreate();
    if (frm->ui()->clbIP->CheckedItems().size() != kAddresses)
        state.SkipWithError("the addresses were not loaded");
    for (auto _ : state) {
        if (state.range(1) != 0)
            frm->SaveAll();
        else
            frm->LoadAll(); // reading, for comparison: one read of the file per key
    }
    if (!MessageBox::recorded().isEmpty())
        state.SkipWithError("SaveAll reported an error");
    state.counters["file_bytes"] = double(QFile(folder + "Vanewire.ini").size());
    app.SetMainForm(nullptr);
    frm.reset();
    MessageBox::stopRecording();
}
BENCHMARK(BM_Settings_10MB_1024Addresses)
    ->ArgNames({"padding_in_General", "save"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
