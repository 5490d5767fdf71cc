// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/uniHelp.h"

#include "ui_uniHelp.h"

#include <QFontMetricsF>
#include <QLayout>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QTextDocument>

#include <algorithm>

namespace wv {

namespace {

const char* const kHelpText = QT_TRANSLATE_NOOP(
    "wv::THelpBox", "On the left, mark the local address, which does not belong \n"
                    "to any space internet.\n"
                    "The Status ONLINE will correspond to unchecked \n"
                    "addresses.\n"
                    "After change on the left click Refresh.\n"
                    "\n"
                    "Слева галочкой помечаете локальные адреса, \n"
                    "которые не принадлежат пространству интернета.\n"
                    "Статус ONLINE будет соответствовать \n"
                    "непомеченным адресам.\n"
                    "После изменений слева жмите Refresh.");

// The classic frame around the window: 4-pixel borders and a 19-pixel caption. The window's
// outer size is 421 x 283 with it; the window manager draws its own frame around the client
// area given here.
constexpr int kBorder = 4;
constexpr int kCaption = 19;
constexpr qreal kLargest = 12; // points: the size the window is drawn for
constexpr qreal kSmallest = 6;

// The help keeps its lines as written: each one must fit the box's width. Where the desktop's
// font runs wider than the one the window was drawn for, the largest size up to 12 point at
// which the longest line still fits is taken.
void fitFont(QPlainTextEdit* memo, const QString& text, int clientWidth) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    // The frame on both sides, the document's margins and room for the text cursor.
    const qreal room = clientWidth - 2 * memo->frameWidth() -
                       2 * memo->document()->documentMargin() - 2 * memo->cursorWidth() - 1;
    QFont font = memo->font();
    for (qreal size = kLargest; size >= kSmallest; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetricsF metrics(font);
        qreal widest = 0;
        for (QString line : lines) {
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1); // a trailing blank never moves a word to the next line
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        if (widest <= room)
            break;
    }
    memo->setFont(font);
}

} // namespace

THelpBox::THelpBox(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::THelpBox>()) {
    ui_->setupUi(this);
    // Above the always-on-top main window (see showEvent).
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowStaysOnTopHint);
    // Read-only: the help can be selected and copied, not changed.
    ui_->MemoHelp->setReadOnly(true);
    ui_->MemoHelp->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
    QFont memoFont = font();
    memoFont.setPointSizeF(std::max<qreal>(12, memoFont.pointSizeF()));
    ui_->MemoHelp->setFont(memoFont);
    // The text box sits on the window's own colour, as the rest of the dialog does.
    QPalette p = ui_->MemoHelp->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    ui_->MemoHelp->setPalette(p);
    // The size and font come first, so the text is laid out once at the width it is shown in.
    // Laid out narrower, its lines wrap, the scroll bar appears, and the box keeps the wrapped
    // lines once the scroll bar goes again.
    resize(421 - 2 * kBorder, 283 - 2 * kBorder - kCaption);
    layout()->activate();
    const QString text = tr(kHelpText);
    fitFont(ui_->MemoHelp, text, width());
    ui_->MemoHelp->setPlainText(text);
    move(306, 245);
}

THelpBox::~THelpBox() = default;

void THelpBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // In front of the main window, which stays on top, and with the focus.
        raise();
        activateWindow();
    }
}

QPlainTextEdit* THelpBox::MemoHelp() const {
    return ui_->MemoHelp;
}

} // namespace wv
