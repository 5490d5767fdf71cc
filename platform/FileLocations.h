// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>

#include <stdexcept>
#include <utility>

namespace wv {

// Where the program keeps its two files.
struct ProgramFiles {
    ProgramFiles() = default;
    ProgramFiles(QString settings, QString log, bool inUserFolders)
        : settingsPath(std::move(settings)), logPath(std::move(log)), perUser(inUserFolders) {}
    // Both files in `folder` (given with its trailing separator), as a portable copy keeps them.
    ProgramFiles(const QString& folder) // NOLINT: implicit on purpose, a folder says it all
        : settingsPath(folder + QStringLiteral("Vanewire.ini")),
          logPath(folder + QStringLiteral("Vanewire.txt")) {}

    QString settingsPath; // Vanewire.ini
    QString logPath;      // Vanewire.txt
    bool perUser = false; // true: the user's XDG folders; false: beside the executable
};

// No place for the files can be written. The text says where the program tried and why it
// failed, in words fit for a message box.
class FileLocationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decides where the settings file and the log live, and makes the folders they need.
class FileLocations {
public:
    virtual ~FileLocations();

    // The two paths; the folders that hold them exist afterwards. Throws FileLocationError
    // when no place can be written.
    virtual ProgramFiles Locate() = 0;
};

} // namespace wv
