// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/uniabout.h"

#include "shell/Application.h"
#include "shell/Colours.h"
#include "shell/URLLabel.h"
#include "ui_uniabout.h"

#include <QLayout>
#include <QShowEvent>

namespace wv {

namespace {

void setTextColor(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    w->setPalette(p);
}

// Links in navy, lime and underlined under the mouse or with the focus, in shades readable on
// the window's palette.
void setupLink(TURLLabel* link, const QString& url) {
    link->SetURL(url);
    QFont normal = link->font();
    normal.setBold(false);
    normal.setUnderline(false);
    link->setFont(normal);
    setTextColor(link, ColourFor(ProgramColour::Link, link->palette()));
    QFont hi = normal;
    hi.setUnderline(true);
    link->SetHiFont(hi);
    link->SetHiColor(ColourFor(ProgramColour::LinkHover, link->palette()));
    link->setAccessibleName(link->text());
}

} // namespace

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TAboutBox>()) {
    InitShellResources();
    ui_->setupUi(this);
    ui_->Label5->setText(QStringLiteral("Wirevane ver." WV_VERSION));
    // A fixed dialog frame: no resizing, no minimize or maximize buttons.
    // Above the always-on-top main window (see showEvent).
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowStaysOnTopHint);

    // The desktop's font and colours; the title half as large again, the author line a quarter.
    const QFont base = font();
    QFont title = base;
    title.setBold(true);
    title.setPointSizeF(base.pointSizeF() * 1.5);
    ui_->Label5->setFont(title);
    QFont author = base;
    author.setBold(true);
    author.setPointSizeF(base.pointSizeF() * 1.25);
    ui_->Label1->setFont(author);

    setupLink(ui_->URLLabel1, ui_->URLLabel1->text());
    setupLink(ui_->URLLabel3, ui_->URLLabel3->text());
    setupLink(ui_->URLLabel2, QStringLiteral("mailto:") + ui_->URLLabel2->text());

    // 232 x 198 as drawn, larger when the desktop's font needs it.
    GrowMinimumsToFit(this);
    layout()->activate();
    setFixedSize(QSize(232, 198).expandedTo(sizeHint()));

    ui_->OKButton->setDefault(true);
    ui_->OKButton->setFocus();
}

TAboutBox::~TAboutBox() = default;

TURLLabel* TAboutBox::HomePageLink() const {
    return ui_->URLLabel1;
}
TURLLabel* TAboutBox::SecondSiteLink() const {
    return ui_->URLLabel3;
}
TURLLabel* TAboutBox::EmailLink() const {
    return ui_->URLLabel2;
}

QPoint TAboutBox::FormPosition(const QRect& mainFrame, const QSize& size) {
    // static_cast truncates toward zero, also for a window larger than the main window.
    const int left = mainFrame.left() + static_cast<int>((mainFrame.width() - size.width()) * 0.5);
    int top = mainFrame.top() + static_cast<int>((mainFrame.height() - size.height()) * 0.5);
    if (top < mainFrame.top())
        top = mainFrame.top();
    return {left, top};
}

void TAboutBox::SetFormPosition(const QRect& mainFrame) {
    move(FormPosition(mainFrame, frameGeometry().size()));
}

void TAboutBox::FormShow() {
    if (QWidget* owner = parentWidget())
        SetFormPosition(owner->window()->frameGeometry());
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        // In front of the main window, which stays on top, and with the focus.
        raise();
        activateWindow();
    }
}

} // namespace wv
