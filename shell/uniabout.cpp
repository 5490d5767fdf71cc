#include "shell/uniabout.h"

#include "shell/Application.h"
#include "shell/URLLabel.h"
#include "ui_uniabout.h"

#include <QFontMetrics>
#include <QShowEvent>

#include <algorithm>

namespace wv {

namespace {

const QColor kNavy(0, 0, 128);
const QColor kLime(0, 255, 0);
const QColor kBlack(0, 0, 0);

// The boxes of the layout were made for a narrow 8-point font; desktop fonts on Linux run wider.
// A label whose text does not fit grows about its centre, within [minX, maxX); if that is still
// too narrow, its font steps down to no smaller than 6 points. The text is never clipped.
void fitLabel(QLabel* label, int minX, int maxX) {
    QRect r = label->geometry();
    QFont f = label->font();
    const auto textSize = [&] {
        const QFontMetrics m(f);
        return QSize(m.horizontalAdvance(label->text()) + 2, m.height());
    };
    QSize need = textSize();
    if (need.width() > r.width()) {
        const int width = std::min(need.width(), maxX - minX);
        const int centre2 = 2 * r.x() + r.width(); // twice the centre, to keep halves exact
        int left = (centre2 - width) / 2;
        left = std::clamp(left, minX, maxX - width);
        r.setX(left);
        r.setWidth(width);
    }
    while (need.width() > r.width() && f.pointSizeF() > 6.0) {
        f.setPointSizeF(f.pointSizeF() - 0.5);
        need = textSize();
    }
    if (need.height() > r.height()) {
        const int grow = need.height() - r.height();
        r.adjust(0, -(grow / 2), 0, grow - grow / 2);
    }
    label->setFont(f);
    label->setGeometry(r);
}

void setTextColor(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    w->setPalette(p);
}

void setupLink(TURLLabel* link, const QString& url) {
    link->SetURL(url);
    QFont normal = link->font();
    normal.setPointSize(8);
    normal.setBold(false);
    normal.setUnderline(false);
    link->setFont(normal);
    setTextColor(link, kNavy);
    QFont hi = normal;
    hi.setUnderline(true);
    link->SetHiFont(hi);
    link->SetHiColor(kLime);
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
    setFixedSize(232, 198);

    // The application's font at 8 points stands in for the classic dialog font; text is black.
    QFont base = font();
    base.setPointSize(8);
    setFont(base);
    setTextColor(this, kBlack);
    QFont title = base;
    title.setBold(true);
    title.setPointSize(12);
    ui_->Label5->setFont(title);
    QFont author = base;
    author.setBold(true);
    author.setPointSize(10);
    ui_->Label1->setFont(author);

    setupLink(ui_->URLLabel1, ui_->URLLabel1->text());
    setupLink(ui_->URLLabel3, ui_->URLLabel3->text());
    setupLink(ui_->URLLabel2, QStringLiteral("mailto:") + ui_->URLLabel2->text());

    fitLabel(ui_->Label5, 44, 230);
    fitLabel(ui_->Label1, 44, 230);
    // Inside the frame around the links.
    for (QLabel* l : {static_cast<QLabel*>(ui_->StaticText1), static_cast<QLabel*>(ui_->URLLabel1),
                      static_cast<QLabel*>(ui_->URLLabel3), static_cast<QLabel*>(ui_->StaticText2),
                      static_cast<QLabel*>(ui_->URLLabel2)})
        fitLabel(l, 10, 223);
    fitLabel(ui_->Label2, 2, 230);

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
