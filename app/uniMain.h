// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/FileLocations.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QDate;
class QMenu;
class QTimer;

namespace Ui {
class TfrmMain;
}

namespace wv {

class Clock;
class DesktopNotifier;
class SleepWatch;
class SystemClocks;
class TClockWatch;
struct TClockEntry;
class THistory;
class THistoryFeed;
class THistoryView;
class HostResolver;
class InstanceLock;
class InternetProbe;
class RunKeyStore;
class TApplication;
class TConnectionVerdict;
class TDataSet;
class TLogSaveNotice;
class TLogTableModel;
class TOnlineIP;
class TSdfDataSet;
class TTrayIcon;
class TrayService;

// Everything the main window needs from the operating system, handed in so that tests can
// put fakes in its place.
struct TfrmMainEnv {
    TApplication& application;
    TrayService& trayService;
    HostResolver& resolver;
    RunKeyStore& runKeys;
    const Clock& clock;
    ProgramFiles files; // where the settings file and the log live
    QString exeName;    // full path of the executable
    // One running copy per log; none in tests that do not need it.
    InstanceLock* instance = nullptr;
    // The system's clocks and its sleep manager: sleep and changes of the clock go into the
    // log. Without clocks neither is watched.
    SystemClocks* clocks = nullptr;
    SleepWatch* sleepWatch = nullptr;
    // Makes the internet check's probe; unset: the HTTP probe over Qt Network.
    std::function<std::unique_ptr<InternetProbe>()> makeProbe = {};
};

// The main window and the program's controller: it builds the tray icon, the log data set
// and the connection monitor at start-up, decides the connection status, writes and browses
// the log and keeps the settings. Its methods are spread over files by concern:
// uniMain_startup.cpp, uniMain_status.cpp, uniMain_settings.cpp, uniMain_logwriter.cpp,
// uniMain_logbrowser.cpp and uniMain_commands.cpp.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(TfrmMainEnv env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Status decision (uniMain_status.cpp)
    void OnlineIP1Changed(QObject* sender);
    void GetIP();
    bool IPnotLocal();
    void RefreshAll();
    void mnuRefreshClick();
    // "Open sign-in page" (Status page and tray menu): the captive portal's page in the browser.
    void btnSignInClick();

    // Start-up and ending (uniMain_startup.cpp)
    void FormCreate();
    // Set when start-up found another copy running on the same log and handed over to it: the
    // exit code the program ends with (0 once that copy answered).
    std::optional<int> ExitAtStart() const { return exitAtStart_; }
    // Shows the window or leaves the program in the notification area, as start-up decided.
    bool MinimizedAtStart() const { return minimizedAtStart_; }
    // Shows the window at the end of start-up whatever the settings say (`wirevane --show`).
    void RequestShowAtStart() { showRequested_ = true; }
    void ShowAfterCreate();
    void FormCloseQuery(QObject* sender, bool& CanClose);
    void mnuExitClick();
    void mnuPopUpExitClick();
    // The session is ending (log-off, shut-down, a termination signal): allow the close and
    // run it, once.
    static constexpr int WM_QUERYENDSESSION = 17;
    void WndProc(int message);
    // The session manager saves the session, at a checkpoint as well as before the session
    // ends: the settings and any held log entries go to disk, and the program goes on. A session
    // that really ends says so afterwards (the platform's quit request or a termination signal).
    void CommitSessionData();
    // The display went away: allow the close and run its file work (settings, "Stop of
    // program"), once, touching no window.
    void EndSessionWithoutDisplay();

    // Settings (uniMain_settings.cpp)
    void LoadAll();
    void SaveAll();
    // Puts the window where and as large as it was when last saved, if a screen still shows
    // that place; false when there is none to restore.
    bool RestorePlace();
    void cbStartupClick();

    // Log writer (uniMain_logwriter.cpp)
    void ValidateLog(const QString& path);
    void SaveInLog(const QString& ip, const QString& message);
    // The table holds entries whose save failed; they are written with the next save that
    // succeeds (retried on a timer meanwhile).
    bool LogHeld() const;

    // Log browser (uniMain_logbrowser.cpp)
    void AfterTableOpen(TDataSet& table);
    void DBGridDblClick();
    void DataFromTable();
    void dedDateChange();
    bool Seeking(const QString& ip, bool fromNext, bool withDate, const QDate& date);
    void sbtnFindIPClick();

    // Commands (uniMain_commands.cpp)
    void mnuAboutClick();
    void mnuHelpClick();
    void OnIconDblClick(QObject* sender);
    void mnuOptionsClick();

    // History page and notifications (uniMain_history.cpp)
    void SetNotifier(DesktopNotifier* notifier);
    THistory& History();
    THistoryView* HistoryView() const { return historyView_; }
    QWidget* tsHistory() const { return historyPage_; }
    void RefreshHistory();
    void HistoryDayClick(const QDate& day);
    void cbNotifyOnChangeClick();
    // A desktop notification for an "Online" or "Offline" entry just written, when asked for.
    void NotifyChange(const QString& ip, const QString& message);

    // Sleep and changes of the clock (uniMain_sleep.cpp): before every poll, and on the sleep
    // manager's word.
    void CheckClocks();
    void SleepSignal(bool sleeping);

    // State read by tests and the program entry.
    bool ExitAllowed() const { return exitAllowed_; }
    bool StartMinimized() const { return startMinimized_; }
    bool WasOnline() const { return wasOnline_; }
    QString LogPath() const { return logPath_; }
    QString IniPath() const { return iniPath_; }
    Ui::TfrmMain* ui() const { return ui_.get(); }
    TTrayIcon* TrayIcon1() const { return trayIcon_; }
    TOnlineIP* OnlineIP1() const { return onlineIP_; }
    TSdfDataSet* LogTable() const { return table_.get(); }
    QMenu* PopupMenu1() const { return popupMenu_; }
    QAction* mnuOptions() const { return mnuOptions_; }
    QAction* mnuSignIn() const { return mnuSignIn_; }
    TConnectionVerdict* Verdict() const { return verdict_; }
    QAction* mnuPopUpAbout() const { return mnuPopUpAbout_; }
    QAction* mnuPopUpExit() const { return mnuPopUpExit_; }
    // The date of dedDate as the search uses it: today when the field holds no valid date.
    QDate SearchDate() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildPopupMenu();
    // "Online" or "Offline" on the Status page, in a colour readable on the window's palette.
    void showStatusWord(bool online, bool signIn = false);
    // Enter in the address field, F3 and the other keys of the window.
    void setupKeys();
    // Centres the window on the screen the first time it is shown.
    void placeFirstTime();
    void connectHandlers();
    void setStatusIcons(const QString& resource);
    // The chosen way of determination, as the radio buttons show it, handed to the verdict.
    void syncWay();
    // The internet check's hint says what it asks, of whom and how often.
    void updateInternetHint();
    // Takes the log for this copy, or hands over to the copy that holds it (uniMain_instance.cpp).
    bool claimLog();
    void setupHistory();
    // Log writer: an entry goes into the table first, then the table goes to the file.
    void appendLogEntry(const QString& ip, const QString& message);
    void appendLogEntry(const QString& ip, const QString& message, const QDate& date,
                        const QTime& time);
    void setupClockWatch();
    void writeClockEntries(const std::vector<TClockEntry>& entries, bool inPoll);
    void flushLog();
    // Saves the table; a failure is told to the user (once per episode) and the entries are
    // held for a later save instead of being thrown.
    void saveLogHolding();
    void retryHeldLog();
    // An "Online" or "Offline" entry: once it is in the table the latch follows the verdict,
    // whether or not its save reached the disk.
    void logTransition(const QString& ip, const QString& message, bool online);
    void reportStopNotWritten(const QString& reason) const;

    TfrmMainEnv env_;
    std::unique_ptr<Ui::TfrmMain> ui_;
    QMenu* popupMenu_ = nullptr;
    QAction* mnuSignIn_ = nullptr;
    QAction* mnuOptions_ = nullptr;
    QAction* mnuPopUpAbout_ = nullptr;
    QAction* mnuPopUpExit_ = nullptr;

    TTrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<TSdfDataSet> table_;
    TLogTableModel* dataSource_ = nullptr;
    TOnlineIP* onlineIP_ = nullptr;
    TConnectionVerdict* verdict_ = nullptr;
    std::unique_ptr<TLogSaveNotice> logNotice_;
    QTimer* logRetry_ = nullptr;

    bool startingUp_ = false; // the start-up sets the "Load at Startup" box
    QString logPath_;
    QString iniPath_;
    bool exitAllowed_ = false;
    bool startMinimized_ = true;
    bool wasOnline_ = false;
    bool statusOnline_ = false; // what the status word shows
    bool statusSignIn_ = false;
    bool closing_ = false;
    bool placed_ = false;
    bool minimizedAtStart_ = false;
    std::optional<int> exitAtStart_;

    THistoryFeed* historyFeed_ = nullptr;
    THistoryView* historyView_ = nullptr;
    QWidget* historyPage_ = nullptr;
    bool historyStale_ = true;
    DesktopNotifier* notifier_ = nullptr;
    std::unique_ptr<TClockWatch> clockWatch_;
    bool verdictDue_ = false;    // the next verdict is logged even when it did not change
    bool startedUp_ = false;     // start-up has run all its steps
    bool showRequested_ = false; // a later start asked for the window before that
    bool firstStart_ = false;    // there was no settings file before this start
};

} // namespace wv
