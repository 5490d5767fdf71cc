#include "shell/HistoryView.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace wv {

// Green, red and a light grey differ in lightness as well as in hue, so they stay apart for
// readers who do not tell red from green.
const QColor THistoryChart::kOnline(46, 160, 67);
const QColor THistoryChart::kOffline(200, 30, 30);
const QColor THistoryChart::kNotMonitored(205, 205, 205);

namespace {
constexpr int kLegendHeight = 14;
constexpr int kAxisHeight = 13;
} // namespace

THistoryChart::THistoryChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HistoryChart"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void THistoryChart::SetBars(std::vector<THistoryBar> bars) {
    bars_ = std::move(bars);
    update();
}

QRect THistoryChart::plotArea() const {
    return QRect(1, 1, width() - 2, height() - kLegendHeight - kAxisHeight - 2);
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
        const std::pair<int, QColor> segments[] = {
            {online, kOnline}, {offline, kOffline}, {notMonitored, kNotMonitored}};
        for (const auto& [h, colour] : segments) {
            const int top = std::max(r.top(), bottom - std::max(h, 0));
            if (bottom > top)
                p.fillRect(QRect(r.left(), top, r.width(), bottom - top), colour);
            bottom = top;
        }
    }

    // Dates under the first, middle and last bars.
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm = fontMetrics();
    const int axisTop = area.bottom() + 2;
    if (!bars_.empty()) {
        auto label = [&](int index, Qt::Alignment align) {
            const THistoryBar& bar = bars_[size_t(index)];
            const QString text =
                bar.label.isEmpty() ? bar.day.toString(QStringLiteral("d/M")) : bar.label;
            const QRect place = BarRect(index);
            const int w = fm.horizontalAdvance(text);
            int x = align == Qt::AlignLeft    ? place.left()
                    : align == Qt::AlignRight ? place.right() - w + 1
                                              : place.center().x() - w / 2;
            x = std::clamp(x, 0, width() - w);
            p.drawText(QRect(x, axisTop, w, kAxisHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
        };
        label(0, Qt::AlignLeft);
        if (bars_.size() > 2)
            label(int(bars_.size()) / 2, Qt::AlignHCenter);
        if (bars_.size() > 1)
            label(int(bars_.size()) - 1, Qt::AlignRight);
    }

    // The legend.
    int x = 2;
    const int legendTop = axisTop + kAxisHeight + 1;
    const std::pair<QColor, QString> legend[] = {
        {kOnline, tr("Online")}, {kOffline, tr("Offline")}, {kNotMonitored, tr("Not monitored")}};
    for (const auto& [colour, text] : legend) {
        p.fillRect(QRect(x, legendTop + 2, 10, 10), colour);
        x += 13;
        const int w = fm.horizontalAdvance(text);
        p.drawText(QRect(x, legendTop, w, kLegendHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
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
        if (index >= 0)
            emit dayClicked(bars_[size_t(index)].day);
    }
    QWidget::mouseReleaseEvent(event);
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
    lblFigures_->setObjectName(QStringLiteral("lblFigures"));
    lblFigures_->setWordWrap(true);
    lblFigures_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbOutages_->setObjectName(QStringLiteral("lbOutages"));
    lbOutages_->setToolTip(tr("The longest outages of the period"));
    connect(cboxPeriod_, &QComboBox::currentIndexChanged, this, [this] { emit periodChanged(); });
}

int THistoryView::PeriodDays() const {
    return cboxPeriod_->currentData().toInt();
}

void THistoryView::resizeEvent(QResizeEvent* /*event*/) {
    const int w = width();
    const int h = height();
    cboxPeriod_->setGeometry(2, 2, 110, 21);
    const int listHeight = std::max(40, h * 22 / 100);
    const int figuresHeight = 4 * fontMetrics().height() + 2; // four lines of words
    const int chartTop = 27;
    const int chartHeight = std::max(40, h - chartTop - figuresHeight - listHeight - 6);
    chart_->setGeometry(2, chartTop, w - 4, chartHeight);
    lblFigures_->setGeometry(4, chartTop + chartHeight + 2, w - 8, figuresHeight);
    lbOutages_->setGeometry(2, h - listHeight - 2, w - 4, listHeight);
}

} // namespace wv
