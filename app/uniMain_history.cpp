// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The History page and the notification on every change of the connection: the history is
// kept beside the log data set, fed with each new entry, and rebuilt only after the log was
// edited in the grid.
#include "app/uniMain.h"

#include "app/Formats.h"
#include "app/History.h"
#include "base/Clock.h"
#include "base/ErrorReport.h"
#include "platform/DesktopNotifier.h"
#include "platform/IniFile.h"
#include "shell/HistoryView.h"
#include "shell/MessageBox.h"
#include "table/CommaText.h"
#include "table/DataSet.h"
#include "table/SdfData.h"
#include "table/TextUtil.h"
#include "ui_uniMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>

namespace wv {

// Watches the log data set: entries appended and posted are added to the history at once;
// any other change (an edit, insert or delete in the grid, a reopen) makes it stale, and it
// is read anew from the table when next asked for.
class THistoryFeed : public QObject, public TDataSetView {
public:
    THistoryFeed(QObject* parent, const Clock& clock, std::function<void()> changed)
        : QObject(parent), clock_(clock), changed_(std::move(changed)) {}
    ~THistoryFeed() override {
        if (table_)
            table_->DetachView(this);
    }

    void Attach(TTextDataSet* table) {
        if (table_ == table)
            return;
        if (table_)
            table_->DetachView(this);
        table_ = table;
        stale_ = true;
        if (table_)
            table_->AttachView(this);
    }

    THistory& Current() {
        while (!Prepare(-1)) {
        }
        return history_;
    }

    // Brings the history up to date, reading the log for about `budgetMs` at most (-1: to the
    // end); false while rows remain, to be read by the next call. A long log is read in slices
    // between which the window and the poll go on.
    bool Prepare(int budgetMs) {
        if (stale_)
            startRebuild();
        if (!building_)
            return true;
        QElapsedTimer timer;
        timer.start();
        return step(timer, budgetMs);
    }

    // The row of the day's first entry; for a day without entries, the last entry before it
    // (or the first after it when there is none before). -1 for an empty log.
    int RowOfDay(const QDate& day) {
        Current();
        if (firstRows_.empty())
            return -1;
        auto it = firstRows_.lower_bound(day.toJulianDay());
        if (it != firstRows_.end() && it->first == day.toJulianDay())
            return it->second;
        if (it == firstRows_.begin())
            return it->second;
        --it;
        // The last entry of that earlier day: the row before the next day's first entry.
        auto next = std::next(it);
        return next == firstRows_.end() ? lastRow_ : next->second - 1;
    }

    // TDataSetView
    void dataSetOpened(TDataSet&) override { markStale(); }
    void dataSetClosed(TDataSet&) override { markStale(); }
    void dataSetDestroyed(TDataSet&) override {
        table_ = nullptr;
        stale_ = true;
    }
    void recordsChanged(TDataSet&) override { markStale(); }
    void rowInserted(TDataSet&, int row) override { staleIfFed(row); }
    void rowRemoved(TDataSet&, int row) override { staleIfFed(row); }
    void rowChanged(TDataSet&, int row) override { staleIfFed(row); }
    void stateChanged(TDataSet&) override { catchUp(); }
    void recordMoved(TDataSet&) override { catchUp(); }

private:
    void markStale() {
        building_ = false;
        if (!stale_) {
            stale_ = true;
            changed_();
        }
    }
    void staleIfFed(int row) {
        if (row < (building_ ? nextRow_ : fed_))
            markStale();
    }
    // Adds the rows posted since the last call, in Browse state only (an appended record
    // counts once it is posted).
    void catchUp() {
        if (stale_ || building_ || !table_ || table_->State() != TDataSetState::dsBrowse)
            return;
        const int rows = table_->RowCount();
        if (rows < fed_) {
            markStale();
            return;
        }
        if (rows == fed_)
            return;
        history_.SetNow(clock_.now().toSecsSinceEpoch());
        for (int row = fed_; row < rows; ++row)
            add(row);
        fed_ = rows;
        lastRow_ = rows - 1;
        changed_();
    }
    void startRebuild() {
        history_.Clear();
        firstRows_.clear();
        lastJd_ = 0;
        fed_ = 0;
        nextRow_ = 0;
        lastRow_ = -1;
        stale_ = false;
        building_ = false;
        fields_[0] = fields_[1] = fields_[2] = -1;
        if (!table_ || !table_->Active())
            return;
        const char* names[] = {"DD/MM/YY", "TIME", "MESSAGE"};
        for (int i = 0; i < 3; ++i)
            if (TField* f = table_->FindField(names[i])) {
                fields_[i] = f->Index();
                fieldNo_[i] = f->FieldNo();
                sizes_[i] = std::size_t(f->Size());
            }
        history_.SetNow(clock_.now().toSecsSinceEpoch());
        building_ = true;
    }
    bool step(const QElapsedTimer& timer, int budgetMs) {
        // A record being built in the grid is no entry yet, wherever it stands; the rows after
        // it are. Rows are counted in Browse state.
        const int inserted = table_->InsertedRow();
        const int rows = table_->RowCount();
        for (; nextRow_ < rows; ++nextRow_) {
            if (budgetMs >= 0 && (nextRow_ & 4095) == 4095 && timer.elapsed() >= budgetMs)
                return false;
            if (nextRow_ != inserted) {
                add(nextRow_);
                lastRow_ = nextRow_;
            }
        }
        fed_ = rows - (inserted >= 0 ? 1 : 0);
        building_ = false;
        return true;
    }
    // Reads the three fields of a row in one pass over its line, by the same comma-text rule
    // and widths as the table's own fields.
    void add(int row) {
        for (std::string& value : values_)
            value.clear();
        if (fields_[0] >= 0 && fields_[1] >= 0 && fields_[2] >= 0) {
            TCommaTextReader reader(table_->RowLine(row));
            const int last = std::max({fieldNo_[0], fieldNo_[1], fieldNo_[2]});
            for (int no = 1; no <= last; ++no) {
                const int slot = no == fieldNo_[0]   ? 0
                                 : no == fieldNo_[1] ? 1
                                 : no == fieldNo_[2] ? 2
                                                     : -1;
                if (slot < 0) {
                    if (!reader.skip())
                        break;
                    continue;
                }
                if (!reader.next(values_[slot]))
                    break;
                values_[slot].resize(utf8PrefixLength(values_[slot], sizes_[slot]));
            }
        }
        history_.Add(values_[0], values_[1], values_[2]);
        const qint64 jd = history_.LastDate();
        if (jd != 0 && jd != lastJd_) {
            firstRows_.emplace(jd, row); // keeps the first row of a day that comes back
            lastJd_ = jd;
        }
    }

    const Clock& clock_;
    std::function<void()> changed_;
    TTextDataSet* table_ = nullptr;
    THistory history_;
    std::map<qint64, int> firstRows_;
    qint64 lastJd_ = 0;
    int fed_ = 0;
    int lastRow_ = -1; // the row of the last entry added
    int nextRow_ = 0;  // while reading the log anew: the next row to read
    bool building_ = false;
    int fields_[3] = {-1, -1, -1};
    int fieldNo_[3] = {0, 0, 0};
    std::size_t sizes_[3] = {0, 0, 0};
    std::string values_[3];
    bool stale_ = true;
};

namespace {
const QString kNotifyKey = QStringLiteral("NotifyOnChange");

// A number and a unit, in the user's language.
QString unit(const char* text, qint64 n) {
    return QCoreApplication::translate("wv::TfrmMain", text).arg(QLocale().toString(n));
}

// A length of time in the largest two units, in the user's language.
QString duration(qint64 seconds) {
    const char* const s = QT_TRANSLATE_NOOP("wv::TfrmMain", "%1 s");
    const char* const min = QT_TRANSLATE_NOOP("wv::TfrmMain", "%1 min");
    const char* const h = QT_TRANSLATE_NOOP("wv::TfrmMain", "%1 h");
    const char* const d = QT_TRANSLATE_NOOP("wv::TfrmMain", "%1 d");
    seconds = std::max<qint64>(seconds, 0);
    if (seconds < 60)
        return unit(s, seconds);
    const qint64 minutes = seconds / 60;
    if (minutes < 60)
        return unit(min, minutes);
    const qint64 hours = minutes / 60;
    if (hours < 24)
        return unit(h, hours) +
               (minutes % 60 ? QLatin1Char(' ') + unit(min, minutes % 60) : QString());
    return unit(d, hours / 24) + (hours % 24 ? QLatin1Char(' ') + unit(h, hours % 24) : QString());
}

QString dateAndTime(qint64 secs) {
    const QDateTime t = QDateTime::fromSecsSinceEpoch(secs);
    return ScreenDate(t.date()) + QLatin1Char(' ') + FormatLongTime(t.time());
}

// 99.96 % reads 99.9 %, not 100 %, as long as any time was offline.
QString percent(double value) {
    if (value >= 100.0)
        return QLocale().toString(100);
    return QLocale().toString(std::floor(value * 10.0) / 10.0, 'f', 1);
}
} // namespace

void TfrmMain::setupHistory() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsHistory"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    historyView_ = new THistoryView(page);
    layout->addWidget(historyView_);
    ui_->PageControl1->addTab(page, tr("History"));
    historyPage_ = page;

    historyFeed_ = new THistoryFeed(this, env_.clock, [this] {
        historyStale_ = true;
        // Follow new entries while the page is on display; otherwise when it is shown.
        if (ui_->PageControl1->currentWidget() == historyPage_)
            QTimer::singleShot(0, this, [this] {
                if (historyStale_ && ui_->PageControl1->currentWidget() == historyPage_)
                    RefreshHistory();
            });
    });
    connect(ui_->PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (ui_->PageControl1->currentWidget() == historyPage_)
            guarded([this] { RefreshHistory(); });
    });
    connect(historyView_, &THistoryView::periodChanged, this,
            [this] { guarded([this] { RefreshHistory(); }); });
    connect(historyView_->Chart(), &THistoryChart::dayClicked, this,
            [this](const QDate& day) { guarded([this, day] { HistoryDayClick(day); }); });
    // Today's bar grows while the page is on display.
    auto* tick = new QTimer(this);
    tick->setInterval(60 * 1000);
    connect(tick, &QTimer::timeout, this, [this] {
        if (ui_->PageControl1->currentWidget() == historyPage_ && isVisible())
            guarded([this] { RefreshHistory(); });
    });
    tick->start();
    connect(ui_->cbNotifyOnChange, &QCheckBox::clicked, this,
            [this] { guarded([this] { cbNotifyOnChangeClick(); }); });
}

void TfrmMain::SetNotifier(DesktopNotifier* notifier) {
    notifier_ = notifier;
    if (notifier_)
        notifier_->OnClicked = [this] { mnuOptionsClick(); };
}

THistory& TfrmMain::History() {
    historyFeed_->Attach(table_.get());
    return historyFeed_->Current();
}

void TfrmMain::RefreshHistory() {
    historyStale_ = false;
    historyFeed_->Attach(table_.get());
    // A long log is read in slices of 50 ms; the page follows when it is read.
    if (!historyFeed_->Prepare(50)) {
        historyView_->lblFigures()->setText(tr("Reading the log\u2026"));
        QTimer::singleShot(0, this, [this] {
            if (ui_->PageControl1->currentWidget() == historyPage_)
                guarded([this] { RefreshHistory(); });
            else
                historyStale_ = true;
        });
        return;
    }
    THistory& history = historyFeed_->Current();
    const QDateTime now = env_.clock.now();
    const qint64 nowSecs = now.toSecsSinceEpoch();
    const QDate today = now.date();
    const int days = historyView_->PeriodDays();
    QDate first = today.addDays(1 - std::max(days, 1));
    if (days == 0 && history.FirstDay().isValid() && history.FirstDay() < today)
        first = history.FirstDay();

    // A bar per day while the days fit the chart (three pixels a bar); else a bar per week,
    // or per month, with the year in the axis.
    const qint64 dayCount = first.daysTo(today) + 1;
    const qint64 fit = std::max(historyView_->Chart()->width(), 300) / 3;
    const int grouping = dayCount <= fit ? 0 : (dayCount / 7 <= fit ? 1 : 2);
    std::vector<THistoryBar> bars;
    bars.reserve(size_t(grouping == 0 ? dayCount : dayCount / 7 + 2));
    for (QDate d = first; d <= today;) {
        QDate last = d;
        if (grouping == 1)
            last = d.addDays(7 - d.dayOfWeek()); // to Sunday
        else if (grouping == 2)
            last = QDate(d.year(), d.month(), d.daysInMonth());
        last = std::min(last, today);
        THistoryBar bar;
        bar.day = d;
        qint64 online = 0, offline = 0, notMonitored = 0, length = 0;
        int outages = 0;
        if (grouping == 0) {
            const DayFigures f = history.Day(d, nowSecs);
            online = f.online, offline = f.offline, notMonitored = f.notMonitored;
            length = f.length, outages = f.outages;
        } else {
            const PeriodFigures f = history.Period(d, last, nowSecs);
            online = f.online, offline = f.offline, notMonitored = f.notMonitored;
            length = history.DayStart(last.addDays(1)) - history.DayStart(d);
            outages = f.outages;
        }
        const double share = double(std::max<qint64>(length, 1));
        bar.online = double(online) / share;
        bar.offline = double(offline) / share;
        bar.notMonitored = double(notMonitored) / share;
        QString offlineText = tr("Offline: %1").arg(duration(offline));
        if (outages > 0)
            offlineText += tr(", %Ln outage(s)", "", outages);
        const QString when = grouping == 0
                                 ? QLocale().toString(d, QStringLiteral("ddd ")) + ScreenDate(d)
                                 : ScreenDate(d) + QStringLiteral(" \u2013 ") + ScreenDate(last);
        bar.hint = when + QLatin1Char('\n') + tr("Online: %1").arg(duration(online)) +
                   QLatin1Char('\n') + offlineText + QLatin1Char('\n') +
                   tr("Not monitored: %1").arg(duration(notMonitored));
        if (grouping == 2)
            bar.label = QLocale().language() == QLocale::C
                            ? d.toString(QStringLiteral("M/yyyy"))
                            : QLocale().toString(d, QStringLiteral("MMM yyyy"));
        else if (grouping == 1 || first.year() != today.year())
            bar.label = ScreenDate(d);
        bars.push_back(std::move(bar));
        d = last.addDays(1);
    }
    historyView_->Chart()->SetBars(std::move(bars));

    const PeriodFigures p = history.Period(first, today, nowSecs);
    QString text =
        days == 0 ? tr("Since %1: ").arg(ScreenDate(first)) : tr("Last %Ln day(s): ", "", days);
    if (p.Availability() < 0) {
        text += tr("not monitored.");
    } else {
        text += tr("online %1 % of the monitored time. ").arg(percent(p.Availability()));
        if (p.outages == 0)
            text += tr("No outage.");
        else
            text += tr("%Ln outage(s), %1 offline in all; the longest %2 from %3.", "", p.outages)
                        .arg(duration(p.totalOutage), duration(p.longestDuration),
                             dateAndTime(p.longest.start));
    }
    if (history.Skipped() > 0)
        text += QLatin1Char(' ') +
                tr("%Ln log entries left out (unreadable or out of order).", "", history.Skipped());
    historyView_->lblFigures()->setText(text);
    historyView_->Chart()->setAccessibleDescription(text);

    QListWidget* list = historyView_->lbOutages();
    list->clear();
    for (const Outage& o : history.Longest(first, today, 5, nowSecs)) {
        list->addItem(o.end == Outage::kOngoing
                          ? tr("%1  from %2 until now")
                                .arg(duration(o.Duration(nowSecs)), dateAndTime(o.start))
                          : tr("%1  from %2 to %3")
                                .arg(duration(o.Duration(nowSecs)), dateAndTime(o.start),
                                     dateAndTime(o.end)));
    }
    if (list->count() == 0)
        list->addItem(tr("No outages in this period."));
}

void TfrmMain::HistoryDayClick(const QDate& day) {
    History();
    const int row = historyFeed_->RowOfDay(day);
    if (row >= 0)
        table_->GotoRow(row);
    ui_->dedDate->setDate(day);
    ui_->PageControl1->setCurrentWidget(ui_->tsLog);
}

void TfrmMain::cbNotifyOnChangeClick() {
    // Kept at once, so that a reload of the settings never takes the choice back.
    try {
        IniFile ini(iniPath_);
        ini.WriteBool(QStringLiteral("General"), kNotifyKey, ui_->cbNotifyOnChange->isChecked());
    } catch (...) {
        MessageBox::show(tr("Error in TfrmMain.SaveAll"));
    }
}

void TfrmMain::NotifyChange(const QString& ip, const QString& message) {
    if (!notifier_ || !ui_->cbNotifyOnChange->isChecked())
        return;
    const QDateTime now = env_.clock.now();
    if (message == QStringLiteral("Online")) {
        // Only an outage that this very entry ended has a length to tell; a log still being
        // read does not wait for the length.
        historyFeed_->Attach(table_.get());
        const Outage o =
            historyFeed_->Prepare(50) ? historyFeed_->Current().LastEndedOutage() : Outage{0, 0};
        const QString body = o.end != 0 && std::llabs(o.end - now.toSecsSinceEpoch()) <= 5
                                 ? tr("Online again after %1").arg(duration(o.end - o.start))
                                 : tr("Online again");
        notifier_->Notify(tr("Online"), body + QStringLiteral(" \u2014 ") + ip);
    } else if (message == QStringLiteral("Offline")) {
        notifier_->Notify(tr("Offline"), tr("Offline since %1").arg(FormatLongTime(now.time())));
    }
}

} // namespace wv
