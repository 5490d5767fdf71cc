// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <cstdio>
#include <utility>

namespace wv {

namespace {
struct State {
    bool recording = false;
    QStringList texts;
    bool nextAnswer = true;
    QPointer<QWidget> parent;
    std::function<void()> whileOpen;
    bool sessionEnding = false;
};
State& state() {
    static State s;
    return s;
}
void runWhileOpen() {
    if (auto action = std::exchange(state().whileOpen, nullptr))
        action();
}
QString title() {
    const QString t = QApplication::applicationName();
    return t.isEmpty() ? QStringLiteral("Wirevane") : t;
}

// The main window stays on top once shown, and a box often comes from a tray-only program: keep
// the box above every normal window, in front and with the focus, so it is never hidden behind
// the main window. The text is shown as typed (an address like <b>x</b> is no markup).
int execOnTop(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    // Closing a box never counts as closing the program's last window.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    // Modality first: QMessageBox resets its window flags when it is set.
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.show();
    box.raise();
    box.activateWindow();
    return box.exec();
}

// Writes the text to standard error instead of a box; true when the session is ending.
bool toStandardError(const QString& text) {
    if (!state().sessionEnding)
        return false;
    std::fprintf(stderr, "%s: %s\n", title().toLocal8Bit().constData(),
                 text.toLocal8Bit().constData());
    std::fflush(stderr);
    return true;
}
} // namespace

void MessageBox::show(const QString& text) {
    if (toStandardError(text))
        return;
    if (state().recording) {
        state().texts << text;
        runWhileOpen();
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, state().parent);
    execOnTop(box);
}

bool MessageBox::question(const QString& text) {
    if (toStandardError(text))
        return false;
    if (state().recording) {
        state().texts << text;
        runWhileOpen();
        const bool answer = state().nextAnswer;
        state().nextAnswer = true;
        return answer;
    }
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::Yes | QMessageBox::No,
                    state().parent);
    box.setDefaultButton(QMessageBox::Yes);
    return execOnTop(box) == QMessageBox::Yes;
}

void MessageBox::setParent(QWidget* parent) {
    state().parent = parent;
}

void MessageBox::setSessionEnding(bool ending) {
    state().sessionEnding = ending;
}
bool MessageBox::sessionEnding() {
    return state().sessionEnding;
}

void MessageBox::startRecording() {
    state().sessionEnding = false;
    state().recording = true;
    state().texts.clear();
    state().nextAnswer = true;
}
void MessageBox::stopRecording() {
    state().recording = false;
}
bool MessageBox::isRecording() {
    return state().recording;
}
QStringList MessageBox::recorded() {
    return state().texts;
}
QStringList MessageBox::takeRecorded() {
    QStringList t;
    t.swap(state().texts);
    return t;
}
void MessageBox::setNextAnswer(bool yes) {
    state().nextAnswer = yes;
}
void MessageBox::setWhileOpen(std::function<void()> action) {
    state().whileOpen = std::move(action);
}

} // namespace wv
