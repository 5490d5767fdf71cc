// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// The connection's history, computed from the log's entries in file order: for each calendar
// day the time online, offline and not monitored, the outages, and figures over a period.
//
// The timeline: "Start of program" and "Resume" begin monitored time, offline until an
// "Online"; a first "Online" within kGrace seconds of them counts from the start itself, a
// first "Offline" from its own moment, so the moments before the first verdict are no outage.
// "Online" and "Offline" switch the state at their date and time; "Stop of program" and
// "Suspend" end monitored time.
// "Clock changed" (stamped with the clock before a change of the time or the time zone) ends
// the counting, and the "Clock set" after it (stamped with the clock after the change) goes
// on with the same state; the entries after it may be earlier than those before. Wall-clock
// time is counted once: time already counted is not counted again after the clock went back,
// and nothing is counted past `now`.
// A "Start of program" that follows a run without "Stop of program" (the program was killed)
// ends that run at its last entry. An entry whose date, time or message cannot be read, whose
// date is before 1/1/1990 or after tomorrow, that does not fit the state it meets, or that
// goes back in time is skipped and counted.
// Days are local calendar days split at midnight; a day may last 23, 23.5, 24.5 or 25 hours.
// Adding an entry costs constant time (plus one step per midnight it passes).
#include <QByteArray>
#include <QDate>
#include <QtGlobal>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace wv {

// One offline stretch inside monitored time, in seconds since the epoch; an outage still going
// on has end == kOngoing.
struct Outage {
    static constexpr qint64 kOngoing = -1;
    qint64 start = 0;
    qint64 end = kOngoing;
    // Wall-clock seconds that a change of the clock added between start and end.
    qint64 shift = 0;
    qint64 Duration(qint64 now) const {
        return std::max<qint64>(0, (end == kOngoing ? now : end) - start - shift);
    }
};

struct DayFigures {
    QDate day;
    qint64 length = 0;  // seconds in the day: 86400, or 82800 / 90000 on daylight-saving days
    qint64 elapsed = 0; // seconds of the day that have passed by `now`
    qint64 online = 0;
    qint64 offline = 0;
    qint64 notMonitored = 0; // elapsed - online - offline
    int outages = 0;         // outages that touch the day
};

struct PeriodFigures {
    QDate first;
    QDate last;
    qint64 online = 0;
    qint64 offline = 0;
    qint64 notMonitored = 0;
    int outages = 0;        // outages that touch the period
    qint64 totalOutage = 0; // offline time inside the period
    Outage longest;         // the longest of them, whole; start == end == 0 when none
    qint64 longestDuration = 0;
    // online / (online + offline) in percent; negative when nothing was monitored.
    double Availability() const {
        const qint64 monitored = online + offline;
        return monitored > 0 ? 100.0 * double(online) / double(monitored) : -1.0;
    }
};

class THistory {
public:
    enum class Kind { Start, Online, Offline, Stop, Suspend, Resume, ClockChanged, ClockSet };
    // How long after a start or a resume the first verdict counts from the start itself.
    static constexpr qint64 kGrace = 10;
    // The earliest day an entry may carry.
    static QDate EarliestDay() { return QDate(1990, 1, 1); }
    // The kind of a log message; false for a message that is none of the program's.
    static bool KindOf(std::string_view message, Kind& kind);
    enum class State { NotMonitored, Offline, Online };

    // `timePattern` is the strftime pattern the log writer formats times with.
    explicit THistory(QByteArray timePattern = {});

    void Clear();
    // Entries later than tomorrow cannot have been written yet; they are skipped.
    void SetNow(qint64 now);

    // One entry of the log, in file order: its "DD/MM/YY", "TIME" and "MESSAGE" texts.
    // Returns false when the entry was skipped.
    bool Add(std::string_view date, std::string_view time, std::string_view message);
    // One entry whose moment is known.
    bool AddAt(qint64 when, Kind kind);

    // Seconds since the epoch of a log date and time; false when either cannot be read.
    bool EntryTime(std::string_view date, std::string_view time, qint64& when);
    // Seconds of the day of a time text written with the pattern; false when unreadable.
    bool ReadTime(std::string_view text, int& seconds) const;

    // The julian day of the date the latest Add read; 0 when it could not be read.
    qint64 LastDate() const { return lastDate_; }

    int Accepted() const { return accepted_; }
    int Unreadable() const { return unreadable_; }
    int OutOfPlace() const { return outOfPlace_; }
    int Backwards() const { return backwards_; }
    int Skipped() const { return unreadable_ + outOfPlace_ + backwards_; }
    // The first day with an accepted entry; invalid while there is none.

    State CurrentState() const { return state_; }
    QDate FirstDay() const;
    // The outage that the latest accepted "Online" ended (start == end == 0 when none).
    Outage LastEndedOutage() const { return lastEnded_; }

    DayFigures Day(const QDate& day, qint64 now) const;
    PeriodFigures Period(const QDate& first, const QDate& last, qint64 now) const;
    // The outages touching [from, to), in time order, the ongoing one included.
    std::vector<Outage> OutagesBetween(qint64 from, qint64 to, qint64 now) const;
    // The `count` longest outages touching the period, longest first.
    std::vector<Outage> Longest(const QDate& first, const QDate& last, int count, qint64 now) const;

    // Local midnight starting `day`, in seconds since the epoch.
    qint64 DayStart(const QDate& day) const { return dayStart(day.toJulianDay()); }

private:
    struct Totals {
        qint64 online = 0;
        qint64 offline = 0;
    };
    struct TimeToken {
        enum Type { Hour24, Hour12, Minute, Second, AmPm, Literal } type;
        char literal = 0;
    };

    // Where the state going on counts from at `now`.
    qint64 openSince(qint64 now) const;
    template <class Visit>
    void forEachOutage(qint64 from, qint64 to, qint64 now, Visit visit) const;
    void compilePattern(const QByteArray& pattern);
    bool readWithPattern(std::string_view text, int& seconds) const;
    bool readAnyClock(std::string_view text, int& seconds) const;
    qint64 dayStart(qint64 jd) const;
    qint64 toEpoch(const QDate& date, int seconds);
    void addInterval(qint64 from, qint64 to, State state);
    void closeState(qint64 at);
    void pushOutage(qint64 start, qint64 end);
    Totals totalsOf(qint64 jd) const;

    std::vector<TimeToken> tokens_;
    bool patternUsable_ = false;
    std::string am_ = "AM";
    std::string pm_ = "PM";

    State state_ = State::NotMonitored;
    qint64 since_ = 0;        // when the current state began
    qint64 lastEntry_ = 0;    // moment of the latest accepted entry
    qint64 counted_ = 0;      // wall-clock time up to here has been counted
    bool verdictDue_ = false; // a start or resume waits for its first verdict
    // Between "Clock changed" and "Clock set": the state to go on with.
    bool clockChanging_ = false;
    State stateBeforeChange_ = State::NotMonitored;
    qint64 outageStart_ = 0; // when the outage going on began
    qint64 outageShift_ = 0; // clock shifts inside the outage going on
    bool outagesOutOfOrder_ = false;
    bool lastWasSuspend_ = false; // the latest accepted entry was a "Suspend"
    bool any_ = false;
    qint64 now_ = 0;
    qint64 lastDate_ = 0;
    int accepted_ = 0;
    int unreadable_ = 0;
    int outOfPlace_ = 0;
    int backwards_ = 0;

    qint64 baseJd_ = 0;           // julian day of days_[0]
    std::vector<Totals> days_;    // closed intervals, per day
    std::vector<Outage> outages_; // closed outages, in time order
    Outage lastEnded_{0, 0};

    // The day of the latest entry: its number, start and the start of the next day.
    qint64 cacheJd_ = 0;
    qint64 cacheStart_ = 0;
    qint64 cacheNext_ = 0;
    // The day that the latest interval ended in, from some moment of it up to its end.
    qint64 spanJd_ = 0;
    qint64 spanStart_ = 0;
    qint64 spanNext_ = 0;
    QDate today_;
    qint64 afterTomorrow_ = 0; // local midnight ending tomorrow
    std::string lastDateText_; // the latest date text read, and its day
    QDate lastDay_;
};

// "12 min", "1 h 5 min", "45 s", "2 d 3 h": a duration as people say it.
std::string FormatDuration(qint64 seconds);

} // namespace wv
