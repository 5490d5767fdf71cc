// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The real main window over fakes, started on a log and a settings file that a benchmark
// prepares, in a temporary folder of its own.
#pragma once

#include "FakeHostResolver.h"
#include "FakeRunKeyStore.h"
#include "FakeTrayService.h"
#include "app/Formats.h"
#include "app/uniMain.h"
#include "base/Clock.h"
#include "shell/Application.h"
#include "shell/MessageBox.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace wv {

struct BenchProgram {
    // `makeLog` runs once the log's date and time formats are set; an empty log means none.
    explicit BenchProgram(const std::function<QByteArray()>& makeLog,
                          const QByteArray& settings = "[General]\nMinimizeAtStartup=0\n") {
        MessageBox::startRecording();
        InitShellResources();
        SetLogFormats();
        write("Vanewire.txt", makeLog ? makeLog() : QByteArray());
        write("Vanewire.ini", settings);
        frm = std::make_unique<TfrmMain>(
            TfrmMainEnv{app, tray, resolver, runKeys, clock, folder(), folder() + "wv"});
        app.SetMainForm(frm.get());
        frm->FormCreate();
    }
    ~BenchProgram() {
        app.SetMainForm(nullptr);
        frm.reset();
        MessageBox::stopRecording();
    }
    QString folder() const { return dir.path() + "/"; }

    QTemporaryDir dir;
    FakeHostResolver resolver;
    FakeRunKeyStore runKeys;
    FakeTrayService tray;
    SystemClock clock;
    TApplication app;
    std::unique_ptr<TfrmMain> frm;

private:
    void write(const QString& name, const QByteArray& bytes) {
        if (bytes.isEmpty())
            return;
        QFile f(folder() + name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
};

} // namespace wv
