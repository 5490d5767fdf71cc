// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
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

// The chart takes the keyboard focus: the arrow keys move between days, Home and End go to the
// first and the last, Enter or Space opens the chosen day as a click does. The chosen day's
// figures are the chart's accessible name and tooltip.
class THistoryChart : public QWidget {
    Q_OBJECT
public:
    explicit THistoryChart(QWidget* parent = nullptr);

    // Keeps the chosen day when it is still shown, otherwise chooses the last one.
    void SetBars(std::vector<THistoryBar> bars);
    const std::vector<THistoryBar>& Bars() const { return bars_; }
    // The day the keyboard is on (-1 without bars).
    int CurrentBar() const { return current_; }
    void SetCurrentBar(int index);
    // Where the bar of day `index` is drawn, and which bar lies under a point (-1: none).
    QRect BarRect(int index) const;
    int BarAt(const QPoint& pos) const;

signals:
    void dayClicked(const QDate& day);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRect plotArea() const;
    int legendHeight() const;
    int axisHeight() const;
    void describeCurrent();

    std::vector<THistoryBar> bars_;
    int current_ = -1;
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
