// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/FileLocations.h"

#include <QString>

namespace wv {

// The files of a portable copy live beside the executable; those of an installed copy (or of a
// copy whose folder cannot be written) live in the user's XDG folders:
//   settings  $XDG_CONFIG_HOME/wirevane/Vanewire.ini   (default ~/.config)
//   log       $XDG_STATE_HOME/wirevane/Vanewire.txt    (default ~/.local/state)
// Folders that have to be made are made with mode 0700, as the XDG base directories require.
//
// A copy counts as installed when its folder is the bindir compiled in at build time, or when
// its folder is "<prefix>/bin" beside a "<prefix>/share/applications" that holds the program's
// desktop entry (a copy installed under another prefix, or unpacked from the package).
class XdgFileLocations final : public FileLocations {
public:
    // What the decision depends on; FromProcess() reads it from the running process.
    struct Inputs {
        QString exeFolder;     // absolute, without a trailing separator
        QString installBinDir; // the bindir the install rules put the program in
        QString home;          // UserHome()
        QString xdgConfigHome; // $XDG_CONFIG_HOME as set (maybe empty or relative)
        QString xdgStateHome;  // $XDG_STATE_HOME as set
    };

    static constexpr const char* DesktopEntryName = "io.github.wirevane.Wirevane.desktop";

    explicit XdgFileLocations(Inputs inputs);
    static Inputs FromProcess();

    ProgramFiles Locate() override;
    // Where Locate() would put the log, found without making any folder; empty when unknown.
    QString LogPathToRead() const;

    // True for a copy put in place by the install rules or the package.
    static bool IsInstalledCopy(const Inputs& in);
    // The user's config and state base folders (absolute, or empty when they cannot be told).
    static QString ConfigHome(const Inputs& in);
    static QString StateHome(const Inputs& in);
    // The user's home folder: $HOME when it is an absolute path, else the one of the user
    // database for this user; empty when neither is.
    static QString UserHome();

private:
    Inputs in_;
};

} // namespace wv
