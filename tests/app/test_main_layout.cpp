// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The main window's layout, menus and the commands that open windows.
#include "MainWindowFixture.h"

#include "shell/HistoryView.h"
#include "shell/uniHelp.h"
#include "shell/uniabout.h"

#include <QAccessible>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace wv::test {

class LayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeFile("Vanewire.ini", "[General]\nMinimizeAtStartup=0\n");
        create();
        frm->ShowAfterCreate();
        // Each page is laid out once it has been shown.
        for (int i = ui().PageControl1->count() - 1; i >= 0; --i) {
            ui().PageControl1->setCurrentIndex(i);
            QCoreApplication::processEvents();
        }
    }
    // Closes the next modal window once it shows, and tells what it was.
    void closeNextModal(QString* title) {
        QTimer::singleShot(0, [title] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                *title = w->windowTitle();
                w->close();
            }
        });
    }
};

TEST_F(LayoutTest, WindowFrameAndPages) {
    EXPECT_EQ(frm->windowTitle(), "Wirevane");
    // The size drawn for (345 x 275 under the menu bar), or more where the font needs it; it
    // may grow but not shrink.
    EXPECT_GE(ui().centralwidget->width(), 345);
    EXPECT_GE(ui().centralwidget->height(), 275);
    EXPECT_EQ(ui().PageControl1->size(), ui().centralwidget->size());
    EXPECT_EQ(frm->size(), frm->minimumSize());
    EXPECT_GT(frm->maximumWidth(), frm->width());
    EXPECT_GT(frm->maximumHeight(), frm->height());
    EXPECT_TRUE(frm->windowFlags() & Qt::WindowMinimizeButtonHint);
    ASSERT_EQ(ui().PageControl1->count(), 4);
    EXPECT_EQ(ui().PageControl1->tabText(0), "Status");
    EXPECT_EQ(ui().PageControl1->tabText(1), "Log");
    EXPECT_EQ(ui().PageControl1->tabText(2), "Options");
    EXPECT_EQ(ui().PageControl1->tabText(3), "History");
    EXPECT_EQ(ui().PageControl1->currentWidget(), ui().tsStatus);
    QTabBar* tabs = ui().PageControl1->tabBar();
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width()) << "every tab shows";
}

TEST_F(LayoutTest, CaptionsHintsAndPlaces) {
    EXPECT_EQ(ui().gboxIPList->title(), "&IP's List");
    EXPECT_EQ(ui().gboxIPList->toolTip(), "Click REFRESH after change");
    EXPECT_EQ(ui().gboxIPList->width(), 161);
    EXPECT_EQ(ui().clbIP->toolTip(), "Mark local address");
    EXPECT_EQ(ui().GroupBox1->title(), "Current status:");
    EXPECT_EQ(ui().gboxWay->title(), "Way of determination");
    EXPECT_EQ(ui().gboxWay->toolTip(), "Way of determination of  connection");
    EXPECT_GE(ui().gboxWay->width(), 145);
    EXPECT_GE(ui().gboxWay->height(), 97);
    EXPECT_EQ(ui().rbList->text(), "IP's Li&st");
    EXPECT_EQ(ui().rbLocalIP->text(), "&Local IP");
    EXPECT_GT(ui().rbLocalIP->y(), ui().rbList->y());
    EXPECT_EQ(ui().rbInternet->text(), "Internet chec&k");
    EXPECT_GT(ui().rbInternet->y(), ui().rbLocalIP->y());
    EXPECT_TRUE(ui().rbInternet->toolTip().contains("http://network-test.debian.org/nm every 30 s"))
        << ui().rbInternet->toolTip().toStdString();
    EXPECT_EQ(ui().btnSignIn->text(), "Open sign-in page");
    EXPECT_TRUE(ui().btnSignIn->isHidden());
    EXPECT_GT(ui().Label3->font().pointSizeF(), frm->font().pointSizeF());

    EXPECT_EQ(ui().sbtnFindIP->text(), "&IP");
    EXPECT_EQ(ui().sbtnFindIP->toolTip(), "Seek this IP");
    EXPECT_TRUE(ui().cboxIP->isEditable());
    EXPECT_EQ(ui().cboxIP->currentText(), "");
    EXPECT_EQ(ui().lblDate->text(), "&Date");
    EXPECT_EQ(ui().lblDate->buddy(), ui().dedDate);
    EXPECT_TRUE(ui().dedDate->calendarPopup());
    EXPECT_EQ(ui().cbxNext->text(), "&Next");
    EXPECT_EQ(ui().cbxNext->toolTip(), "Seek next or from first record");
    EXPECT_FALSE(ui().cbxNext->isChecked());
    EXPECT_EQ(ui().cbxWithDate->text(), "&with Date");
    EXPECT_EQ(ui().cbxWithDate->toolTip(), "Seek with Date or not");
    for (QWidget* hidden :
         {static_cast<QWidget*>(ui().lblTime), static_cast<QWidget*>(ui().lblMessage),
          static_cast<QWidget*>(ui().editTime), static_cast<QWidget*>(ui().editMessage)})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    ui().PageControl1->setCurrentIndex(1); // a page is laid out once shown
    QCoreApplication::processEvents();
    EXPECT_GE(ui().DBGrid->height(), 199);
    EXPECT_GE(ui().DBGrid->geometry().bottom(), ui().tsLog->height() - 2) << "at the bottom edge";
    EXPECT_GE(ui().DBGrid->width(), ui().tsLog->width() - 2) << "full width";

    EXPECT_EQ(ui().cbStartup->text(), "&Load at Startup");
    EXPECT_EQ(ui().cbStartup->toolTip(), "Load of program at startup");
    EXPECT_EQ(ui().cbMinimizeAtStartup->text(), "&Minimize at Startup");
    EXPECT_GT(ui().cbMinimizeAtStartup->y(), ui().cbStartup->y());
}

TEST_F(LayoutTest, CaptionsFitTheirControls) {
    for (QAbstractButton* b : frm->findChildren<QAbstractButton*>()) {
        // A button kept hidden (the sign-in page's) is laid out when it shows.
        if (b->text().isEmpty() || b->isHidden() || qobject_cast<QToolButton*>(b))
            continue;
        EXPECT_LE(b->sizeHint().width(), b->width() + 2) << b->text().toStdString();
    }
}

TEST_F(LayoutTest, TheGridAndTheChartTakeTheRoomOfAnEnlargedWindow) {
    const QSize before = frm->size();
    frm->resize(before.width() - 50, before.height() - 50);
    EXPECT_EQ(frm->size(), before) << "never smaller than it opens";
    QTabWidget* pages = ui().PageControl1;
    QWidget* chart = frm->HistoryView()->Chart();
    struct Grows {
        QWidget* page;
        QWidget* widget;
    } const cases[] = {{ui().tsLog, ui().DBGrid}, {frm->tsHistory(), chart}};
    QList<QSize> small;
    for (const Grows& c : cases) {
        pages->setCurrentWidget(c.page);
        QCoreApplication::processEvents();
        small << c.widget->size();
    }
    frm->resize(before + QSize(300, 200));
    for (int i = 0; i < 2; ++i) {
        pages->setCurrentWidget(cases[i].page);
        QCoreApplication::processEvents();
        EXPECT_GE(cases[i].widget->width(), small[i].width() + 290) << i;
        EXPECT_GE(cases[i].widget->height(), small[i].height() + 100) << i;
    }
}

TEST_F(LayoutTest, PlaceAndSizeAreRememberedAndRestoredOnAScreenThatShowsThem) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize opened = frm->size();
    const QRect chosen(screen.left() + 20, screen.top() + 30, opened.width() + 120,
                       opened.height() + 80);
    frm->setGeometry(chosen);
    frm->SaveAll();
    const QByteArray ini = fileBytes("Vanewire.ini");
    EXPECT_TRUE(ini.contains("WindowWidth=" + QByteArray::number(chosen.width()))) << ini.data();
    EXPECT_TRUE(ini.contains("MinimizeAtStartup=0")) << "the other keys stay";

    struct Case {
        const char* what;
        QByteArray keys;
        QRect expected; // empty: centred at the size it opens with
    } const cases[] = {
        {"as saved", ini, chosen},
        {"off every screen",
         "[General]\nMinimizeAtStartup=0\nWindowLeft=-5000\nWindowTop=40\n"
         "WindowWidth=500\nWindowHeight=400\n",
         QRect()},
        {"too small",
         "[General]\nMinimizeAtStartup=0\nWindowLeft=10\nWindowTop=20\n"
         "WindowWidth=50\nWindowHeight=40\n",
         QRect(QPoint(10, 20), opened)},
        {"nothing stored", "[General]\nMinimizeAtStartup=0\n", QRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app.SetMainForm(nullptr);
        frm.reset();
        writeFile("Vanewire.ini", c.keys);
        create();
        frm->ShowAfterCreate();
        QCoreApplication::processEvents();
        if (c.expected.isEmpty()) {
            EXPECT_EQ(frm->size(), opened);
            EXPECT_LE((frm->geometry().center() - screen.center()).manhattanLength(), 4);
        } else {
            EXPECT_EQ(frm->geometry(), c.expected);
        }
    }
}

TEST_F(LayoutTest, PageMnemonicsAreUniqueAndAvoidTheMenus) {
    QSet<int> menuKeys;
    for (QAction* a : ui().MainMenu1->actions())
        menuKeys << int(QKeySequence::mnemonic(a->text())[0].key());
    QTabWidget* pages = ui().PageControl1;
    for (int page = 0; page < pages->count(); ++page) {
        QSet<int> pageKeys;
        for (QObject* o : pages->widget(page)->findChildren<QObject*>()) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(o))
                text = b->text();
            else if (auto* l = qobject_cast<QLabel*>(o))
                text = l->buddy() ? l->text() : QString();
            else if (auto* g = qobject_cast<QGroupBox*>(o))
                text = g->title();
            const QKeySequence keys = QKeySequence::mnemonic(text);
            if (keys.isEmpty())
                continue;
            const int key = int(keys[0].key());
            EXPECT_FALSE(pageKeys.contains(key)) << text.toStdString() << " twice on a page";
            pageKeys << key;
            EXPECT_FALSE(menuKeys.contains(key)) << text.toStdString() << " clashes with the menu";
        }
    }
}

TEST_F(LayoutTest, EnterSeeksF3SeeksTheNextAndF1AndCtrlQRunTheirCommands) {
    QApplication::setActiveWindow(frm.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    ui().PageControl1->setCurrentWidget(ui().tsLog);
    ui().cboxIP->setEditText("192.0.2.99");
    ui().cboxIP->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(MessageBox::recorded().size(), 1)
        << "Enter searched (and found nothing): " << MessageBox::recorded().join("|").toStdString();
    EXPECT_TRUE(MessageBox::takeRecorded().front().contains("192.0.2.99 not found"));
    ui().PageControl1->setCurrentWidget(ui().tsOptions);
    QTest::keyClick(frm.get(), Qt::Key_F3);
    EXPECT_EQ(ui().PageControl1->currentWidget(), ui().tsLog);
    EXPECT_TRUE(ui().cbxNext->isChecked()) << "F3 seeks the next match";
    EXPECT_EQ(MessageBox::takeRecorded().size(), 1);

    QString title;
    closeNextModal(&title);
    QTest::keyClick(frm.get(), Qt::Key_F1);
    EXPECT_EQ(title, "Help");
    EXPECT_EQ(ui().mnuExit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QApplication::setActiveWindow(frm.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    QTest::keyClick(frm.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(frm->ExitAllowed()) << "Ctrl+Q exits as Exit does";
}

// A 14-point desktop font: the window opens larger and every caption still fits.
TEST_F(MainWindowTest, NothingClipsWithAFourteenPointFont) {
    const QFont saved = QApplication::font();
    QFont large = saved;
    large.setPointSize(14);
    QApplication::setFont(large);
    writeFile("Vanewire.ini", "[General]\nMinimizeAtStartup=0\n");
    create();
    frm->ShowAfterCreate();
    QTabWidget* pages = ui().PageControl1;
    for (int i = pages->count() - 1; i >= 0; --i) {
        pages->setCurrentIndex(i);
        QCoreApplication::processEvents();
        for (QWidget* w : pages->widget(i)->findChildren<QWidget*>()) {
            if (w->isHidden() || w->window() != frm.get())
                continue;
            SCOPED_TRACE(w->objectName().toStdString());
            auto* b = qobject_cast<QAbstractButton*>(w);
            auto* g = qobject_cast<QGroupBox*>(w);
            auto* l = qobject_cast<QLabel*>(w);
            if (b && !b->text().isEmpty()) {
                EXPECT_LE(b->sizeHint().width(), b->width() + 2);
            } else if (g) {
                EXPECT_LE(QFontMetrics(g->font()).horizontalAdvance(g->title()), g->width());
            } else if (l && !l->wordWrap()) {
                EXPECT_LE(l->minimumSizeHint().width(), l->width() + 1);
            }
        }
    }
    QTabBar* tabs = pages->tabBar();
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width());
    EXPECT_GT(frm->width(), 345);
    app.SetMainForm(nullptr);
    frm.reset();
    QApplication::setFont(saved);
}

TEST_F(LayoutTest, MenusHoldTheirCommands) {
    const QList<QAction*> bar = ui().MainMenu1->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->text(), "&Exit");
    EXPECT_EQ(bar[1]->text(), "&Refresh");
    EXPECT_EQ(bar[2]->text(), "&Help");
    EXPECT_EQ(bar[3]->text(), "&About");
    for (QAction* a : bar)
        EXPECT_EQ(a->menu(), nullptr) << "no submenus";
    const QList<QAction*> popup = frm->PopupMenu1()->actions();
    ASSERT_EQ(popup.size(), 5);
    EXPECT_EQ(popup[0]->text(), "Open sign-in page");
    EXPECT_FALSE(popup[0]->isVisible()) << "only while a captive portal asks for a sign-in";
    EXPECT_EQ(popup[1]->text(), "Options");
    EXPECT_EQ(popup[2]->text(), "About");
    EXPECT_TRUE(popup[3]->isSeparator());
    EXPECT_EQ(popup[4]->text(), "Exit");
    EXPECT_EQ(frm->TrayIcon1()->PopupMenu(), frm->PopupMenu1());
}

TEST_F(LayoutTest, AccessKeyRunsRefreshDirectly) {
    resolver.setAddresses({"192.0.2.7"});
    ASSERT_EQ(ui().clbIP->count(), 0);
    QApplication::setActiveWindow(frm.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    QTest::keyClick(frm.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(ui().clbIP->count(), 1) << "Alt+R refreshed the address list";
    EXPECT_TRUE(QFile::exists(folder + "Vanewire.ini"));
}

TEST_F(LayoutTest, CtrlTabFromEveryControlGoesToTheNextPage) {
    QApplication::setActiveWindow(frm.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    QTabWidget* pages = ui().PageControl1;
    for (int page = 0; page < pages->count(); ++page) {
        for (QWidget* control : pages->widget(page)->findChildren<QWidget*>()) {
            if (!(control->focusPolicy() & Qt::TabFocus) || control->focusProxy())
                continue;
            pages->setCurrentIndex(page);
            control->setFocus();
            QCoreApplication::processEvents();
            if (QApplication::focusWidget() != control)
                continue; // a control hidden on its page
            SCOPED_TRACE(control->objectName().toStdString() + " of " +
                         pages->tabText(page).toStdString());
            QTest::keyClick(control, Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(pages->currentIndex(), (page + 1) % pages->count());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                            Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(pages->currentIndex(), page);
        }
    }
}

TEST_F(LayoutTest, AboutAndHelpOpenAsNewModalWindowsEachTime) {
    QString title;
    closeNextModal(&title);
    frm->mnuAboutClick();
    EXPECT_EQ(title, "About Wirevane");
    title.clear();
    closeNextModal(&title);
    frm->mnuPopUpAbout()->trigger();
    EXPECT_EQ(title, "About Wirevane");
    title.clear();
    closeNextModal(&title);
    frm->mnuHelpClick();
    EXPECT_EQ(title, "Help");
    QCoreApplication::processEvents();
    EXPECT_TRUE(frm->findChildren<QDialog*>().isEmpty()) << "each window is destroyed after use";
    EXPECT_TRUE(MessageBox::recorded().isEmpty());
}

TEST_F(LayoutTest, OptionsOnAShownWindowKeepsPlaceAndPage) {
    ui().PageControl1->setCurrentIndex(1);
    const QRect before = frm->geometry();
    frm->mnuOptions()->trigger();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(frm->geometry(), before);
    EXPECT_EQ(ui().PageControl1->currentIndex(), 1);
    EXPECT_TRUE(frm->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(LayoutTest, MinimizeHidesIntoTheTrayAndDoubleClickRestores) {
    ui().PageControl1->setCurrentIndex(2);
    // What the window manager does for the title bar's minimize button.
    frm->setWindowState(frm->windowState() | Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frm->isVisible());
    tray.Click(515);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->isMinimized());
    EXPECT_EQ(ui().PageControl1->currentIndex(), 2);
}

} // namespace wv::test
