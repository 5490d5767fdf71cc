// The main window's layout, menus and the commands that open windows.
#include "MainWindowFixture.h"

#include "shell/uniHelp.h"
#include "shell/uniabout.h"

#include <QDialog>
#include <QMenuBar>
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
    EXPECT_EQ(ui().PageControl1->size(), QSize(345, 275));
    EXPECT_EQ(ui().centralwidget->size(), QSize(345, 275));
    EXPECT_FALSE(frm->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frm->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(frm->minimumSize(), frm->maximumSize()) << "single border, not resizable";
    ASSERT_EQ(ui().PageControl1->count(), 4);
    EXPECT_EQ(ui().PageControl1->tabText(0), "Status");
    EXPECT_EQ(ui().PageControl1->tabText(1), "Log");
    EXPECT_EQ(ui().PageControl1->tabText(2), "Options");
    EXPECT_EQ(ui().PageControl1->tabText(3), "History");
    EXPECT_EQ(ui().PageControl1->currentWidget(), ui().tsStatus);
}

TEST_F(LayoutTest, CaptionsHintsAndPlaces) {
    EXPECT_EQ(ui().gboxIPList->title(), "IP's List");
    EXPECT_EQ(ui().gboxIPList->toolTip(), "Click REFRESH after change");
    EXPECT_EQ(ui().gboxIPList->width(), 161);
    EXPECT_EQ(ui().clbIP->toolTip(), "Mark local address");
    EXPECT_EQ(ui().GroupBox1->title(), "Current status:");
    EXPECT_EQ(ui().gboxWay->title(), "Way of determination");
    EXPECT_EQ(ui().gboxWay->toolTip(), "Way of determination of  connection");
    EXPECT_EQ(ui().gboxWay->geometry(), QRect(16, 144, 145, 97));
    EXPECT_EQ(ui().rbList->text(), "IP's List");
    EXPECT_EQ(ui().rbList->geometry(), QRect(8, 24, 113, 17));
    EXPECT_EQ(ui().rbLocalIP->text(), "Local IP");
    EXPECT_EQ(ui().rbLocalIP->geometry(), QRect(8, 48, 113, 17));
    EXPECT_EQ(ui().rbInternet->text(), "Internet check");
    EXPECT_EQ(ui().rbInternet->geometry(), QRect(8, 72, 113, 17));
    EXPECT_TRUE(ui().rbInternet->toolTip().contains("http://network-test.debian.org/nm every 30 s"))
        << ui().rbInternet->toolTip().toStdString();
    EXPECT_EQ(ui().btnSignIn->text(), "Open sign-in page");
    EXPECT_TRUE(ui().btnSignIn->isHidden());
    EXPECT_EQ(ui().Label3->font().pixelSize(), 16);

    EXPECT_EQ(ui().sbtnFindIP->text(), "IP");
    EXPECT_EQ(ui().sbtnFindIP->toolTip(), "Seek this IP");
    EXPECT_EQ(ui().sbtnFindIP->geometry(), QRect(1, 1, 40, 25));
    EXPECT_TRUE(ui().cboxIP->isEditable());
    EXPECT_EQ(ui().cboxIP->currentText(), "");
    EXPECT_EQ(ui().lblDate->text(), "Date");
    EXPECT_EQ(ui().dedDate->geometry(), QRect(216, 0, 121, 21));
    EXPECT_TRUE(ui().dedDate->calendarPopup());
    EXPECT_EQ(ui().cbxNext->text(), "Next");
    EXPECT_EQ(ui().cbxNext->toolTip(), "Seek next or from first record");
    EXPECT_FALSE(ui().cbxNext->isChecked());
    EXPECT_EQ(ui().cbxWithDate->text(), "with Date");
    EXPECT_EQ(ui().cbxWithDate->toolTip(), "Seek with Date or not");
    for (QWidget* hidden :
         {static_cast<QWidget*>(ui().lblTime), static_cast<QWidget*>(ui().lblMessage),
          static_cast<QWidget*>(ui().editTime), static_cast<QWidget*>(ui().editMessage)})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    ui().PageControl1->setCurrentIndex(1); // a page is laid out once shown
    QCoreApplication::processEvents();
    EXPECT_EQ(ui().DBGrid->height(), 199);
    EXPECT_EQ(ui().DBGrid->geometry().bottom(), ui().tsLog->height() - 1) << "at the bottom edge";

    EXPECT_EQ(ui().cbStartup->text(), "Load at Startup");
    EXPECT_EQ(ui().cbStartup->toolTip(), "Load of program at startup");
    EXPECT_EQ(ui().cbStartup->geometry(), QRect(8, 8, 121, 17));
    EXPECT_EQ(ui().cbMinimizeAtStartup->text(), "Minimize at Startup");
    EXPECT_EQ(ui().cbMinimizeAtStartup->geometry(), QRect(8, 48, 121, 17));
}

TEST_F(LayoutTest, CaptionsFitTheirControls) {
    for (QAbstractButton* b : frm->findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty() || qobject_cast<QToolButton*>(b))
            continue;
        EXPECT_LE(b->sizeHint().width(), b->width() + 2) << b->text().toStdString();
    }
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
