// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The tray icon on the different kinds of notification area: an XEmbed tray (double click,
// opens a menu it was given), a StatusNotifierItem panel (single Activate, draws the menu
// itself or asks the program for it) and Wayland (no cursor position).
#include "shell/Application.h"
#include "shell/MessageBox.h"
#include "shell/TrayIcon.h"
#include "support/FakeTrayService.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using wv::FakeTrayService;

namespace {

class TrayHostsTest : public ::testing::Test {
protected:
    void SetUp() override {
        wv::MessageBox::startRecording();
        app.SetMainForm(&form);
        tray = std::make_unique<wv::TTrayIcon>(&owner, app, service);
        menu.addAction(QStringLiteral("Options"));
        QObject::connect(&menu, &QMenu::aboutToShow, [this] {
            ++menuOpened;
            formVisibleWithMenu = form.isVisible();
        });
        // Closes the menu from inside its own loop as soon as it is up.
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (menu.isVisible())
                menu.close();
        });
        tray->OnRightClick = [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int x,
                                    int y) {
            events << QStringLiteral("right");
            rightAt = QPoint(x, y);
            menuVisibleAtRightClick = menu.isVisible();
        };
    }
    void TearDown() override {
        closer.stop();
        tray.reset();
        EXPECT_TRUE(wv::MessageBox::takeRecorded().isEmpty());
        wv::MessageBox::stopRecording();
    }
    void Activate() {
        tray->SetToolTip(QStringLiteral("Offline"));
        tray->SetActive(true);
    }

    QObject owner;
    QWidget form;
    wv::TApplication app;
    FakeTrayService service;
    std::unique_ptr<wv::TTrayIcon> tray;
    QMenu menu;
    QTimer closer;
    int menuOpened = 0;
    bool formVisibleWithMenu = false;
    bool menuVisibleAtRightClick = true;
    QPoint rightAt;
    QStringList events;
};

TEST_F(TrayHostsTest, ClicksBecomeEventsByKindOfArea) {
    struct Case {
        const char* name;
        bool singleClick; // a D-Bus panel's Activate
        bool withOnClick;
        int message;
        QStringList expected;
    };
    const QString click = QStringLiteral("click");
    const QString dbl = QStringLiteral("double");
    const Case cases[] = {
        {"XEmbed click", false, true, 514, {click}},
        {"XEmbed double click", false, true, 515, {dbl}},
        {"XEmbed click, no OnClick", false, false, 514, {}},
        {"D-Bus Activate", true, true, 514, {click, dbl}},
        {"D-Bus Activate, no OnClick", true, false, 514, {dbl}},
        {"D-Bus double click", true, true, 515, {dbl}},
    };
    Activate();
    for (const Case& c : cases) {
        service.singleClick = c.singleClick;
        QStringList seen;
        tray->OnClick = nullptr;
        if (c.withOnClick)
            tray->OnClick = [&](QObject*) { seen << click; };
        tray->OnDblClick = [&](QObject*) { seen << dbl; };
        service.Click(c.message);
        EXPECT_EQ(seen, c.expected) << c.name;
    }
}

TEST_F(TrayHostsTest, AnActivateThatEndsTheTrayIconGoesNoFurther) {
    service.singleClick = true;
    Activate();
    bool doubled = false;
    tray->OnClick = [&](QObject*) { tray.reset(); };
    tray->OnDblClick = [&](QObject*) { doubled = true; };
    service.Click(514);
    EXPECT_EQ(tray, nullptr);
    EXPECT_FALSE(doubled);
}

TEST_F(TrayHostsTest, TheMenuIsHandedToTheAreaAndTakenBackAtTheEnd) {
    tray->SetPopupMenu(&menu);
    EXPECT_EQ(service.menu, &menu);
    tray.reset();
    EXPECT_EQ(service.menu, nullptr);
}

TEST_F(TrayHostsTest, TheMenuOpensOnceForEachRightClick) {
    struct Case {
        const char* name;
        bool opensMenu;    // the area opens the menu itself (XEmbed with a menu)
        bool pointerKnown; // false on Wayland
        int openedByIcon;  // times the tray icon itself opens the menu
    };
    const Case cases[] = {
        {"XEmbed, the area opens it", true, true, 0},
        {"D-Bus ContextMenu", false, true, 1},
        {"Wayland ContextMenu", false, false, 1},
    };
    tray->SetPopupMenu(&menu);
    Activate();
    closer.start();
    for (const Case& c : cases) {
        service.opensMenu = c.opensMenu;
        service.pointerKnown = c.pointerKnown;
        menuOpened = 0;
        events.clear();
        service.Click(517);
        QCoreApplication::processEvents();
        EXPECT_EQ(menuOpened, c.openedByIcon) << c.name;
        EXPECT_EQ(events, QStringList{QStringLiteral("right")}) << c.name;
        EXPECT_FALSE(menuVisibleAtRightClick) << c.name;
    }
}

TEST_F(TrayHostsTest, OnRightClickWaitsForTheMenuTheAreaOpened) {
    service.opensMenu = true;
    tray->SetPopupMenu(&menu);
    Activate();
    // As Qt does on an XEmbed tray: the menu pops up, then the right click is reported.
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(menu.isVisible());
    service.Click(517);
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(menuOpened, 1); // the area's own opening, not a second one
    menu.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(events, QStringList{QStringLiteral("right")});
    EXPECT_FALSE(menuVisibleAtRightClick);
    // Only once: the next close reports nothing more.
    menu.popup(QPoint(10, 10));
    menu.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(events.size(), 1);
}

TEST_F(TrayHostsTest, WithoutACursorPositionTheMenuOpensOverTheShownWindow) {
    service.pointerKnown = false;
    tray->SetPopupMenu(&menu);
    Activate();
    app.Minimize(); // hidden in the tray
    ASSERT_FALSE(form.isVisible());
    closer.start();
    service.Click(517);
    EXPECT_EQ(menuOpened, 1);
    EXPECT_TRUE(formVisibleWithMenu);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(app.IsMinimized());
    EXPECT_EQ(rightAt, form.mapToGlobal(QPoint(0, 0)));
}

} // namespace
