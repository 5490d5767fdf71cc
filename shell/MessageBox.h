// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace wv {

// Every message and question of the program goes through here: modal, titled with the
// application title. Tests switch on recording, so nothing blocks: texts are kept and
// questions get the answer set with setNextAnswer().
class MessageBox {
public:
    // One OK button.
    static void show(const QString& text);
    // Yes/No question; true for Yes.
    static bool question(const QString& text);

    static void setParent(QWidget* parent);

    // While the session ends nobody is there to answer a box: texts go to standard error and
    // questions are answered No, so nothing waits. Stays on once set (tests reset it by
    // startRecording()).
    static void setSessionEnding(bool ending);
    static bool sessionEnding();

    // Test seam.
    static void startRecording();
    static void stopRecording();
    static bool isRecording();
    static QStringList recorded();
    static QStringList takeRecorded();
    static void setNextAnswer(bool yes);
    // Runs while a recorded box would be open, as the program's own handlers run inside a
    // real box's loop (a poll, for instance).
    static void setWhileOpen(std::function<void()> action);
};

} // namespace wv
