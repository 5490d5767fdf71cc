// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Settings: the options of the window in the settings file, and the "Load at Startup" value.
#include "app/uniMain.h"

#include "app/ConnectionVerdict.h"
#include "app/StartupValue.h"
#include "platform/IniFile.h"
#include "shell/CheckListBox.h"
#include "shell/MessageBox.h"
#include "ui_uniMain.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdio>

namespace wv {

namespace {
const QString kSection = QStringLiteral("General");
// A damaged settings file may claim any count; more local addresses than this are not read.
constexpr int kMaxCheckedItems = 1024;

const QString kWindowLeft = QStringLiteral("WindowLeft");
const QString kWindowTop = QStringLiteral("WindowTop");
const QString kWindowWidth = QStringLiteral("WindowWidth");
const QString kWindowHeight = QStringLiteral("WindowHeight");
const QString kWindowMaximized = QStringLiteral("WindowMaximized");

// An auto-exclusive radio button refuses to be cleared directly.
void setRadioUnchecked(QRadioButton* button) {
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}
} // namespace

void TfrmMain::LoadAll() {
    try {
        // Read once: a settings file of any size loads in one read.
        IniSection ini(iniPath_, kSection);
        startMinimized_ = ini.ReadBool(QStringLiteral("MinimizeAtStartup"), true);
        const int count = ini.ReadInteger(QStringLiteral("CheckedCount"), 0);
        // The options act as one radio group: setting one clears the others, clearing one
        // leaves the others alone. They are read in the order rbList, rbLocalIP, rbInternet, so
        // the last one set wins; a file without rbInternet reads as it always did. The verdict
        // hears of the way once it is all read.
        const QSignalBlocker quietList(ui_->rbList), quietLocal(ui_->rbLocalIP),
            quietInternet(ui_->rbInternet);
        const bool list = ini.ReadBool(QStringLiteral("rbList"), true);
        if (list)
            ui_->rbList->setChecked(true);
        else
            setRadioUnchecked(ui_->rbList);
        const bool localIP = ini.ReadBool(QStringLiteral("rbLocalIP"), false);
        if (localIP)
            ui_->rbLocalIP->setChecked(true);
        else
            setRadioUnchecked(ui_->rbLocalIP);
        if (ini.ReadBool(QStringLiteral("rbInternet"), false))
            ui_->rbInternet->setChecked(true);
        else
            setRadioUnchecked(ui_->rbInternet);
        TProbeSettings probe;
        probe.url = ini.ReadString(QStringLiteral("ProbeURL"), probe.url).trimmed();
        probe.expect = ini.ReadString(QStringLiteral("ProbeExpect"), probe.expect);
        probe.intervalSecs = ini.ReadInteger(QStringLiteral("ProbeInterval"), probe.intervalSecs);
        verdict_->SetSettings(probe);
        syncWay();
        updateInternetHint();
        const int n = std::min(count, kMaxCheckedItems);
        for (int i = 0; i < n; ++i)
            ui_->clbIP->AddChecked(ini.ReadString(
                QStringLiteral("CheckedItems_") + QString::number(i), QStringLiteral("Error")));
        const QSignalBlocker quiet(ui_->cbNotifyOnChange);
        ui_->cbNotifyOnChange->setChecked(ini.ReadBool(QStringLiteral("NotifyOnChange"), false));
    } catch (...) {
        MessageBox::show(tr("Error in TfrmMain.LoadAll"));
    }
}

bool TfrmMain::RestorePlace() {
    QRect place;
    bool maximized = false;
    try {
        IniSection ini(iniPath_, kSection);
        place = QRect(ini.ReadInteger(kWindowLeft, 0), ini.ReadInteger(kWindowTop, 0),
                      ini.ReadInteger(kWindowWidth, 0), ini.ReadInteger(kWindowHeight, 0));
        maximized = ini.ReadBool(kWindowMaximized, false);
    } catch (...) {
        return false; // the window opens centred; LoadAll tells about a damaged file
    }
    if (place.width() <= 0 || place.height() <= 0)
        return false;
    // Never smaller than the layout needs, never larger than the screen it lands on.
    place.setSize(place.size().expandedTo(minimumSize()));
    // Only on a screen that still shows a good part of it (a monitor may have gone).
    const QRect grip(place.topLeft(), QSize(std::min(place.width(), 100), 40));
    const QScreen* screen = nullptr;
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersected(grip).size() == grip.size())
            screen = s;
    if (!screen)
        return false;
    place.setSize(place.size().boundedTo(screen->availableGeometry().size()));
    setGeometry(place);
    if (maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

void TfrmMain::SaveAll() {
    try {
        // The keys go to the file in one atomic replace, with the same content as writing them
        // one by one: a settings file of any size saves in one read and one write.
        IniSection ini(iniPath_, kSection);
        ini.WriteBool(QStringLiteral("MinimizeAtStartup"), ui_->cbMinimizeAtStartup->isChecked());
        const QStringList& checked = ui_->clbIP->CheckedItems();
        ini.WriteInteger(QStringLiteral("CheckedCount"), int(checked.size()));
        ini.WriteBool(QStringLiteral("rbLocalIP"), ui_->rbLocalIP->isChecked());
        // Exactly one way is stored as chosen: "IP's List" when the window shows none.
        const bool internet = ui_->rbInternet->isChecked();
        ini.WriteBool(QStringLiteral("rbList"),
                      ui_->rbList->isChecked() || (!ui_->rbLocalIP->isChecked() && !internet));
        ini.WriteBool(QStringLiteral("rbInternet"), internet);
        const TProbeSettings& probe = verdict_->Settings();
        ini.WriteString(QStringLiteral("ProbeURL"), probe.url);
        ini.WriteString(QStringLiteral("ProbeExpect"), probe.expect);
        ini.WriteInteger(QStringLiteral("ProbeInterval"), probe.intervalSecs);
        for (int i = 0; i < checked.size(); ++i)
            ini.WriteString(QStringLiteral("CheckedItems_") + QString::number(i), checked.at(i));
        ini.WriteBool(QStringLiteral("NotifyOnChange"), ui_->cbNotifyOnChange->isChecked());
        // The window's place and size, once it has been shown: a start in the notification
        // area keeps the place stored before.
        if (placed_) {
            const QRect place = isMaximized() ? normalGeometry() : geometry();
            ini.WriteInteger(kWindowLeft, place.x());
            ini.WriteInteger(kWindowTop, place.y());
            ini.WriteInteger(kWindowWidth, place.width());
            ini.WriteInteger(kWindowHeight, place.height());
            ini.WriteBool(kWindowMaximized, isMaximized());
        }
        ini.Commit();
    } catch (...) {
        MessageBox::show(tr("Error in TfrmMain.SaveAll"));
    }
}

void TfrmMain::cbStartupClick() {
    const bool wanted = ui_->cbStartup->isChecked();
    const QString refusal = LoadAtStartup(env_.runKeys, env_.exeName, wanted);
    if (!refusal.isEmpty()) {
        const QString text = (wanted ? tr("Load at Startup could not be turned on: %1.")
                                     : tr("Load at Startup could not be turned off: %1."))
                                 .arg(refusal);
        // The start-up rewrite says it on standard error: no box may hold up a start at log-on.
        if (startingUp_)
            std::fprintf(stderr, "wirevane: %s\n", text.toLocal8Bit().constData());
        else
            MessageBox::show(text);
    }
    // The box shows what is really stored, whatever was asked.
    const bool stored = CheckLoadAtStartup(env_.runKeys);
    if (stored != ui_->cbStartup->isChecked()) {
        const QSignalBlocker quiet(ui_->cbStartup);
        ui_->cbStartup->setChecked(stored);
    }
}

} // namespace wv
