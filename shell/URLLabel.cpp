// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/URLLabel.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace wv {

namespace {
TURLLabel::Opener& opener() {
    static TURLLabel::Opener fn;
    return fn;
}
} // namespace

TURLLabel::TURLLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    hiFont_ = font();
    hiFont_.setUnderline(true);
    hiColor_ = QColor(0, 0, 128);
}

TURLLabel::~TURLLabel() = default;

void TURLLabel::SetHiFont(const QFont& font) {
    hiFont_ = font;
    update();
}

void TURLLabel::SetHiColor(const QColor& color) {
    hiColor_ = color;
    update();
}

void TURLLabel::SetOpener(Opener fn) {
    opener() = std::move(fn);
}

bool TURLLabel::OpenURL() {
    const QUrl target(url_, QUrl::TolerantMode);
    if (opener())
        return opener()(target);
    return QDesktopServices::openUrl(target);
}

void TURLLabel::ShowHighlight() {
    if (highlighted_)
        return;
    savedFont_ = font();
    savedPalette_ = palette();
    setFont(hiFont_);
    QPalette p = palette();
    p.setColor(foregroundRole(), hiColor_);
    setPalette(p);
    highlighted_ = true;
    repaint();
}

void TURLLabel::HideHighlight() {
    if (!highlighted_)
        return;
    highlighted_ = false;
    setFont(savedFont_);
    setPalette(savedPalette_);
    repaint();
}

void TURLLabel::enterEvent(QEnterEvent* event) {
    ShowHighlight();
    QLabel::enterEvent(event);
}

void TURLLabel::leaveEvent(QEvent* event) {
    if (!hasFocus())
        HideHighlight();
    QLabel::leaveEvent(event);
}

void TURLLabel::focusInEvent(QFocusEvent* event) {
    ShowHighlight();
    QLabel::focusInEvent(event);
}

void TURLLabel::focusOutEvent(QFocusEvent* event) {
    if (!underMouse())
        HideHighlight();
    QLabel::focusOutEvent(event);
}

void TURLLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        OpenURL();
        emit clicked();
        event->accept();
        return;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        OpenURL();
        emit clicked();
    }
}

} // namespace wv
