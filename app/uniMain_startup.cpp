// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Start-up, the close request and the ways the program really ends.
#include "app/uniMain.h"

#include "app/ClockWatch.h"
#include "app/ConnectionVerdict.h"
#include "app/Formats.h"
#include "app/LogSaveNotice.h"
#include "app/StartupValue.h"
#include "base/Bytes.h"
#include "base/Clock.h"
#include "base/ErrorReport.h"
#include "net/HttpInternetProbe.h"
#include "net/OnlineIP.h"
#include "platform/DesktopNotifier.h"
#include "platform/InstanceLock.h"
#include "shell/Application.h"
#include "shell/DBGrid.h"
#include "shell/MessageBox.h"
#include "shell/TrayIcon.h"
#include "shell/TrayService.h"
#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/SdfData.h"
#include "ui_uniMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>

#include <cstdio>
#include <utility>

namespace wv {

namespace {
// "<file>: <error>", unless the error's text already names the file.
std::string nameFileInError(const std::string& error, const std::string& file) {
    return error.find(file) != std::string::npos ? error : file + ": " + error;
}
} // namespace

TfrmMain::TfrmMain(TfrmMainEnv env, QWidget* parent)
    : QMainWindow(parent), env_(std::move(env)), ui_(std::make_unique<Ui::TfrmMain>()) {
    ui_->setupUi(this);
    // The desktop's font; the status word half as large again.
    QFont status = ui_->Label3->font();
    status.setPointSizeF(status.pointSizeF() * 1.5);
    ui_->Label3->setFont(status);
    showStatusWord(false);
    // Every page's tab shows in full: the window is made wide enough instead of scrolling tabs.
    ui_->PageControl1->tabBar()->setUsesScrollButtons(false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    // The date field writes dates as the user's locale does; the log's own format without one.
    if (QLocale().language() != QLocale::C)
        ui_->dedDate->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    // The text boxes inside the address and date fields are named as their fields.
    ui_->cboxIP->lineEdit()->setAccessibleName(ui_->cboxIP->accessibleName());
    if (auto* edit = ui_->dedDate->findChild<QLineEdit*>())
        edit->setAccessibleName(ui_->dedDate->accessibleName());
    ui_->sbtnFindIP->setIcon(QIcon(QStringLiteral(":/icons/FINDIP-16.png")));
    ui_->btnSignIn->hide(); // shown only while a captive portal asks for a sign-in
    auto makeProbe = env_.makeProbe ? env_.makeProbe : []() -> std::unique_ptr<InternetProbe> {
        return std::make_unique<HttpInternetProbe>();
    };
    verdict_ = new TConnectionVerdict(makeProbe, this);
    // A probe's answer that changes the verdict is shown and logged like a new reading. None
    // is written after "Stop of program".
    verdict_->OnChanged = [this] {
        if (!closing_ && onlineIP_)
            guarded([this] { OnlineIP1Changed(this); });
    };
    dataSource_ = new TLogTableModel(this);
    ui_->DBGrid->setModel(dataSource_);
    buildPopupMenu();
    connectHandlers();
    syncWay();
    setupHistory();
    setupKeys();
    GrowMinimumsToFit(this);
    // Opens at the size the layout was drawn for (345 x 275 below the menu bar), or larger when
    // the desktop's font needs the room; never smaller, and it may grow.
    const QSize drawn(345, 275 + ui_->MainMenu1->sizeHint().height());
    setMinimumSize(drawn.expandedTo(minimumSizeHint()));
    resize(minimumSize());
}

TfrmMain::~TfrmMain() {
    // Components go in reverse order of creation: no more polling, then the log (written
    // back if it changed), then the tray icon leaves the notification area.
    delete onlineIP_;
    onlineIP_ = nullptr;
    delete verdict_; // its probe, if any, is cancelled
    verdict_ = nullptr;
    dataSource_->SetDataSet(nullptr);
    try {
        table_.reset();
    } catch (...) {
        // The process is ending; there is nobody left to tell.
    }
    delete trayIcon_;
    trayIcon_ = nullptr;
}

void TfrmMain::buildPopupMenu() {
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    mnuSignIn_ = popupMenu_->addAction(tr("Open sign-in page"));
    mnuSignIn_->setObjectName(QStringLiteral("mnuSignIn"));
    mnuSignIn_->setVisible(false);
    mnuOptions_ = popupMenu_->addAction(tr("Options"));
    mnuOptions_->setObjectName(QStringLiteral("mnuOptions"));
    mnuPopUpAbout_ = popupMenu_->addAction(tr("About"));
    mnuPopUpAbout_->setObjectName(QStringLiteral("mnuPopUpAbout"));
    popupMenu_->addSeparator()->setObjectName(QStringLiteral("N2"));
    mnuPopUpExit_ = popupMenu_->addAction(tr("Exit"));
    mnuPopUpExit_->setObjectName(QStringLiteral("mnuPopUpExit"));
}

void TfrmMain::connectHandlers() {
    connect(ui_->mnuExit, &QAction::triggered, this, [this] { mnuExitClick(); });
    connect(ui_->mnuRefresh, &QAction::triggered, this,
            [this] { guarded([this] { mnuRefreshClick(); }); });
    connect(ui_->mnuHelp, &QAction::triggered, this, [this] { mnuHelpClick(); });
    connect(ui_->mnuAbout, &QAction::triggered, this, [this] { mnuAboutClick(); });
    connect(mnuOptions_, &QAction::triggered, this, [this] { mnuOptionsClick(); });
    connect(mnuSignIn_, &QAction::triggered, this, [this] { btnSignInClick(); });
    connect(ui_->btnSignIn, &QPushButton::clicked, this, [this] { btnSignInClick(); });
    // A way chosen by hand starts or stops the internet check's probes at once; the verdict
    // itself follows at the next reading or Refresh, as it always has.
    for (QRadioButton* way : {ui_->rbList, ui_->rbLocalIP, ui_->rbInternet})
        connect(way, &QRadioButton::toggled, this, [this] { syncWay(); });
    connect(mnuPopUpAbout_, &QAction::triggered, this, [this] { mnuAboutClick(); });
    connect(mnuPopUpExit_, &QAction::triggered, this, [this] { mnuPopUpExitClick(); });
    connect(ui_->cbStartup, &QCheckBox::toggled, this,
            [this] { guarded([this] { cbStartupClick(); }); });
    connect(ui_->sbtnFindIP, &QToolButton::clicked, this,
            [this] { guarded([this] { sbtnFindIPClick(); }); });
    connect(ui_->dedDate, &QDateEdit::dateChanged, this, [this] { dedDateChange(); });
    connect(ui_->DBGrid, &TDBGrid::gridDoubleClicked, this,
            [this] { guarded([this] { DBGridDblClick(); }); });
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages whichever control has the focus: the date
    // field, the grid and the period list would otherwise keep those keys to themselves.
    for (const auto& [keys, step] :
         {std::pair{QKeySequence::NextChild, 1}, std::pair{QKeySequence::PreviousChild, -1}}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, step] {
            QTabWidget* pages = ui_->PageControl1;
            pages->setCurrentIndex((pages->currentIndex() + step + pages->count()) %
                                   pages->count());
        });
    }
}

void TfrmMain::FormCreate() {
    exitAllowed_ = false;
    logPath_ = env_.files.logPath;
    // One copy per log: a later start hands over to the running copy before it touches anything.
    if (!claimLog())
        return;
    firstStart_ = !QFileInfo::exists(env_.files.settingsPath);
    SetLogFormats();
    ui_->dedDate->setDate(env_.clock.now().date());
    env_.application.SetIcon(LoadIconResource(QStringLiteral("OFFLINE")));

    trayIcon_ = new TTrayIcon(this, env_.application, env_.trayService);
    trayIcon_->SetIcon(LoadIconResource(QStringLiteral("OFFLINE")));
    trayIcon_->OnDblClick = [this](QObject* sender) { OnIconDblClick(sender); };
    trayIcon_->SetPopupMenu(popupMenu_);
    trayIcon_->SetToolTip(tr("Offline"));
    trayIcon_->SetActive(true);

    table_ = std::make_unique<TSdfDataSet>();
    table_->SetActive(false);
    table_->SetFirstLineAsSchema(true);
    dataSource_->SetDataSet(table_.get());
    table_->SetAfterOpen([this](TDataSet& t) { AfterTableOpen(t); });

    // The Log page tells where the log lives: beside the program or in the user's folders.
    const QString where = tr("Log file: %1").arg(QDir::toNativeSeparators(logPath_));
    ui_->DBGrid->setToolTip(where);
    ui_->PageControl1->setTabToolTip(ui_->PageControl1->indexOf(ui_->tsLog), where);
    // Saves that a kill interrupted left their temporary files; this copy owns the log now.
    removeLeftoverTempFiles(ToBytes(logPath_));
    try {
        ValidateLog(logPath_);
        table_->SetFileName(ToBytes(logPath_));
        table_->Open();
    } catch (const EFileError& e) {
        // Start-up ends with the error's own text, the file it concerns and, when the system
        // told why, the reason in plain words.
        std::string text = nameFileInError(e.what(), ToBytes(logPath_));
        if (const QString reason = FileErrorReasonText(e.Code()); !reason.isEmpty())
            text += "\n" + reason.toLocal8Bit().toStdString();
        throw EFileError(text, e.Code());
    } catch (const std::exception& e) {
        throw EFileError(nameFileInError(e.what(), ToBytes(logPath_)));
    }

    // A save that fails here (a full disk) is told and held like one while running; start-up
    // and monitoring go on.
    appendLogEntry(QStringLiteral("0.0.0.0"), QStringLiteral("Start of program"));
    saveLogHolding();
    wasOnline_ = false;
    iniPath_ = env_.files.settingsPath;

    onlineIP_ = new TOnlineIP(this, env_.resolver);
    onlineIP_->SetOnChanged([this](QObject* sender) { OnlineIP1Changed(sender); });
    setupClockWatch();
    GetIP();
    LoadAll();
    onlineIP_->SetEnabled(true);
    // The window's state is minimized until it is first shown. Kept as a mark rather than a
    // state of the never-shown window: X11 would carry that state over to the first showing.
    minimizedAtStart_ = startMinimized_;
    // Turning the box on runs its handler, which writes the value again with this copy's path.
    startingUp_ = true;
    ui_->cbStartup->setChecked(CheckLoadAtStartup(env_.runKeys));
    startingUp_ = false;
    ui_->cbMinimizeAtStartup->setChecked(startMinimized_);
    startedUp_ = true;
}

void TfrmMain::ShowAfterCreate() {
    if (showRequested_) {
        mnuOptionsClick(); // a later start asked for the window while this one was starting
        return;
    }
    if (minimizedAtStart_ && !(firstStart_ && !env_.trayService.IsAvailable())) {
        env_.application.Minimize();
        // A new user would see only the small icon: the first start says where it went.
        if (firstStart_ && notifier_)
            notifier_->Notify(
                QStringLiteral("Wirevane"),
                tr("Wirevane is running in the notification area. Click its icon to open it."));
        return;
    }
    // Shown at once, also on a first start without a notification area to hide in.
    placeFirstTime();
    show();
}

void TfrmMain::placeFirstTime() {
    if (placed_)
        return;
    placed_ = true;
    if (RestorePlace())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmMain::FormCloseQuery(QObject* /*sender*/, bool& CanClose) {
    CanClose = exitAllowed_;
    if (exitAllowed_) {
        // Later starts from now on wait for this copy to let go of the log.
        if (env_.instance)
            env_.instance->BeginEnding();
        // Both report their own failures; nothing may keep the program from ending.
        try {
            SaveAll();
        } catch (...) {
        }
        // The program is ending, so there is nobody to show a box to: a lost stop entry
        // (a full disk, say) is told on standard error.
        try {
            SaveInLog(QStringLiteral("0.0.0.0"), QStringLiteral("Stop of program"));
        } catch (const std::exception& e) {
            reportStopNotWritten(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            reportStopNotWritten(QStringLiteral("Unknown error"));
        }
    } else {
        env_.application.Minimize();
    }
}

void TfrmMain::reportStopNotWritten(const QString& reason) const {
    std::fprintf(stderr, "Wirevane: \"Stop of program\" could not be written to %s: %s\n",
                 logPath_.toLocal8Bit().constData(), reason.toLocal8Bit().constData());
    std::fflush(stderr);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    env_.application.AllowQuit();
    QCoreApplication::quit();
}

void TfrmMain::mnuExitClick() {
    exitAllowed_ = true;
    close();
}

void TfrmMain::mnuPopUpExitClick() {
    mnuExitClick();
}

void TfrmMain::WndProc(int message) {
    if (message != WM_QUERYENDSESSION)
        return;
    exitAllowed_ = true;
    // Nobody waits for a box while the session ends: failures go to standard error.
    MessageBox::setSessionEnding(true);
    close();
}

void TfrmMain::CommitSessionData() {
    if (exitAllowed_ || !startedUp_)
        return;
    // The session manager waits for this save, at a checkpoint and at the session's end alike:
    // a failure is told on standard error, not in a box that would hold the session up. (A log
    // that still cannot be saved is told in its box later, from the message loop.)
    const bool ending = MessageBox::sessionEnding();
    MessageBox::setSessionEnding(true);
    const auto restore = qScopeGuard([ending] { MessageBox::setSessionEnding(ending); });
    SaveAll();
    if (LogHeld())
        saveLogHolding();
}

void TfrmMain::EndSessionWithoutDisplay() {
    exitAllowed_ = true;
    MessageBox::setSessionEnding(true);
    if (closing_)
        return; // the close request already ran
    closing_ = true;
    bool canClose = true;
    FormCloseQuery(this, canClose);
}

} // namespace wv
