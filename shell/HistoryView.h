#pragma once
// The History page's widgets: a bar per day split into online, offline and not-monitored
// shares, the period's figures in words and the longest outages. The page shows what it is
// given; the program computes it.
#include <QDate>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;

namespace wv {

// One day's bar: the shares of the whole day (they add up to at most 1; the rest of a day
// that has not passed yet stays empty) and the hint shown when the mouse rests on it.
struct THistoryBar {
    QDate day;     // the first day of the bar
    QString label; // under the bar when it is labelled; empty: day and month
    double online = 0;
    double offline = 0;
    double notMonitored = 0;
    QString hint;
};

class THistoryChart : public QWidget {
    Q_OBJECT
public:
    static const QColor kOnline;
    static const QColor kOffline;
    static const QColor kNotMonitored;

    explicit THistoryChart(QWidget* parent = nullptr);

    void SetBars(std::vector<THistoryBar> bars);
    const std::vector<THistoryBar>& Bars() const { return bars_; }
    // Where the bar of day `index` is drawn, and which bar lies under a point (-1: none).
    QRect BarRect(int index) const;
    int BarAt(const QPoint& pos) const;

signals:
    void dayClicked(const QDate& day);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect plotArea() const;

    std::vector<THistoryBar> bars_;
};

// The page: the period to show, the chart, the figures and the list of longest outages.
class THistoryView : public QWidget {
    Q_OBJECT
public:
    explicit THistoryView(QWidget* parent = nullptr);

    QComboBox* cboxPeriod() const { return cboxPeriod_; }
    THistoryChart* Chart() const { return chart_; }
    QLabel* lblFigures() const { return lblFigures_; }
    QListWidget* lbOutages() const { return lbOutages_; }

    // Days in the chosen period; 0 stands for everything.
    int PeriodDays() const;

signals:
    void periodChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QComboBox* cboxPeriod_;
    THistoryChart* chart_;
    QLabel* lblFigures_;
    QListWidget* lbOutages_;
};

} // namespace wv
