// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Where the settings file and the log go: beside a portable copy, in the user's XDG folders for
// an installed one or when the program's folder cannot be written.
#include "platform/linux/XdgFileLocations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>
#include <sys/stat.h>

using wv::FileLocationError;
using wv::ProgramFiles;
using wv::XdgFileLocations;

namespace {

mode_t modeOf(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

// One case: the executable's folder and the environment, relative to a temporary root ("@"
// stands for it), and where the two files must end up ("" for beside the executable).
struct Case {
    const char* name;
    const char* exeFolder;
    const char* installBinDir;
    const char* home;
    const char* configHome;
    const char* stateHome;
    bool markerBesideBin; // <prefix>/share/applications holds the desktop entry
    const char* settingsFolder;
    const char* logFolder;
};

const Case kCases[] = {
    {"portable copy in a writable folder", "@/portable", "@/usr/bin", "@/home", "", "", false,
     "@/portable", "@/portable"},
    {"installed in the compiled-in bindir", "@/usr/bin", "@/usr/bin", "@/home", "", "", false,
     "@/home/.config/wirevane", "@/home/.local/state/wirevane"},
    {"installed elsewhere, known by its desktop entry", "@/opt/wv/bin", "@/usr/bin", "@/home", "",
     "", true, "@/home/.config/wirevane", "@/home/.local/state/wirevane"},
    {"XDG variables win over HOME", "@/usr/bin", "@/usr/bin", "@/home", "@/cfg", "@/st", false,
     "@/cfg/wirevane", "@/st/wirevane"},
    {"relative XDG variables are ignored", "@/usr/bin", "@/usr/bin", "@/home", "cfg", "st", false,
     "@/home/.config/wirevane", "@/home/.local/state/wirevane"},
    {"a bin folder without the desktop entry is portable", "@/opt/wv/bin", "@/usr/bin", "@/home",
     "", "", false, "@/opt/wv/bin", "@/opt/wv/bin"},
    {"a folder that is gone goes per user", "@/missing", "@/usr/bin", "@/home", "", "", false,
     "@/home/.config/wirevane", "@/home/.local/state/wirevane"},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class FileLocationsTest : public ::testing::TestWithParam<Case> {
protected:
    QTemporaryDir root;
    QString at(const char* p) const { return QString::fromUtf8(p).replace("@", root.path()); }
};

TEST_P(FileLocationsTest, FilesGoWhereTheCopyBelongs) {
    const Case& c = GetParam();
    for (const char* d : {"@/portable", "@/usr/bin", "@/opt/wv/bin", "@/home"})
        ASSERT_TRUE(QDir().mkpath(at(d)));
    if (c.markerBesideBin) {
        ASSERT_TRUE(QDir().mkpath(at("@/opt/wv/share/applications")));
        QFile marker(at("@/opt/wv/share/applications/io.github.wirevane.Wirevane.desktop"));
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    }
    XdgFileLocations locations(
        {at(c.exeFolder), at(c.installBinDir), at(c.home), at(c.configHome), at(c.stateHome)});
    const ProgramFiles files = locations.Locate();
    EXPECT_EQ(files.settingsPath, at(c.settingsFolder) + "/Vanewire.ini");
    EXPECT_EQ(files.logPath, at(c.logFolder) + "/Vanewire.txt");
    EXPECT_EQ(files.perUser, QString(c.settingsFolder) != c.exeFolder);
    if (files.perUser) {
        EXPECT_EQ(modeOf(at(c.settingsFolder)), 0700u);
        EXPECT_EQ(modeOf(at(c.logFolder)), 0700u);
        // Nothing is ever made beside an installed executable.
        EXPECT_TRUE(QDir(at(c.exeFolder)).isEmpty());
    } else {
        EXPECT_FALSE(QFile::exists(at("@/home/.config")));
        EXPECT_FALSE(QFile::exists(at("@/home/.local")));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FileLocationsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST(FileLocations, ExistingFoldersKeepTheirModeAndNewOnesArePrivate) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir().mkpath(root.filePath("bin")));
    ASSERT_TRUE(QDir().mkpath(root.filePath("home/.config")));
    ::chmod(QFile::encodeName(root.filePath("home/.config")).constData(), 0755);
    XdgFileLocations({root.filePath("bin"), root.filePath("bin"), root.filePath("home"), "", ""})
        .Locate();
    EXPECT_EQ(modeOf(root.filePath("home/.config")), 0755u);
    EXPECT_EQ(modeOf(root.filePath("home/.config/wirevane")), 0700u);
    EXPECT_EQ(modeOf(root.filePath("home/.local")), 0700u);
    EXPECT_EQ(modeOf(root.filePath("home/.local/state")), 0700u);
}

TEST(FileLocations, NoWritablePlaceSaysWhereAndWhy) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir().mkpath(root.filePath("bin")));
    // HOME is a plain file, so no folder can be made below it.
    QFile homeFile(root.filePath("home"));
    ASSERT_TRUE(homeFile.open(QIODevice::WriteOnly));
    homeFile.close();
    const struct {
        QString home;
        QString expected;
    } cases[] = {
        {root.filePath("home"), root.filePath("home") + " is not a folder"},
        {QString(), "no home folder is known"},
    };
    for (const auto& c : cases) {
        try {
            XdgFileLocations({root.filePath("bin"), root.filePath("bin"), c.home, "", ""}).Locate();
            ADD_FAILURE() << "no error for HOME=" << c.home.toStdString();
        } catch (const FileLocationError& e) {
            const QString text = QString::fromUtf8(e.what());
            EXPECT_TRUE(text.contains(c.expected)) << text.toStdString();
            EXPECT_TRUE(text.contains("installed in " + root.filePath("bin")))
                << text.toStdString();
        }
    }
}

} // namespace
