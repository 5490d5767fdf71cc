// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "FakeHostResolver.h"
#include "FakeInternetProbe.h"
#include "FakeRunKeyStore.h"
#include "FakeTrayService.h"
#include "app/ConnectionVerdict.h"
#include "app/Formats.h"
#include "app/uniMain.h"
#include "base/Clock.h"
#include "base/ErrorReport.h"
#include "net/OnlineIP.h"
#include "shell/Application.h"
#include "shell/CheckListBox.h"
#include "shell/MessageBox.h"
#include "shell/TrayIcon.h"
#include "table/CommaText.h"
#include "table/SdfData.h"
#include "ui_uniMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace wv::test {

// A main window over fakes: a temporary program folder, a scripted resolver, a recording
// notification area and autostart store, a fixed clock, and message boxes that record.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        InitShellResources();
        MessageBox::startRecording();
        setErrorSink([](const QString& text) { MessageBox::show(text); });
        folder = dir.path() + QLatin1Char('/');
    }

    void TearDown() override {
        if (frm)
            app.SetMainForm(nullptr);
        frm.reset();
        MessageBox::stopRecording();
        setErrorSink(nullptr);
    }

    TfrmMain& create() {
        frm = std::make_unique<TfrmMain>(
            TfrmMainEnv{app, tray, resolver, runKeys, clock, folder,
                        folder + QStringLiteral("wirevane"), nullptr, nullptr, nullptr, [this] {
                            ++probesMade;
                            return std::make_unique<FakeInternetProbe>(probe);
                        }});
        app.SetMainForm(frm.get());
        frm->FormCreate();
        return *frm;
    }

    Ui::TfrmMain& ui() { return *frm->ui(); }

    // One poll of the monitor with the resolver's current answer.
    void poll() { frm->OnlineIP1()->Poll(); }

    QByteArray fileBytes(const QString& name) {
        QFile f(folder + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // The log's lines without their CR LF.
    QList<QByteArray> logLines() {
        QByteArray all = fileBytes(QStringLiteral("Vanewire.txt"));
        QList<QByteArray> lines = all.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        for (QByteArray& l : lines)
            if (l.endsWith('\r'))
                l.chop(1);
        return lines;
    }
    // The line the log holds for an entry written at the fake clock's time.
    QByteArray entry(const std::string& ip, const std::string& message) {
        const QDateTime t = clock.now();
        return QByteArray::fromStdString(
            joinCommaText({ip, FormatShortDate(t.date()).toStdString(),
                           FormatLongTime(t.time()).toLocal8Bit().toStdString(), message}));
    }

    QTemporaryDir dir;
    QString folder;
    FakeHostResolver resolver;
    // The internet check's probe: never the network.
    std::shared_ptr<FakeInternetProbe::Record> probe =
        std::make_shared<FakeInternetProbe::Record>();
    int probesMade = 0;
    FakeRunKeyStore runKeys;
    FakeTrayService tray;
    FakeClock clock{QDateTime(QDate(2026, 12, 6), QTime(21, 5, 7))};
    TApplication app;
    std::unique_ptr<TfrmMain> frm;
};

} // namespace wv::test
