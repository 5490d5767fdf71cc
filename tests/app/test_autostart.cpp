#include "app/StartupValue.h"
#include "base/ErrorReport.h"
#include "platform/linux/XdgAutostartStore.h"
#include "support/FakeRunKeyStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <sys/stat.h>

using wv::RunKeyStore;
using wv::XdgAutostartStore;

namespace {

std::string blockText(const RunKeyStore::Block& b) {
    return std::string(b.data());
}

// Collects what the program would show as error reports.
class ReportRecorder {
public:
    ReportRecorder() {
        wv::setErrorSink([this](const QString& t) { texts << t; });
    }
    ~ReportRecorder() { wv::setErrorSink({}); }
    QStringList texts;
};

class AutostartTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath("xdg/autostart");
    QString entry = folder + "/Wirevane.desktop";
    std::optional<QByteArray> savedDirs;

    void SetUp() override {
        if (qEnvironmentVariableIsSet("XDG_CONFIG_DIRS"))
            savedDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath("xdg")) + ":/etc/xdg");
    }
    void TearDown() override {
        if (savedDirs)
            qputenv("XDG_CONFIG_DIRS", *savedDirs);
        else
            qunsetenv("XDG_CONFIG_DIRS");
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

TEST_F(AutostartTest, FolderComesFromFirstConfigDir) {
    EXPECT_EQ(XdgAutostartStore().Folder(), folder);
    qputenv("XDG_CONFIG_DIRS", "relative/dir:/opt/conf/:/etc/xdg");
    EXPECT_EQ(XdgAutostartStore::DefaultFolder(), "/opt/conf/autostart");
    qputenv("XDG_CONFIG_DIRS", "");
    EXPECT_EQ(XdgAutostartStore::DefaultFolder(), "/etc/xdg/autostart");
    qunsetenv("XDG_CONFIG_DIRS");
    EXPECT_EQ(XdgAutostartStore::DefaultFolder(), "/etc/xdg/autostart");
}

TEST_F(AutostartTest, WriteReadDelete) {
    const mode_t oldMask = ::umask(077);
    XdgAutostartStore store;
    const QString exe = "/opt/wire vane/wirevane";
    ASSERT_TRUE(store.CreateKeyAndWrite("Wirevane", wv::RunValueBlock(exe)));
    EXPECT_TRUE(store.IsOpen());
    ::umask(oldMask);
    store.CloseKey();
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(entryContent(), "[Desktop Entry]\nType=Application\nName=Wirevane\n"
                              "Exec=\"/opt/wire vane/wirevane\"\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Wirevane.desktop"});
    // Readable by every user's session, also under a strict umask.
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(entry).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    RunKeyStore::Block buffer;
    buffer.fill('x');
    ASSERT_TRUE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_EQ(blockText(buffer), exe.toStdString());
    EXPECT_TRUE(
        std::all_of(buffer.begin() + exe.size(), buffer.end(), [](char c) { return c == 0; }));

    EXPECT_TRUE(store.OpenKeyAndDelete("Wirevane"));
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_FALSE(store.OpenKeyAndDelete("Wirevane"));
}

TEST_F(AutostartTest, MissingFolderIsAMissingKey) {
    XdgAutostartStore store;
    RunKeyStore::Block buffer{};
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
        ASSERT_TRUE(store.CreateKeyAndWrite("Wirevane", wv::RunValueBlock(exe))) << p;
        RunKeyStore::Block buffer{};
        ASSERT_TRUE(store.OpenKeyAndRead("Wirevane", buffer)) << p;
        EXPECT_EQ(blockText(buffer), std::string(p));
        // One Exec line, whatever the path holds.
        EXPECT_EQ(entryContent().count("\n"), 4) << p;
    }
}

TEST_F(AutostartTest, StoredPathMustFitTheBuffer) {
    XdgAutostartStore store;
    RunKeyStore::Block buffer{};
    const QByteArray fits(255, 'a');
    putEntry("[Desktop Entry]\nType=Application\nExec=/" + fits.mid(1) + "\n");
    EXPECT_TRUE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_EQ(blockText(buffer).size(), 255u);

    putEntry("[Desktop Entry]\nType=Application\nExec=/" + QByteArray(255, 'a') + "\n");
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));

    putEntry("[Desktop Entry]\nType=Application\nName=Wirevane\n");
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
    putEntry("[Other]\nExec=/usr/bin/wirevane\n");
    EXPECT_FALSE(store.OpenKeyAndRead("Wirevane", buffer));
}

TEST_F(AutostartTest, LongPathIsCutTo255BytesOnACharacterBoundary) {
    const QString longPath = "/" + QString(299, 'p');
    const RunKeyStore::Block block = wv::RunValueBlock(longPath);
    EXPECT_EQ(blockText(block), longPath.left(255).toStdString());
    EXPECT_EQ(block[255], '\0');

    // 254 bytes, then a two-byte character that would take bytes 255 and 256.
    const QString straddling = "/" + QString(253, 'p') + QChar(0xE9) + "x";
    EXPECT_EQ(blockText(wv::RunValueBlock(straddling)), straddling.left(254).toStdString());

    XdgAutostartStore store;
    ReportRecorder reports;
    wv::LoadAtStartup(store, longPath, true);
    EXPECT_TRUE(wv::CheckLoadAtStartup(store));
    RunKeyStore::Block buffer{};
    ASSERT_TRUE(store.OpenKeyAndRead("Wirevane", buffer));
    EXPECT_EQ(blockText(buffer), longPath.left(255).toStdString());
    EXPECT_TRUE(reports.texts.isEmpty());
}

TEST_F(AutostartTest, RefusedWriteAndDeletePassSilently) {
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath("blocker")));
    XdgAutostartStore refused;
    ReportRecorder reports;
    EXPECT_FALSE(refused.CreateKeyAndWrite("Wirevane", wv::RunValueBlock("/usr/bin/wirevane")));
    wv::LoadAtStartup(refused, "/usr/bin/wirevane", true);
    wv::LoadAtStartup(refused, "/usr/bin/wirevane", false);
    EXPECT_FALSE(wv::CheckLoadAtStartup(refused));
    EXPECT_TRUE(reports.texts.isEmpty());

    // A value that cannot be removed (here a folder in its place) is refused as well.
    ASSERT_TRUE(QDir().mkpath(entry + "/inside"));
    XdgAutostartStore store(folder);
    EXPECT_FALSE(store.OpenKeyAndDelete("Wirevane"));
    wv::LoadAtStartup(store, "/usr/bin/wirevane", false);
    EXPECT_TRUE(reports.texts.isEmpty());
    EXPECT_TRUE(QFileInfo(entry).isDir());
}

// The two routines over the recording store.

TEST(StartupValueTest, TickingWritesTheBlockAndClosesTheKey) {
    wv::FakeRunKeyStore store;
    ReportRecorder reports;
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true);
    EXPECT_EQ(store.calls, (std::vector<std::string>{"CreateKeyAndWrite Wirevane", "CloseKey"}));
    ASSERT_EQ(store.values.count("Wirevane"), 1u);
    const std::string& data = store.values["Wirevane"];
    EXPECT_EQ(data.size(), 256u);
    EXPECT_EQ(data, std::string("/opt/wirevane/wirevane") + std::string(256 - 22, '\0'));
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

TEST(StartupValueTest, RefusalsPassSilently) {
    wv::FakeRunKeyStore store;
    ReportRecorder reports;
    store.refuseOpen = true;
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true);
    EXPECT_FALSE(wv::CheckLoadAtStartup(store));
    store.refuseOpen = false;
    store.refuseChange = true;
    wv::LoadAtStartup(store, "/opt/wirevane/wirevane", true);
    EXPECT_TRUE(store.values.empty());
    EXPECT_TRUE(reports.texts.isEmpty());
    EXPECT_EQ(store.closeCount, 3);
}

TEST(StartupValueTest, OverlongStoredValueReadsAsAbsent) {
    wv::FakeRunKeyStore store;
    store.values["Wirevane"] = std::string(257, 'a');
    EXPECT_FALSE(wv::CheckLoadAtStartup(store));
    store.values["Wirevane"] = std::string(256, 'a');
    EXPECT_TRUE(wv::CheckLoadAtStartup(store));
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
