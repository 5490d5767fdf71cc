// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/QtTrayService.h"
#include "shell/Application.h"
#include "shell/MessageBox.h"
#include "shell/TrayIcon.h"
#include "support/FakeTrayService.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using wv::FakeTrayService;
using Kind = wv::FakeTrayService::Kind;

namespace {

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        wv::MessageBox::startRecording();
        app.SetMainForm(&form);
        tray = std::make_unique<wv::TTrayIcon>(&owner, app, service);
    }
    void TearDown() override {
        tray.reset();
        wv::MessageBox::stopRecording();
    }

    QObject owner;
    QWidget form;
    wv::TApplication app;
    FakeTrayService service;
    std::unique_ptr<wv::TTrayIcon> tray;
};

TEST_F(TrayIconTest, ActivatingTwiceAddsOnceWithTheFullRecord) {
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    tray->SetActive(true);
    ASSERT_EQ(service.requests.size(), 1u);
    const wv::NotifyIconData& d = service.Last().data;
    EXPECT_EQ(service.Last().kind, Kind::Add);
    EXPECT_EQ(d.cbSize, 88u);
    EXPECT_EQ(d.hWnd, tray->Receiver());
    EXPECT_NE(d.hWnd, nullptr);
    EXPECT_EQ(d.uID, 0u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 1025u);
    EXPECT_EQ(d.Tip(), QStringLiteral("Offline"));

    tray->SetActive(false);
    tray->SetActive(false);
    EXPECT_EQ(service.Count(Kind::Delete), 1);
    EXPECT_FALSE(tray->Active());
}

TEST_F(TrayIconTest, ChangesWhileInactiveAreSentWithTheNextActivation) {
    const QIcon offline = wv::LoadIconResource(QStringLiteral("OFFLINE"));
    tray->SetIcon(offline);
    tray->SetToolTip(QStringLiteral("Offline"));
    EXPECT_TRUE(tray->ModifyIcon()); // inactive: nothing sent, still a success
    EXPECT_TRUE(service.requests.empty());

    tray->SetActive(true);
    ASSERT_EQ(service.requests.size(), 1u);
    EXPECT_EQ(service.Last().kind, Kind::Add);
    EXPECT_EQ(service.Last().data.hIcon.cacheKey(), offline.cacheKey());
    EXPECT_EQ(service.Last().data.Tip(), QStringLiteral("Offline"));
}

TEST_F(TrayIconTest, EmptyTipIsSentAgainOnceFromTheEventLoop) {
    tray->SetActive(true);
    EXPECT_EQ(service.Count(Kind::Add), 1);
    EXPECT_EQ(service.Count(Kind::Modify), 0); // posted, not yet run
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(service.Count(Kind::Modify), 1);
    EXPECT_EQ(service.Last().data.Tip(), QString());

    // With a tip there is no refresh.
    tray->SetActive(false);
    tray->SetToolTip(QStringLiteral("x"));
    service.requests.clear();
    tray->SetActive(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(service.Count(Kind::Modify), 0);
}

TEST_F(TrayIconTest, TipsAreCutToSixtyTwoCharacters) {
    tray->SetActive(true);
    const QString seventy = QString(QStringLiteral("0123456789")).repeated(7);
    tray->SetToolTip(seventy);
    EXPECT_EQ(tray->ToolTip(), seventy.left(62));
    EXPECT_EQ(service.Last().data.Tip(), seventy.left(62));
    EXPECT_EQ(service.Last().data.szTip[62], '\0');

    const QString exactly = seventy.left(62);
    tray->SetToolTip(exactly);
    EXPECT_EQ(tray->ToolTip(), exactly);
    EXPECT_EQ(service.Last().data.Tip(), exactly);

    // Characters, not bytes, count for the tip; a surrogate pair is never split.
    const QString cyrillic = QString(QChar(0x0416)).repeated(70);
    tray->SetToolTip(cyrillic);
    EXPECT_EQ(tray->ToolTip(), cyrillic.left(62));
    const QString emoji =
        QString(61, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F310") + QStringLiteral("bc");
    tray->SetToolTip(emoji);
    EXPECT_EQ(tray->ToolTip(), emoji.left(63)); // 61 letters and the whole globe
}

TEST(NotifyIconDataTip, BytesAreCutOnACharacterBoundaryAndTerminated) {
    wv::NotifyIconData d;
    std::memset(d.szTip, 'x', sizeof d.szTip);
    // 40 two-byte characters are 80 bytes: only 31 whole ones (62 bytes) fit.
    const QString text = QString(QChar(0x0416)).repeated(40);
    d.SetTip(text);
    EXPECT_EQ(std::strlen(d.szTip), 62u);
    EXPECT_EQ(d.Tip(), text.left(31));
    // 61 ASCII bytes and a two-byte character: the character does not fit and is left out.
    d.SetTip(QString(61, QLatin1Char('a')) + QChar(0x0416));
    EXPECT_EQ(d.Tip(), QString(61, QLatin1Char('a')));
    for (int i = 61; i < 64; ++i)
        EXPECT_EQ(d.szTip[i], '\0') << i;
}

TEST_F(TrayIconTest, ImageReplacedInPlaceGoesOutWithTheNextTip) {
    tray->SetIcon(wv::LoadIconResource(QStringLiteral("OFFLINE")));
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    service.requests.clear();

    const QIcon online = wv::LoadIconResource(QStringLiteral("MAINICON"));
    tray->IconRef() = online;
    EXPECT_TRUE(service.requests.empty());
    tray->SetToolTip(QStringLiteral("10.1.2.3"));
    ASSERT_EQ(service.requests.size(), 1u);
    EXPECT_EQ(service.Last().kind, Kind::Modify);
    EXPECT_EQ(service.Last().data.hIcon.cacheKey(), online.cacheKey());
    EXPECT_EQ(service.Last().data.Tip(), QStringLiteral("10.1.2.3"));

    // Assigning the component's own image is no change.
    tray->SetIcon(tray->Icon());
    EXPECT_EQ(service.requests.size(), 1u);
}

TEST_F(TrayIconTest, MouseMessagesReachTheirEvents) {
    int clicks = 0, doubles = 0;
    QObject* sender = nullptr;
    tray->OnClick = [&](QObject* s) {
        ++clicks;
        sender = s;
    };
    tray->OnDblClick = [&](QObject* s) {
        ++doubles;
        sender = s;
    };
    tray->SetToolTip(QStringLiteral("t"));
    tray->SetActive(true);

    service.Click(514);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, tray.get());
    service.Click(514);
    service.Click(515); // a double click follows its first click
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 1);
    service.Click(513); // button down and others are ignored
    service.Click(516);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 1);

    // Unassigned events: nothing happens.
    tray->OnClick = nullptr;
    service.Click(514);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(wv::MessageBox::recorded().isEmpty());
}

TEST_F(TrayIconTest, RightClickWithoutMenuOrHandlerDoesNothing) {
    tray->SetToolTip(QStringLiteral("t"));
    tray->SetActive(true);
    const auto before = service.requests.size();
    service.Click(517);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(service.requests.size(), before);
    EXPECT_TRUE(wv::MessageBox::recorded().isEmpty());

    // A menu that is gone by the time of the click is no menu.
    auto* menu = new QMenu;
    tray->SetPopupMenu(menu);
    delete menu;
    service.Click(517);
    EXPECT_EQ(tray->PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, RightClickOpensTheMenuAtTheCursorThenCallsOnRightClick) {
    QMenu menu;
    menu.addAction(QStringLiteral("Options"));
    tray->SetPopupMenu(&menu);
    QStringList order;
    QPoint menuAt;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] { order << QStringLiteral("menu"); });
    // Close the menu as soon as it is up, from inside its own loop.
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (menu.isVisible()) {
            menuAt = menu.pos();
            menu.close();
        }
    });
    closer.start();
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    QPoint at;
    tray->OnRightClick = [&](QObject* s, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
        EXPECT_EQ(s, tray.get());
        EXPECT_FALSE(menu.isVisible());
        order << QStringLiteral("event");
        button = b;
        shift = m;
        at = QPoint(x, y);
    };
    tray->SetToolTip(QStringLiteral("t"));
    tray->SetActive(true);

    service.Click(517);
    closer.stop();
    EXPECT_EQ(order, QStringList({QStringLiteral("menu"), QStringLiteral("event")}));
    EXPECT_EQ(button, Qt::RightButton);
    EXPECT_EQ(shift, Qt::NoModifier);
    EXPECT_EQ(at, QCursor::pos());
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(TrayIconTest, DestroyRemovesTheIconAndUnhooksTheApplication) {
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    EXPECT_EQ(app.OnMinimizeOwner(), tray.get());
    EXPECT_EQ(app.OnRestoreOwner(), tray.get());
    EXPECT_TRUE(service.HasAvailabilityHandler());
    tray.reset();
    ASSERT_EQ(service.Count(Kind::Delete), 1);
    EXPECT_EQ(service.Last().data.Tip(), QStringLiteral("Offline"));
    EXPECT_FALSE(app.HasOnMinimize());
    EXPECT_FALSE(app.HasOnRestore());
    EXPECT_FALSE(service.HasAvailabilityHandler());

    // The application goes on without it: minimizing now leaves a taskbar entry.
    form.show();
    app.Minimize();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    service.SetAvailable(true); // reaches nobody
}

TEST_F(TrayIconTest, DestroyLeavesAHandlerInstalledByOthersAlone) {
    int calls = 0;
    app.SetOnMinimize([&] { ++calls; });
    tray.reset(); // inactive: no delete request
    EXPECT_EQ(service.Count(Kind::Delete), 0);
    EXPECT_TRUE(app.HasOnMinimize());
    app.Minimize();
    EXPECT_EQ(calls, 1);
}

TEST_F(TrayIconTest, MinimizeHidesTheWindowOnlyWhileActive) {
    form.show();
    // Inactive: the taskbar entry stays.
    app.Minimize();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    app.Restore();
    EXPECT_FALSE(form.windowState() & Qt::WindowMinimized);

    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    app.Minimize();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(app.IsMinimized());
    app.Restore();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(app.IsMinimized());

    // The window's own minimize button goes the same way.
    form.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(app.IsMinimized());
    EXPECT_TRUE(wv::MessageBox::recorded().isEmpty());
}

TEST_F(TrayIconTest, WithoutNotificationAreaMinimizeGoesToTheTaskbar) {
    service.available = false;
    service.answer = false; // the add is refused, which is no error
    form.show();
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    EXPECT_TRUE(tray->Active());
    app.Minimize();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(wv::MessageBox::recorded().isEmpty());
}

TEST_F(TrayIconTest, NotificationAreaAppearingLaterGetsTheIcon) {
    service.available = false;
    service.answer = false;
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    ASSERT_EQ(service.Count(Kind::Add), 1);

    service.answer = true;
    service.SetAvailable(true);
    EXPECT_EQ(service.Count(Kind::Add), 2);
    EXPECT_EQ(service.Last().data.Tip(), QStringLiteral("Offline"));

    // Inactive icons are not brought back.
    tray->SetActive(false);
    service.SetAvailable(false);
    service.SetAvailable(true);
    EXPECT_EQ(service.Count(Kind::Add), 2);
}

TEST_F(TrayIconTest, NotificationAreaVanishingBringsAHiddenProgramToTheTaskbar) {
    form.show();
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    app.Minimize();
    ASSERT_FALSE(form.isVisible());
    service.SetAvailable(false);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
}

TEST_F(TrayIconTest, FailuresAreReportedWithTheOperationsName) {
    service.throwOnRequests = 1;
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    EXPECT_TRUE(tray->Active()); // keeps the new value
    EXPECT_EQ(wv::MessageBox::takeRecorded(),
              QStringList{QStringLiteral("Error in TTrayIcon.SetActive")});

    service.throwOnRequests = 1;
    EXPECT_FALSE(tray->ModifyIcon());
    EXPECT_EQ(wv::MessageBox::takeRecorded(),
              QStringList{QStringLiteral("Error in TTrayIcon.ModifyIcon")});

    // A record that fails half way: the fields after the failure keep their old values and
    // the modify request still goes out with it.
    service.requests.clear();
    tray->FailFillAfterFields(6); // the picture and the tip are not reached
    tray->SetToolTip(QStringLiteral("10.1.2.3"));
    EXPECT_EQ(wv::MessageBox::takeRecorded(),
              QStringList{QStringLiteral("Error in TTrayIcon.FillDataStructure")});
    ASSERT_EQ(service.requests.size(), 1u);
    EXPECT_EQ(service.Last().kind, Kind::Modify);
    EXPECT_EQ(service.Last().data.Tip(), QStringLiteral("Offline"));
    EXPECT_EQ(tray->ToolTip(), QStringLiteral("10.1.2.3"));

    service.throwOnRequests = 1;
    tray.reset();
    EXPECT_EQ(wv::MessageBox::takeRecorded(),
              QStringList{QStringLiteral("Error in TTrayIcon.destroy")});
    EXPECT_FALSE(app.HasOnMinimize()); // unhooked all the same
    EXPECT_FALSE(app.HasOnRestore());
}

TEST_F(TrayIconTest, ShowDesigningHasNoEffectAtRunTime) {
    EXPECT_FALSE(tray->Designing());
    tray->SetShowDesigning(true);
    EXPECT_FALSE(tray->ShowDesigning());
    EXPECT_TRUE(service.requests.empty());
}

TEST_F(TrayIconTest, TheMenuMayEndTheTrayIconWhileItIsOpen) {
    QMenu menu;
    QAction* exit = menu.addAction(QStringLiteral("Exit"));
    tray->SetPopupMenu(&menu);
    bool rightClick = false;
    tray->OnRightClick = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        rightClick = true;
    };
    QObject::connect(exit, &QAction::triggered, [&] { tray.reset(); });
    QTimer::singleShot(20, &menu, [&] { exit->trigger(); });
    QTimer::singleShot(40, &menu, [&] { menu.close(); });
    tray->SetToolTip(QStringLiteral("t"));
    tray->SetActive(true);
    service.Click(517);
    EXPECT_EQ(tray, nullptr);
    EXPECT_FALSE(rightClick);
    EXPECT_EQ(service.Count(Kind::Delete), 1);
}

TEST(QtTrayService, ActivationsBecomeMouseMessagesFromTheEventLoop) {
    wv::MessageBox::startRecording();
    wv::TApplication app;
    wv::QtTrayService service;
    QObject owner;
    auto* tray = new wv::TTrayIcon(&owner, app, service);
    QStringList seen;
    tray->OnClick = [&](QObject*) { seen << QStringLiteral("click"); };
    tray->OnDblClick = [&](QObject*) { seen << QStringLiteral("double"); };
    tray->OnRightClick = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        seen << QStringLiteral("right");
    };
    tray->SetIcon(wv::LoadIconResource(QStringLiteral("OFFLINE")));
    tray->SetToolTip(QStringLiteral("Offline"));
    tray->SetActive(true);
    EXPECT_EQ(service.TrayIcon().toolTip(), QStringLiteral("Offline"));
    EXPECT_FALSE(service.TrayIcon().icon().isNull());
    // A status change: the picture replaced in place, then the tip sends both.
    const qint64 offlineKey = service.TrayIcon().icon().cacheKey();
    tray->IconRef() = wv::LoadIconResource(QStringLiteral("MAINICON"));
    tray->SetToolTip(QStringLiteral("203.0.113.5"));
    EXPECT_EQ(service.TrayIcon().toolTip(), QStringLiteral("203.0.113.5"));
    EXPECT_NE(service.TrayIcon().icon().cacheKey(), offlineKey);

    QSystemTrayIcon& qt = service.TrayIcon();
    emit qt.activated(QSystemTrayIcon::Trigger);
    emit qt.activated(QSystemTrayIcon::DoubleClick);
    emit qt.activated(QSystemTrayIcon::MiddleClick);
    emit qt.activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(seen.isEmpty()); // queued
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, QStringList({QStringLiteral("click"), QStringLiteral("double"),
                                 QStringLiteral("right")}));

    // Once removed, the icon reports nothing.
    tray->SetActive(false);
    emit qt.activated(QSystemTrayIcon::Trigger);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen.size(), 3);
    delete tray;
    EXPECT_TRUE(wv::MessageBox::takeRecorded().isEmpty());
    wv::MessageBox::stopRecording();
}

} // namespace
