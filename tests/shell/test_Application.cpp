// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/Application.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(Application, TitleAndIconReachQtAndTheMainWindow) {
    wv::TApplication app;
    QWidget form;
    app.SetMainForm(&form);
    app.SetTitle(QStringLiteral("Wirevane"));
    EXPECT_EQ(app.Title(), QStringLiteral("Wirevane"));
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Wirevane"));

    const QIcon offline = wv::LoadIconResource(QStringLiteral("OFFLINE"));
    app.SetIcon(offline);
    EXPECT_EQ(QApplication::windowIcon().cacheKey(), offline.cacheKey());
    EXPECT_EQ(form.windowIcon().cacheKey(), offline.cacheKey());

    // A main window set later gets the icon too.
    QWidget other;
    app.SetMainForm(&other);
    EXPECT_EQ(other.windowIcon().cacheKey(), offline.cacheKey());
}

TEST(Application, NotificationsReplaceAndAreRemovedOnlyByTheirOwner) {
    wv::TApplication app;
    QWidget form;
    app.SetMainForm(&form);
    form.show();
    int first = 0, second = 0, restored = 0;
    int ownerA = 0, ownerB = 0;
    app.SetOnMinimize([&] { ++first; }, &ownerA);
    app.SetOnMinimize([&] { ++second; }, &ownerB);
    app.SetOnRestore([&] { ++restored; }, &ownerB);
    app.ClearOnMinimize(&ownerA); // no longer A's: stays
    app.Minimize();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);

    app.Restore();
    app.Restore(); // not minimized any more: no second notification
    EXPECT_EQ(restored, 1);

    app.ClearOnMinimize(&ownerB);
    app.ClearOnRestore(&ownerB);
    EXPECT_FALSE(app.HasOnMinimize());
    EXPECT_FALSE(app.HasOnRestore());
}

TEST(Application, WithoutHandlerMinimizeLeavesATaskbarEntry) {
    wv::TApplication app;
    QWidget form;
    app.SetMainForm(&form);
    // A minimized start: the window was never shown.
    app.Minimize();
    EXPECT_TRUE(app.IsMinimized());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    app.Restore();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(app.IsMinimized());
}

TEST(Application, RestoringTheWindowFromTheTaskbarRestoresTheApplication) {
    wv::TApplication app;
    QWidget form;
    app.SetMainForm(&form);
    form.show();
    int restored = 0;
    app.SetOnRestore([&] { ++restored; });
    form.setWindowState(Qt::WindowMinimized); // the window's minimize button
    EXPECT_TRUE(app.IsMinimized());
    form.setWindowState(Qt::WindowNoState); // the taskbar entry clicked
    EXPECT_FALSE(app.IsMinimized());
    EXPECT_EQ(restored, 1);
}

// With a main form set, the message loop ends only once the close request allowed it: Qt's own
// quit (posted after its last window closed) is dropped, and the platform's (a session manager's
// "die", delivered at once) goes to the quit-request handler instead of ending the loop.
TEST(Application, OnlyAnAllowedQuitEndsTheLoop) {
    wv::TApplication app;
    QWidget form; // hidden, as in the notification area
    app.SetMainForm(&form);
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    int requests = 0;
    app.SetOnQuitRequest([&] { ++requests; });
    QObject scope;
    int stepsRun = 0;
    const std::function<void()> steps[] = {
        [] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit)); },
        [] { QCoreApplication::quit(); }, // the platform's request
        [&] { EXPECT_EQ(requests, 1); },
        [&] {
            app.AllowQuit();
            QCoreApplication::quit();
        },
        [] { QCoreApplication::exit(2); }, // reached only when the allowed quit did not end it
    };
    for (int i = 0; i < 5; ++i)
        QTimer::singleShot(10 * i, &scope, [&, i] {
            ++stepsRun;
            steps[i]();
        });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(stepsRun, 4);
    EXPECT_EQ(requests, 1);
    app.SetMainForm(nullptr);
}

TEST(Icons, EachHasBothSizesInSixteenColours) {
    for (const QString& name : {QStringLiteral("MAINICON"), QStringLiteral("OFFLINE")}) {
        const QIcon icon = wv::LoadIconResource(name);
        ASSERT_FALSE(icon.isNull()) << name.toStdString();
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(32, 32))) << name.toStdString();
        EXPECT_TRUE(sizes.contains(QSize(16, 16))) << name.toStdString();
        for (const int s : {32, 16}) {
            const QImage img(QStringLiteral(":/icons/%1-%2.png").arg(name).arg(s));
            EXPECT_EQ(img.size(), QSize(s, s));
            EXPECT_GT(img.colorCount(), 1) << "not a palette picture";
            EXPECT_LE(img.colorCount(), 16);
        }
    }
    // Online and offline must look different.
    const QImage on = wv::LoadIconResource(QStringLiteral("MAINICON")).pixmap(32).toImage();
    const QImage off = wv::LoadIconResource(QStringLiteral("OFFLINE")).pixmap(32).toImage();
    EXPECT_NE(on, off);
    EXPECT_TRUE(wv::LoadIconResource(QStringLiteral("NOSUCHICON")).isNull());
}

} // namespace
