// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/XdgFileLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef WV_INSTALL_BINDIR
#define WV_INSTALL_BINDIR "/usr/local/bin"
#endif

namespace wv {

namespace {

const QString kSettingsName = QStringLiteral("Vanewire.ini");
const QString kLogName = QStringLiteral("Vanewire.txt");
const QString kAppFolder = QStringLiteral("wirevane");

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// 0 when `path` is a folder this process may create files in, else the reason as an errno.
int folderWriteError(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    return ::access(native.constData(), W_OK | X_OK) == 0 ? 0 : errno;
}

// Same folder, after symbolic links are resolved; a folder that does not exist matches nothing.
bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Makes `path` and every missing folder above it with mode 0700. On failure `why` names the
// folder and the system's reason.
bool makePrivateFolder(const QString& path, QString* why) {
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(current);
        if (::mkdir(native.constData(), 0700) == 0 || errno == EEXIST) {
            struct stat st;
            if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
                *why = QStringLiteral("%1 is not a folder").arg(current);
                return false;
            }
            continue;
        }
        *why = QStringLiteral("cannot create the folder %1: %2").arg(current, systemError(errno));
        return false;
    }
    if (const int error = folderWriteError(path)) {
        *why = QStringLiteral("cannot write in the folder %1: %2").arg(path, systemError(error));
        return false;
    }
    return true;
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
QString baseFolder(const QString& variable, const QString& home, const QString& fallback) {
    if (variable.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(variable);
    if (home.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(home + QLatin1Char('/') + fallback);
    return QString();
}

} // namespace

XdgFileLocations::XdgFileLocations(Inputs inputs) : in_(std::move(inputs)) {}

XdgFileLocations::Inputs XdgFileLocations::FromProcess() {
    return Inputs{QCoreApplication::applicationDirPath(), QStringLiteral(WV_INSTALL_BINDIR),
                  UserHome(), qEnvironmentVariable("XDG_CONFIG_HOME"),
                  qEnvironmentVariable("XDG_STATE_HOME")};
}

QString XdgFileLocations::UserHome() {
    const QString home = qEnvironmentVariable("HOME");
    if (home.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(home);
    // Unset or relative (which would make folders wherever the program happens to run): the
    // user database knows better.
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
        const QString fromDatabase = QDir::cleanPath(QFile::decodeName(pw->pw_dir));
        if (fromDatabase != QLatin1String("/")) // an account without a home of its own
            return fromDatabase;
    }
    return QString();
}

bool XdgFileLocations::IsInstalledCopy(const Inputs& in) {
    if (sameFolder(in.exeFolder, in.installBinDir))
        return true;
    const QFileInfo folder(in.exeFolder);
    if (folder.fileName() != QLatin1String("bin"))
        return false;
    return QFileInfo(folder.absolutePath() + QStringLiteral("/share/applications/") +
                     QLatin1String(DesktopEntryName))
        .isFile();
}

QString XdgFileLocations::ConfigHome(const Inputs& in) {
    return baseFolder(in.xdgConfigHome, in.home, QStringLiteral(".config"));
}

QString XdgFileLocations::StateHome(const Inputs& in) {
    return baseFolder(in.xdgStateHome, in.home, QStringLiteral(".local/state"));
}

ProgramFiles XdgFileLocations::Locate() {
    QString reasonBeside;
    const int besideError = folderWriteError(in_.exeFolder);
    if (IsInstalledCopy(in_)) {
        reasonBeside = QStringLiteral("this copy is installed in %1").arg(in_.exeFolder);
    } else if (besideError == 0) {
        const QString folder = in_.exeFolder.endsWith(QLatin1Char('/'))
                                   ? in_.exeFolder
                                   : in_.exeFolder + QLatin1Char('/');
        return ProgramFiles{folder + kSettingsName, folder + kLogName, false};
    } else {
        reasonBeside = QStringLiteral("the folder of the program, %1, cannot be written (%2)")
                           .arg(in_.exeFolder, systemError(besideError));
    }

    const QString config = ConfigHome(in_);
    const QString state = StateHome(in_);
    if (config.isEmpty() || state.isEmpty())
        throw FileLocationError(
            QStringLiteral(
                "Wirevane cannot keep its settings and log: %1, and the per-user "
                "folders are unknown because no home folder is known (HOME and the user database).")
                .arg(reasonBeside)
                .toStdString());
    const QString configFolder = config + QLatin1Char('/') + kAppFolder;
    const QString stateFolder = state + QLatin1Char('/') + kAppFolder;
    QString why;
    if (!makePrivateFolder(configFolder, &why) || !makePrivateFolder(stateFolder, &why))
        throw FileLocationError(
            QStringLiteral("Wirevane cannot keep its settings and log: %1, and %2.")
                .arg(reasonBeside, why)
                .toStdString());
    return ProgramFiles{configFolder + QLatin1Char('/') + kSettingsName,
                        stateFolder + QLatin1Char('/') + kLogName, true};
}

QString XdgFileLocations::LogPathToRead() const {
    if (!IsInstalledCopy(in_) && folderWriteError(in_.exeFolder) == 0)
        return QDir::cleanPath(in_.exeFolder) + QLatin1Char('/') + kLogName;
    const QString state = StateHome(in_);
    return state.isEmpty() ? QString()
                           : state + QLatin1Char('/') + kAppFolder + QLatin1Char('/') + kLogName;
}

} // namespace wv
