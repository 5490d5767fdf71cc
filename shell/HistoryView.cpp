// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/HistoryView.h"

#include "shell/Colours.h"

#include <QAccessible>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace wv {

namespace {
// Offline time is hatched with the background colour, so that it stays apart from online time
// also without telling red from green.
void fillSegment(QPainter& p, const QRect& r, ProgramColour what, const QPalette& palette) {
    p.fillRect(r, ColourFor(what, palette));
    if (what == ProgramColour::ChartOffline)
        p.fillRect(r, QBrush(palette.color(QPalette::Base), Qt::BDiagPattern));
}

QString oneLine(const QString& hint) {
    return QString(hint).replace(QLatin1Char('\n'), QStringLiteral(", "));
}
} // namespace

THistoryChart::THistoryChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HistoryChart"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("History chart"));
}

void THistoryChart::SetBars(std::vector<THistoryBar> bars) {
    const QDate chosen =
        current_ >= 0 && current_ < int(bars_.size()) ? bars_[size_t(current_)].day : QDate();
    bars_ = std::move(bars);
    current_ = int(bars_.size()) - 1;
    for (int i = 0; i < int(bars_.size()); ++i)
        if (bars_[size_t(i)].day == chosen)
            current_ = i;
    describeCurrent();
    update();
}

void THistoryChart::SetCurrentBar(int index) {
    if (bars_.empty())
        return;
    index = std::clamp(index, 0, int(bars_.size()) - 1);
    if (index == current_)
        return;
    current_ = index;
    describeCurrent();
    update();
    if (hasFocus()) {
        const QRect bar = BarRect(current_);
        QToolTip::showText(mapToGlobal(bar.topRight()), bars_[size_t(current_)].hint, this, bar);
    }
}

void THistoryChart::describeCurrent() {
    const QString text =
        current_ >= 0 ? oneLine(bars_[size_t(current_)].hint) : tr("History chart");
    setToolTip(current_ >= 0 ? bars_[size_t(current_)].hint : QString());
    if (accessibleName() != text)
        setAccessibleName(text);
}

int THistoryChart::legendHeight() const {
    return std::max(14, fontMetrics().height() + 2);
}

int THistoryChart::axisHeight() const {
    return std::max(13, fontMetrics().height());
}

QRect THistoryChart::plotArea() const {
    return QRect(1, 1, width() - 2, height() - legendHeight() - axisHeight() - 2);
}

QRect THistoryChart::BarRect(int index) const {
    const QRect area = plotArea();
    const int n = int(bars_.size());
    if (index < 0 || index >= n)
        return {};
    const int left = area.left() + int(std::floor(double(area.width()) * index / n));
    const int right = area.left() + int(std::floor(double(area.width()) * (index + 1) / n));
    return QRect(left, area.top(), std::max(1, right - left), area.height());
}

int THistoryChart::BarAt(const QPoint& pos) const {
    const QRect area = plotArea();
    if (bars_.empty() || !area.contains(pos))
        return -1;
    const int index = int(double(pos.x() - area.left()) * double(bars_.size()) / area.width());
    return std::clamp(index, 0, int(bars_.size()) - 1);
}

void THistoryChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QRect area = plotArea();
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(area.adjusted(-1, -1, 0, 0));

    // A gap between bars only while they are wide enough to keep one.
    const bool gaps = !bars_.empty() && area.width() / int(bars_.size()) >= 4;
    for (int i = 0; i < int(bars_.size()); ++i) {
        const THistoryBar& bar = bars_[size_t(i)];
        QRect r = BarRect(i);
        if (gaps)
            r.adjust(0, 0, -1, 0);
        // From the bottom: online, offline, not monitored; what is left has not come yet.
        // An outage of a few minutes keeps two pixels, so that no day hides one.
        const int height = r.height();
        auto px = [height](double share) {
            return int(std::lround(std::clamp(share, 0.0, 1.0) * height));
        };
        int online = px(bar.online);
        int offline = px(bar.offline);
        int notMonitored = px(bar.notMonitored);
        if (bar.offline > 0 && offline < 2) {
            const int extra = std::min(2, height) - offline;
            offline += extra;
            (online >= notMonitored ? online : notMonitored) -= extra;
        }
        int bottom = r.bottom() + 1;
        const std::pair<int, ProgramColour> segments[] = {
            {online, ProgramColour::ChartOnline},
            {offline, ProgramColour::ChartOffline},
            {notMonitored, ProgramColour::ChartNotMonitored}};
        for (const auto& [h, what] : segments) {
            const int top = std::max(r.top(), bottom - std::max(h, 0));
            if (bottom > top)
                fillSegment(p, QRect(r.left(), top, r.width(), bottom - top), what, palette());
            bottom = top;
        }
    }
    // The day the keyboard is on.
    if (hasFocus() && current_ >= 0) {
        p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        p.drawRect(BarRect(current_).adjusted(0, 0, -1, -1));
    }

    // Dates under the first, middle and last bars.
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm = fontMetrics();
    const int axisTop = area.bottom() + 2;
    const int axisH = axisHeight();
    const int legendH = legendHeight();
    if (!bars_.empty()) {
        auto label = [&](int index, Qt::Alignment align) {
            const THistoryBar& bar = bars_[size_t(index)];
            const QLocale locale;
            const QString text = !bar.label.isEmpty() ? bar.label
                                 : locale.language() == QLocale::C
                                     ? bar.day.toString(QStringLiteral("d/M"))
                                     : locale.toString(bar.day, QStringLiteral("d MMM"));
            const QRect place = BarRect(index);
            const int w = fm.horizontalAdvance(text);
            int x = align == Qt::AlignLeft    ? place.left()
                    : align == Qt::AlignRight ? place.right() - w + 1
                                              : place.center().x() - w / 2;
            x = std::clamp(x, 0, width() - w);
            p.drawText(QRect(x, axisTop, w, axisH), Qt::AlignLeft | Qt::AlignVCenter, text);
        };
        label(0, Qt::AlignLeft);
        if (bars_.size() > 2)
            label(int(bars_.size()) / 2, Qt::AlignHCenter);
        if (bars_.size() > 1)
            label(int(bars_.size()) - 1, Qt::AlignRight);
    }

    // The legend.
    int x = 2;
    const int legendTop = axisTop + axisH + 1;
    const std::pair<ProgramColour, QString> legend[] = {
        {ProgramColour::ChartOnline, tr("Online")},
        {ProgramColour::ChartOffline, tr("Offline")},
        {ProgramColour::ChartNotMonitored, tr("Not monitored")}};
    const int box = std::max(10, fm.ascent() - 1);
    for (const auto& [what, text] : legend) {
        fillSegment(p, QRect(x, legendTop + (legendH - box) / 2, box, box), what, palette());
        x += box + 3;
        const int w = fm.horizontalAdvance(text);
        p.drawText(QRect(x, legendTop, w, legendH), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += w + 12;
    }
}

bool THistoryChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = BarAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), bars_[size_t(index)].hint, this, BarRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void THistoryChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int index = BarAt(event->position().toPoint());
        if (index >= 0) {
            SetCurrentBar(index);
            emit dayClicked(bars_[size_t(index)].day);
        }
    }
    QWidget::mouseReleaseEvent(event);
}

void THistoryChart::keyPressEvent(QKeyEvent* event) {
    if (bars_.empty() || event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int last = int(bars_.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        SetCurrentBar(current_ - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        SetCurrentBar(current_ + 1);
        break;
    case Qt::Key_PageUp:
        SetCurrentBar(current_ - 7);
        break;
    case Qt::Key_PageDown:
        SetCurrentBar(current_ + 7);
        break;
    case Qt::Key_Home:
        SetCurrentBar(0);
        break;
    case Qt::Key_End:
        SetCurrentBar(last);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (current_ >= 0)
            emit dayClicked(bars_[size_t(current_)].day);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void THistoryChart::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void THistoryChart::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

THistoryView::THistoryView(QWidget* parent)
    : QWidget(parent), cboxPeriod_(new QComboBox(this)), chart_(new THistoryChart(this)),
      lblFigures_(new QLabel(this)), lbOutages_(new QListWidget(this)) {
    cboxPeriod_->setObjectName(QStringLiteral("cboxPeriod"));
    cboxPeriod_->addItem(tr("Last 7 days"), 7);
    cboxPeriod_->addItem(tr("Last 30 days"), 30);
    cboxPeriod_->addItem(tr("Last 90 days"), 90);
    cboxPeriod_->addItem(tr("Everything"), 0);
    cboxPeriod_->setCurrentIndex(1);
    cboxPeriod_->setToolTip(tr("Days shown"));
    cboxPeriod_->setAccessibleName(tr("Period"));
    lblFigures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFigures_->setObjectName(QStringLiteral("lblFigures"));
    lblFigures_->setWordWrap(true);
    lblFigures_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbOutages_->setObjectName(QStringLiteral("lbOutages"));
    lbOutages_->setToolTip(tr("The longest outages of the period"));
    lbOutages_->setAccessibleName(tr("Longest outages"));
    connect(cboxPeriod_, &QComboBox::currentIndexChanged, this, [this] { emit periodChanged(); });
}

int THistoryView::PeriodDays() const {
    return cboxPeriod_->currentData().toInt();
}

void THistoryView::resizeEvent(QResizeEvent* /*event*/) {
    const int w = width();
    const int h = height();
    const QSize period = cboxPeriod_->sizeHint().expandedTo(QSize(110, 21));
    cboxPeriod_->setGeometry(2, 2, period.width(), period.height());
    const int listHeight = std::max(40, h * 22 / 100);
    const int figuresHeight = 4 * fontMetrics().height() + 2; // four lines of words
    const int chartTop = period.height() + 6;
    const int chartHeight = std::max(40, h - chartTop - figuresHeight - listHeight - 6);
    chart_->setGeometry(2, chartTop, w - 4, chartHeight);
    lblFigures_->setGeometry(4, chartTop + chartHeight + 2, w - 8, figuresHeight);
    lbOutages_->setGeometry(2, h - listHeight - 2, w - 4, listHeight);
}

} // namespace wv
