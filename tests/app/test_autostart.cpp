// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/StartupValue.h"
#include "base/ErrorReport.h"
#include "platform/linux/XdgAutostartStore.h"
#include "platform/linux/XdgFileLocations.h"
#include "support/FakeRunKeyStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <ostream>
#include <sys/stat.h>

using wv::RunKeyStore;
using wv::XdgAutostartStore;

namespace {

// Collects what the program would show as error reports.
class ReportRecorder {
public:
    ReportRecorder() {
        wv::setErrorSink([this](const QString& t) { texts << t; });
    }
    ~ReportRecorder() { wv::setErrorSink({}); }
    QStringList texts;
};

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : name_(name) {
        if (qEnvironmentVariableIsSet(name))
            saved_ = qgetenv(name);
    }
    ~EnvGuard() {
        if (saved_)
            qputenv(name_, *saved_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    std::optional<QByteArray> saved_;
};

class AutostartTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath("home-config/autostart");
    QString entry = folder + "/Wirevane.desktop";
    QString systemFolder = dir.filePath("xdg2/autostart");
    EnvGuard home{"HOME"}, configHome{"XDG_CONFIG_HOME"}, configDirs{"XDG_CONFIG_DIRS"};

    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("home-config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath("xdg1")) + ":relative:" +
                                       QFile::encodeName(dir.filePath("xdg2")) + "/");
    }
    QByteArray entryContent() const {
        QFile f(entry);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void putEntry(const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile f(entry);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(AutostartTest, FoldersComeFromTheEnvironment) {
    EXPECT_EQ(XdgAutostartStore().Folder(), folder);
    EXPECT_EQ(XdgAutostartStore().SystemFolders(),
              QStringList({dir.filePath("xdg1/autostart"), systemFolder}));
    qputenv("HOME", "/home/u");
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(XdgAutostartStore::DefaultFolder(), "/home/u/.config/autostart");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(XdgAutostartStore::DefaultFolder(), "/home/u/.config/autostart");
    qputenv("XDG_CONFIG_DIRS", "");
    EXPECT_EQ(XdgAutostartStore::DefaultSystemFolders(), QStringList{"/etc/xdg/autostart"});
    qunsetenv("XDG_CONFIG_DIRS");
    EXPECT_EQ(XdgAutostartStore::DefaultSystemFolders(), QStringList{"/etc/xdg/autostart"});
}

TEST_F(AutostartTest, WriteReadDelete) {
    const mode_t oldMask = ::umask(077);
    XdgAutostartStore store;
    const QString exe = "/opt/wire vane/wirevane";
    ASSERT_TRUE(store.CreateKeyAndWrite("Wirevane", wv::RunValueText(exe)));
    EXPECT_TRUE(store.IsOpen());
    ::umask(oldMask);
    store.CloseKey();
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(entryContent(), "[Desktop Entry]\nType=Application\nName=Wirevane\n"
                              "Exec=\"/opt/wire vane/wirevane\"\n"
                              "Icon=io.github.wirevane.Wirevane\nTerminal=false\n"
                              "X-GNOME-Autostart-enabled=true\nX-GNOME-Autostart-Delay=3\n"
                              "X-KDE-autostart-after=panel\nX-LXQt-Need-Tray=true\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Wirevane.desktop"});
    // The user's own folders are private; the entry is an ordinary file.
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(entry).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    for (const QString& made : {folder, dir.filePath("home-config")}) {
        ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }

    std::string buffer = "left over";
    ASSERT_TRUE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_EQ(buffer, exe.toStdString());

    EXPECT_TRUE(store.OpenKeyAndDelete("Wirevane"));
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_FALSE(store.OpenKeyAndDelete("Wirevane"));
}

TEST_F(AutostartTest, MissingFolderIsAMissingKey) {
    XdgAutostartStore store;
    std::string buffer;
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_FALSE(store.OpenKeyAndDelete("Wirevane"));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(AutostartTest, ExecQuotingFollowsTheDesktopEntryFormat) {
    // Inside the quotes '"', '`', '$' and '\' take a backslash and '%' is doubled; then the
    // string escapes double every backslash, so a literal backslash becomes four.
    EXPECT_EQ(XdgAutostartStore::EncodeExec("/opt/a b/\"q\"/x$y/`c`/d\\e/50%"),
              "\"/opt/a b/\\\\\"q\\\\\"/x\\\\$y/\\\\`c\\\\`/d\\\\\\\\e/50%%\"");
    EXPECT_EQ(XdgAutostartStore::EncodeExec("/tmp/tab\there\nline"), "\"/tmp/tab\\there\\nline\"");
    EXPECT_EQ(XdgAutostartStore::EncodeExec("/usr/bin/wirevane"), "\"/usr/bin/wirevane\"");
}

TEST_F(AutostartTest, ExecValuesWrittenByOthersAreRead) {
    using D = XdgAutostartStore;
    EXPECT_EQ(D::DecodeExec("/usr/bin/wirevane --minimized %U"), "/usr/bin/wirevane");
    EXPECT_EQ(D::DecodeExec("\"/opt/my app/wv\" %f"), "/opt/my app/wv");
    // Quoting without the second level of escaping is read as meant.
    EXPECT_EQ(D::DecodeExec("\"/opt/\\\"q\\\"/\\$x\""), "/opt/\"q\"/$x");
    EXPECT_EQ(D::DecodeExec("\"/opt/a\\sb\" --x"), "/opt/a b");
    EXPECT_EQ(D::DecodeExec("/opt/a\\sb"), "/opt/a"); // \s is a blank, and blanks split
    EXPECT_EQ(D::DecodeExec("/opt/100%%"), "/opt/100%");
    EXPECT_EQ(D::DecodeExec("\"/opt/unclosed"), std::nullopt);
    EXPECT_EQ(D::DecodeExec(""), std::nullopt);
    EXPECT_EQ(D::DecodeExec("\"\""), std::nullopt);
}

TEST_F(AutostartTest, AwkwardPathsRoundTrip) {
    XdgAutostartStore store;
    const char* paths[] = {
        "/opt/with space/wirevane",
        "/opt/\"quoted\"/it's/wirevane",
        "/opt/back\\slash\\\\double/wirevane",
        "/opt/$HOME/`id`/wirevane",
        "/opt/100%/%f/wirevane",
        "/opt/tab\tnew\nline\rcr/wirevane",
        "/opt/\xc3\xa9t\xc3\xa9 ;|&<>~*?#()/wirevane",
    };
    for (const char* p : paths) {
        const QString exe = QFile::decodeName(p);
        ASSERT_TRUE(store.CreateKeyAndWrite("Wirevane", wv::RunValueText(exe))) << p;
        std::string buffer;
        ASSERT_TRUE(store.OpenKeyAndRead("Wirevane", buffer)) << p;
        EXPECT_EQ(buffer, std::string(p));
        // One Exec line, whatever the path holds.
        EXPECT_EQ(entryContent().count("\n"), 10) << p;
    }
}

TEST_F(AutostartTest, EntryWithoutAProgramIsNotSet) {
    XdgAutostartStore store;
    std::string buffer;
    putEntry("[Desktop Entry]\nType=Application\nName=Wirevane\n");
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
    putEntry("[Other]\nExec=/usr/bin/wirevane\n");
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
}

TEST_F(AutostartTest, LongPathIsStoredWholeAndReadBack) {
    // Well past 255 bytes, with a two-byte character where the old cut fell.
    const QString longPath =
        "/" + QString(253, 'p') + QChar(0xE9) + "/" + QString(300, 'q') + "/wire vane";
    XdgAutostartStore store;
    ReportRecorder reports;
    EXPECT_EQ(wv::LoadAtStartup(store, longPath, true), "");
    EXPECT_TRUE(wv::CheckLoadAtStartup(store)) << "the box shows what is stored";
    std::string buffer;
    ASSERT_TRUE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_EQ(buffer, QFile::encodeName(longPath).toStdString());
    EXPECT_TRUE(entryContent().contains("Exec=\"" + QFile::encodeName(longPath) + "\"\n"));
    EXPECT_TRUE(reports.texts.isEmpty());
}

TEST_F(AutostartTest, NoHomeFolderMeansNothingWrittenAnywhereElse) {
    // HOME relative or unset: the user database's home; no folder is made relative to the
    // current folder or the root.
    const QString home = wv::XdgFileLocations::UserHome();
    struct Case {
        const char* name;
        std::optional<QByteArray> home;
    };
    const Case cases[] = {{"relative", QByteArray("relative/home")}, {"unset", std::nullopt}};
    qunsetenv("XDG_CONFIG_HOME");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.home)
            qputenv("HOME", *c.home);
        else
            qunsetenv("HOME");
        EXPECT_EQ(wv::XdgFileLocations::UserHome(), home);
        EXPECT_EQ(XdgAutostartStore::DefaultFolder(),
                  home.isEmpty() ? QString() : home + "/.config/autostart");
    }
    // With no home at all, a write is refused in plain words and reaches no file.
    XdgAutostartStore homeless{QString()};
    EXPECT_FALSE(homeless.CreateKeyAndWrite("Wirevane", "/usr/bin/wirevane"));
    EXPECT_EQ(homeless.LastError(), "the autostart folder is unknown (no home folder)");
    std::string buffer;
    EXPECT_FALSE(homeless.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    ASSERT_TRUE(QDir::setCurrent(cwd));
}

TEST_F(AutostartTest, RefusalsAreToldInPlainWords) {
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("blocker")));
    XdgAutostartStore refused;
    ReportRecorder reports;
    EXPECT_FALSE(refused.CreateKeyAndWrite("Wirevane", wv::RunValueText("/usr/bin/wirevane")));
    EXPECT_EQ(wv::LoadAtStartup(refused, "/usr/bin/wirevane", true),
              "the folder " + dir.filePath("blocker/autostart") +
                  " cannot be created (Not a directory)");
    // Nothing there to delete is no refusal.
    EXPECT_EQ(wv::LoadAtStartup(refused, "/usr/bin/wirevane", false), "");
    EXPECT_FALSE(wv::CheckLoadAtStartup(refused));

    // A value that cannot be removed (here a folder in its place) is refused as well.
    ASSERT_TRUE(QDir().mkpath(entry + "/inside"));
    XdgAutostartStore store(folder);
    EXPECT_FALSE(store.OpenKeyAndDelete("Wirevane"));
    EXPECT_TRUE(wv::LoadAtStartup(store, "/usr/bin/wirevane", false).contains(entry));
    EXPECT_TRUE(reports.texts.isEmpty());
    EXPECT_TRUE(QFileInfo(entry).isDir());
}

// The rules between the user's entry and a system-wide one. Each row: what the user's folder
// and the system folder hold ("" for nothing), whether the value reads as set, and what the
// user's folder holds after the box is cleared.
struct EntryCase {
    const char* name;
    const char* user;
    const char* system;
    bool set;
    const char* userAfterClear; // "none", or a line the user's entry must hold
};

const char* const kEntry = "[Desktop Entry]\nType=Application\nName=Wirevane\nExec=/usr/bin/wv\n";
const char* const kHidden =
    "[Desktop Entry]\nType=Application\nName=Wirevane\nExec=/usr/bin/wv\nHidden=true\n";
const char* const kGnomeOff = "[Desktop Entry]\nType=Application\nName=Wirevane\n"
                              "Exec=/usr/bin/wv\nX-GNOME-Autostart-enabled=false\n";

const EntryCase kEntryCases[] = {
    {"nothing anywhere", "", "", false, "none"},
    {"user entry only", kEntry, "", true, "none"},
    {"system entry only", "", kEntry, true, "Hidden=true"},
    {"user entry hides the system one", kHidden, kEntry, false, "Hidden=true"},
    {"user entry over a system one", kEntry, kEntry, true, "Hidden=true"},
    {"hidden user entry alone", kHidden, "", false, "none"},
    {"entry switched off for GNOME", kGnomeOff, "", false, "none"},
    {"hidden system entry", "", kHidden, false, "none"},
};

class AutostartRulesTest : public AutostartTest, public ::testing::WithParamInterface<EntryCase> {};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(AutostartRulesTest, UserEntryDecidesThenTheSystemOne) {
    const EntryCase& c = GetParam();
    if (*c.user)
        putEntry(c.user);
    if (*c.system) {
        ASSERT_TRUE(QDir().mkpath(systemFolder));
        QFile f(systemFolder + "/Wirevane.desktop");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.system);
    }
    XdgAutostartStore store;
    EXPECT_EQ(wv::CheckLoadAtStartup(store), c.set);

    EXPECT_EQ(wv::LoadAtStartup(store, "/opt/wv", false), "");
    EXPECT_FALSE(wv::CheckLoadAtStartup(store));
    if (std::string(c.userAfterClear) == "none") {
        EXPECT_FALSE(QFileInfo::exists(entry));
    } else {
        EXPECT_TRUE(entryContent().contains(c.userAfterClear)) << entryContent().toStdString();
        EXPECT_TRUE(entryContent().contains("Exec=/usr/bin/wv\n"));
    }
    // The system folder is never written.
    if (*c.system) {
        QFile f(systemFolder + "/Wirevane.desktop");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray(c.system));
    }

    // Ticking again always wins over a system entry.
    EXPECT_EQ(wv::LoadAtStartup(store, "/opt/wv", true), "");
    EXPECT_TRUE(wv::CheckLoadAtStartup(store));
    EXPECT_FALSE(entryContent().contains("Hidden"));
}

INSTANTIATE_TEST_SUITE_P(Table, AutostartRulesTest, ::testing::ValuesIn(kEntryCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

// The two routines over the recording store.

TEST(StartupValueTest, TickingWritesThePathAndClosesTheKey) {
    wv::FakeRunKeyStore store;
    ReportRecorder reports;
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true);
    EXPECT_EQ(store.calls, (std::vector<std::string>{"CreateKeyAndWrite Wirevane", "CloseKey"}));
    ASSERT_EQ(store.values.count("Wirevane"), 1u);
    EXPECT_EQ(store.values["Wirevane"], "/opt/wirevane/wirevane");
    EXPECT_FALSE(store.isOpen);
    EXPECT_TRUE(wv::CheckLoadAtStartup(store));
    EXPECT_TRUE(reports.texts.isEmpty());
}

TEST(StartupValueTest, ClearingDeletesAndAMissingValueIsNoError) {
    wv::FakeRunKeyStore store;
    ReportRecorder reports;
    store.values["Wirevane"] = "/elsewhere/wirevane";
    EXPECT_TRUE(wv::CheckLoadAtStartup(store)); // a copy elsewhere counts too
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", false);
    EXPECT_TRUE(store.values.empty());
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", false);
    EXPECT_FALSE(wv::CheckLoadAtStartup(store));
    EXPECT_EQ(store.calls, (std::vector<std::string>{"OpenKeyAndRead Wirevane", "CloseKey",
                                                     "OpenKeyAndDelete Wirevane", "CloseKey",
                                                     "OpenKeyAndDelete Wirevane", "CloseKey",
                                                     "OpenKeyAndRead Wirevane", "CloseKey"}));
    EXPECT_TRUE(reports.texts.isEmpty());
}

TEST(StartupValueTest, RefusalsAreReturnedNotReported) {
    wv::FakeRunKeyStore store;
    ReportRecorder reports;
    store.refuseOpen = true;
    EXPECT_EQ(wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true), "access denied");
    EXPECT_FALSE(wv::CheckLoadAtStartup(store));
    store.refuseOpen = false;
    store.refuseChange = true;
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true);
    EXPECT_TRUE(store.values.empty());
    EXPECT_TRUE(reports.texts.isEmpty());
    EXPECT_EQ(store.closeCount, 3);
}

TEST(StartupValueTest, ErrorsAreReportedAndTheKeyIsClosed) {
    wv::FakeRunKeyStore store;
    ReportRecorder reports;
    store.throwOnNext = true;
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true);
    store.throwOnNext = true;
    EXPECT_FALSE(wv::CheckLoadAtStartup(store));
    EXPECT_EQ(reports.texts,
              QStringList({"Error in LoadAtStartup", "Error in CheckLoadAtStartup"}));
    EXPECT_EQ(store.closeCount, 2);
    EXPECT_TRUE(store.values.empty());
}

} // namespace
