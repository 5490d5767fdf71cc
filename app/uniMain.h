#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class QAction;
class QDate;
class QMenu;

namespace Ui {
class TfrmMain;
}

namespace wv {

class Clock;
class HostResolver;
class RunKeyStore;
class TApplication;
class TDataSet;
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
    QString exeFolder; // folder of the executable, with its trailing separator
    QString exeName;   // full path of the executable
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

    // Start-up and ending (uniMain_startup.cpp)
    void FormCreate();
    // Shows the window or leaves the program in the notification area, as start-up decided.
    bool MinimizedAtStart() const { return minimizedAtStart_; }
    void ShowAfterCreate();
    void FormCloseQuery(QObject* sender, bool& CanClose);
    void mnuExitClick();
    void mnuPopUpExitClick();
    // The session is ending (log-off, shut-down, a termination signal): allow the close and
    // run it, once.
    static constexpr int WM_QUERYENDSESSION = 17;
    void WndProc(int message);
    // The display went away: allow the close and run its file work (settings, "Stop of
    // program"), once, touching no window.
    void EndSessionWithoutDisplay();

    // Settings (uniMain_settings.cpp)
    void LoadAll();
    void SaveAll();
    void cbStartupClick();

    // Log writer (uniMain_logwriter.cpp)
    void ValidateLog(const QString& path);
    void SaveInLog(const QString& ip, const QString& message);

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
    QAction* mnuPopUpAbout() const { return mnuPopUpAbout_; }
    QAction* mnuPopUpExit() const { return mnuPopUpExit_; }
    // The date of dedDate as the search uses it: today when the field holds no valid date.
    QDate SearchDate() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPopupMenu();
    // Controls docked to a page's edges follow the page's size.
    void alignControls();
    // Centres the window on the screen the first time it is shown.
    void placeFirstTime();
    void connectHandlers();
    void setStatusIcons(const QString& resource);
    void reportStopNotWritten(const QString& reason) const;

    TfrmMainEnv env_;
    std::unique_ptr<Ui::TfrmMain> ui_;
    QMenu* popupMenu_ = nullptr;
    QAction* mnuOptions_ = nullptr;
    QAction* mnuPopUpAbout_ = nullptr;
    QAction* mnuPopUpExit_ = nullptr;

    TTrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<TSdfDataSet> table_;
    TLogTableModel* dataSource_ = nullptr;
    TOnlineIP* onlineIP_ = nullptr;

    QString logPath_;
    QString iniPath_;
    bool exitAllowed_ = false;
    bool startMinimized_ = true;
    bool wasOnline_ = false;
    bool closing_ = false;
    bool placed_ = false;
    bool minimizedAtStart_ = false;
};

} // namespace wv
