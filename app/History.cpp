// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/History.h"

#include "app/Formats.h"

#include <QDateTime>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <langinfo.h>

namespace wv {

namespace {

constexpr qint64 kDay = 86400;

bool sameTextIgnoringCase(std::string_view text, std::size_t pos, const std::string& word) {
    if (word.empty() || pos + word.size() > text.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[pos + i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

void skipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
}

// One or two digits.
bool readNumber(std::string_view text, std::size_t& pos, int& value) {
    int digits = 0;
    value = 0;
    while (pos < text.size() && digits < 2 && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

// The hour of a 24-hour clock from a 12-hour one and its marker (0 = AM, 1 = PM).
bool twelveToTwentyFour(int hour, int marker, int& out) {
    if (hour < 1 || hour > 12 || marker < 0)
        return false;
    out = hour % 12 + (marker == 1 ? 12 : 0);
    return true;
}

} // namespace

THistory::THistory(QByteArray timePattern) {
    if (timePattern.isEmpty())
        timePattern = Formats().LongTimeFormat;
    const char* am = ::nl_langinfo(AM_STR);
    const char* pm = ::nl_langinfo(PM_STR);
    if (am && *am)
        am_ = am;
    if (pm && *pm)
        pm_ = pm;
    compilePattern(timePattern);
    SetNow(QDateTime::currentSecsSinceEpoch());
}

void THistory::compilePattern(const QByteArray& pattern) {
    tokens_.clear();
    patternUsable_ = true;
    auto add = [this](TimeToken::Type type, char literal = 0) {
        tokens_.push_back(TimeToken{type, literal});
    };
    // %r stands for the locale's 12-hour format; expanded once, never into itself.
    QByteArray text = pattern;
    if (text.contains("%r")) {
        const char* ampm = ::nl_langinfo(T_FMT_AMPM);
        const QByteArray expansion = (ampm && *ampm) ? QByteArray(ampm) : "%I:%M:%S %p";
        if (!expansion.contains("%r"))
            text.replace("%r", expansion);
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '%') {
            add(TimeToken::Literal, c);
            continue;
        }
        ++i;
        while (i < text.size() && std::strchr("-_0^#EO", text[i]))
            ++i;
        if (i >= text.size()) {
            patternUsable_ = false;
            return;
        }
        switch (text[i]) {
        case 'H':
        case 'k':
            add(TimeToken::Hour24);
            break;
        case 'I':
        case 'l':
            add(TimeToken::Hour12);
            break;
        case 'M':
            add(TimeToken::Minute);
            break;
        case 'S':
            add(TimeToken::Second);
            break;
        case 'p':
        case 'P':
            add(TimeToken::AmPm);
            break;
        case 'T':
            add(TimeToken::Hour24), add(TimeToken::Literal, ':'), add(TimeToken::Minute),
                add(TimeToken::Literal, ':'), add(TimeToken::Second);
            break;
        case 'R':
            add(TimeToken::Hour24), add(TimeToken::Literal, ':'), add(TimeToken::Minute);
            break;
        case '%':
            add(TimeToken::Literal, '%');
            break;
        case 'n':
        case 't':
            add(TimeToken::Literal, ' ');
            break;
        default:
            patternUsable_ = false; // a part this reader does not know (a date, a zone, ...)
            return;
        }
    }
}

bool THistory::readWithPattern(std::string_view text, int& seconds) const {
    std::size_t pos = 0;
    int hour = -1, hour12 = -1, minute = 0, second = 0, marker = -1;
    for (const TimeToken& t : tokens_) {
        switch (t.type) {
        case TimeToken::Literal:
            if (t.literal == ' ') {
                skipBlanks(text, pos);
            } else {
                if (pos >= text.size() || text[pos] != t.literal)
                    return false;
                ++pos;
            }
            break;
        case TimeToken::AmPm:
            skipBlanks(text, pos);
            if (sameTextIgnoringCase(text, pos, am_)) {
                marker = 0, pos += am_.size();
            } else if (sameTextIgnoringCase(text, pos, pm_)) {
                marker = 1, pos += pm_.size();
            } else {
                return false;
            }
            break;
        default: {
            skipBlanks(text, pos); // %k and %l pad with a blank
            int value = 0;
            if (!readNumber(text, pos, value))
                return false;
            if (t.type == TimeToken::Hour24)
                hour = value;
            else if (t.type == TimeToken::Hour12)
                hour12 = value;
            else if (t.type == TimeToken::Minute)
                minute = value;
            else
                second = value;
        }
        }
    }
    skipBlanks(text, pos);
    if (pos != text.size())
        return false;
    if (hour12 >= 0 && !twelveToTwentyFour(hour12, marker, hour))
        return false;
    if (hour < 0 || hour > 23 || minute > 59 || second > 59)
        return false;
    seconds = hour * 3600 + minute * 60 + second;
    return true;
}

// A clock time written under another locale than today's: three numbers, hours, minutes and
// seconds, apart by the locale's separators (":", ".", "時" and "分", ...), with an AM/PM
// marker before or after them for a 12-hour clock and a unit such as "秒" after the seconds.
bool THistory::readAnyClock(std::string_view text, int& seconds) const {
    static const std::string kAm[] = {"AM", "a.m.", "\xe5\x8d\x88\xe5\x89\x8d"}; // 午前
    static const std::string kPm[] = {"PM", "p.m.", "\xe5\x8d\x88\xe5\xbe\x8c"}; // 午後
    static const std::string kUnits[] = {"\xe7\xa7\x92", "\xec\xb4\x88"};        // 秒, 초
    std::size_t pos = 0;
    int marker = -1;
    auto readMarker = [&] {
        skipBlanks(text, pos);
        if (marker >= 0)
            return;
        for (int m = 0; m < 2; ++m) {
            const std::string& own = m == 0 ? am_ : pm_;
            if (sameTextIgnoringCase(text, pos, own)) {
                marker = m, pos += own.size();
                return;
            }
            for (const std::string& w : m == 0 ? kAm : kPm)
                if (sameTextIgnoringCase(text, pos, w)) {
                    marker = m, pos += w.size();
                    return;
                }
        }
    };
    auto isDigit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    readMarker();
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            const std::size_t from = pos;
            while (pos < text.size() && !isDigit(pos) && pos - from < 6)
                ++pos;
            if (pos == from || pos >= text.size() || !isDigit(pos))
                return false;
        }
        skipBlanks(text, pos);
        if (!readNumber(text, pos, parts[i]))
            return false;
    }
    skipBlanks(text, pos);
    for (const std::string& unit : kUnits)
        if (text.substr(pos, unit.size()) == unit) {
            pos += unit.size();
            break;
        }
    readMarker();
    skipBlanks(text, pos);
    if (pos != text.size())
        return false;
    int hour = parts[0];
    if (marker >= 0 && !twelveToTwentyFour(parts[0], marker, hour))
        return false;
    if (hour > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    seconds = hour * 3600 + parts[1] * 60 + parts[2];
    return true;
}

bool THistory::ReadTime(std::string_view text, int& seconds) const {
    if (patternUsable_ && readWithPattern(text, seconds))
        return true;
    return readAnyClock(text, seconds);
}

void THistory::SetNow(qint64 now) {
    now_ = now;
    const QDate today = QDateTime::fromSecsSinceEpoch(now).date();
    if (today != today_) {
        today_ = today;
        afterTomorrow_ = dayStart(today.toJulianDay() + 2);
        lastDay_ = QDate(); // a two-digit year may now fall in another century
    }
}

void THistory::Clear() {
    state_ = State::NotMonitored;
    since_ = lastEntry_ = 0;
    any_ = false;
    accepted_ = unreadable_ = outOfPlace_ = backwards_ = 0;
    baseJd_ = 0;
    days_.clear();
    outages_.clear();
    lastEnded_ = Outage{0, 0};
    cacheJd_ = cacheStart_ = cacheNext_ = 0;
    spanJd_ = spanStart_ = spanNext_ = 0;
    lastDateText_.clear();
    lastDay_ = QDate();
    counted_ = 0;
    verdictDue_ = clockChanging_ = outagesOutOfOrder_ = lastWasSuspend_ = false;
    stateBeforeChange_ = State::NotMonitored;
    outageStart_ = outageShift_ = 0;
}

qint64 THistory::dayStart(qint64 jd) const {
    return QDateTime(QDate::fromJulianDay(jd), QTime(0, 0)).toSecsSinceEpoch();
}

qint64 THistory::toEpoch(const QDate& date, int seconds) {
    const qint64 jd = date.toJulianDay();
    if (jd != cacheJd_ || cacheStart_ == cacheNext_) {
        cacheJd_ = jd;
        cacheStart_ = dayStart(jd);
        cacheNext_ = dayStart(jd + 1);
    }
    const qint64 length = cacheNext_ - cacheStart_;
    if (length == kDay)
        return cacheStart_ + seconds;
    // The clocks change this day. The wall time read with the offset of the day's start and
    // with that of its end: where the clocks went back, both may name real moments, and the
    // entry takes the first one not earlier than the entry before it.
    const QTime wall = QTime(0, 0).addSecs(seconds);
    const qint64 asUtc = (jd - 2440588) * kDay + seconds; // the wall time as if it were UTC
    const qint64 offsets[2] = {QDateTime::fromSecsSinceEpoch(cacheStart_).offsetFromUtc(),
                               QDateTime::fromSecsSinceEpoch(cacheNext_ - 1).offsetFromUtc()};
    qint64 readings[2];
    int count = 0;
    for (qint64 offset : offsets) {
        const qint64 t = asUtc - offset;
        const QDateTime back = QDateTime::fromSecsSinceEpoch(t);
        if (back.date() == date && back.time() == wall && (count == 0 || readings[0] != t))
            readings[count++] = t;
    }
    if (count == 0) // a time the clocks skipped: Qt moves it past the gap
        return QDateTime(date, wall).toSecsSinceEpoch();
    if (count == 2 && readings[1] < readings[0])
        std::swap(readings[0], readings[1]);
    if (count == 2 && any_ && readings[0] < lastEntry_ && readings[1] >= lastEntry_)
        return readings[1];
    return readings[0];
}

bool THistory::EntryTime(std::string_view date, std::string_view time, qint64& when) {
    QDate day;
    int seconds = 0;
    lastDate_ = 0;
    // Entries come in runs of the same date: read each date text once.
    if (date == lastDateText_ && lastDay_.isValid()) {
        day = lastDay_;
    } else {
        if (!TryStrToDate(date, today_, day) || day < EarliestDay() || day > today_.addDays(1))
            return false;
        lastDateText_.assign(date);
        lastDay_ = day;
    }
    lastDate_ = day.toJulianDay();
    if (!ReadTime(time, seconds))
        return false;
    when = toEpoch(day, seconds);
    return true;
}

bool THistory::KindOf(std::string_view message, Kind& kind) {
    static const std::pair<std::string_view, Kind> kMessages[] = {
        {"Online", Kind::Online},
        {"Offline", Kind::Offline},
        {"Start of program", Kind::Start},
        {"Stop of program", Kind::Stop},
        {"Suspend", Kind::Suspend},
        {"Resume", Kind::Resume},
        {"Clock changed", Kind::ClockChanged},
        {"Clock set", Kind::ClockSet}};
    for (const auto& [text, k] : kMessages)
        if (message == text) {
            kind = k;
            return true;
        }
    return false;
}

bool THistory::Add(std::string_view date, std::string_view time, std::string_view message) {
    Kind kind;
    if (!KindOf(message, kind)) {
        lastDate_ = 0;
        QDate day;
        if (TryStrToDate(date, today_, day))
            lastDate_ = day.toJulianDay();
        ++unreadable_;
        return false;
    }
    qint64 when = 0;
    if (!EntryTime(date, time, when)) {
        ++unreadable_;
        return false;
    }
    return AddAt(when, kind);
}

void THistory::addInterval(qint64 from, qint64 to, State state) {
    // Time already counted (before the clock went back) is not counted again, and nothing
    // past now.
    from = std::max(from, counted_);
    if (now_ != 0)
        to = std::min(to, now_);
    if (to <= from || state == State::NotMonitored)
        return;
    counted_ = to;
    qint64 jd;
    qint64 next;
    if (from >= spanStart_ && from < spanNext_) {
        jd = spanJd_;
        next = spanNext_;
    } else if (from >= cacheStart_ && from < cacheNext_) {
        jd = cacheJd_;
        next = cacheNext_;
    } else {
        jd = QDateTime::fromSecsSinceEpoch(from).date().toJulianDay();
        next = dayStart(jd + 1);
    }
    if (jd < baseJd_) { // after the clock went back before the first entry's day
        days_.insert(days_.begin(), std::size_t(baseJd_ - jd), Totals{});
        baseJd_ = jd;
    }
    while (from < to) {
        spanJd_ = jd;
        spanStart_ = from;
        spanNext_ = next;
        const qint64 end = std::min(to, next);
        const auto index = static_cast<std::size_t>(jd - baseJd_);
        if (index >= days_.size())
            days_.resize(index + 1);
        (state == State::Online ? days_[index].online : days_[index].offline) += end - from;
        from = end;
        if (from >= to)
            break;
        ++jd;
        next = (jd == cacheJd_) ? cacheNext_ : dayStart(jd + 1);
    }
}

void THistory::pushOutage(qint64 start, qint64 end) {
    if (end - start - outageShift_ > 0) {
        if (!outages_.empty() && end < outages_.back().end)
            outagesOutOfOrder_ = true;
        outages_.push_back(Outage{start, end, outageShift_});
    }
    outageShift_ = 0;
}

void THistory::closeState(qint64 at) {
    addInterval(since_, at, state_);
    if (state_ == State::Offline)
        pushOutage(outageStart_, at);
    state_ = State::NotMonitored;
    since_ = at;
    verdictDue_ = false;
}

bool THistory::AddAt(qint64 when, Kind kind) {
    if (now_ != 0 && when >= afterTomorrow_) {
        ++unreadable_; // not written yet: a damaged date
        return false;
    }
    // After a change of the clock the entries follow the new clock; so they do after a sleep,
    // during which the clock may have been set.
    const bool afterChange =
        (clockChanging_ && kind == Kind::ClockSet) || (lastWasSuspend_ && kind == Kind::Resume);
    if (any_ && when < lastEntry_ && !afterChange) {
        ++backwards_;
        return false;
    }
    const bool monitored = state_ != State::NotMonitored;
    if (clockChanging_ && kind != Kind::ClockSet)
        clockChanging_ = false; // the change was never completed: counting stays ended
    switch (kind) {
    case Kind::Start:
    case Kind::Resume:
        if (monitored)
            closeState(lastEntry_); // the run before was killed: it ended at its last entry
        state_ = State::Offline;
        since_ = outageStart_ = when;
        verdictDue_ = true;
        outageShift_ = 0;
        break;
    case Kind::Online:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        if (state_ == State::Offline && verdictDue_ && when - since_ <= kGrace) {
            // The first verdict after a start: the seconds before it are no outage (a
            // notification may still tell them).
            state_ = State::Online;
            lastEnded_ = Outage{since_, when};
        } else if (state_ == State::Offline) {
            addInterval(since_, when, State::Offline);
            const std::size_t before = outages_.size();
            pushOutage(outageStart_, when);
            lastEnded_ = outages_.size() > before ? outages_.back() : Outage{when, when};
            state_ = State::Online;
            since_ = when;
        }
        verdictDue_ = false;
        break;
    case Kind::Offline:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        if (state_ == State::Online) {
            addInterval(since_, when, State::Online);
            state_ = State::Offline;
            since_ = outageStart_ = when;
            outageShift_ = 0;
        } else if (verdictDue_ && when - since_ <= kGrace) {
            // Offline from the first verdict on; the seconds before it are not monitored.
            since_ = outageStart_ = when;
            outageShift_ = 0;
        }
        verdictDue_ = false;
        break;
    case Kind::Stop:
    case Kind::Suspend:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        closeState(when);
        break;
    case Kind::ClockChanged:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        // Counted up to the change, in the clock before it; the state goes on after it.
        addInterval(since_, when, state_);
        stateBeforeChange_ = state_;
        clockChanging_ = true;
        state_ = State::NotMonitored;
        since_ = when;
        break;
    case Kind::ClockSet:
        if (!clockChanging_) {
            ++outOfPlace_;
            return false;
        }
        clockChanging_ = false;
        if (stateBeforeChange_ == State::Offline)
            outageShift_ += when - since_; // the outage goes on; the jump is no part of it
        state_ = stateBeforeChange_;
        since_ = when;
        break;
    }
    if (!any_) {
        baseJd_ = QDateTime::fromSecsSinceEpoch(when).date().toJulianDay();
        any_ = true;
    }
    lastEntry_ = when;
    lastWasSuspend_ = kind == Kind::Suspend;
    ++accepted_;
    return true;
}

qint64 THistory::openSince(qint64 now) const {
    // Just started or resumed and no verdict yet: nothing to count until it comes or the
    // grace has passed.
    if (state_ == State::Offline && verdictDue_ && now - since_ <= kGrace)
        return now;
    return since_;
}

QDate THistory::FirstDay() const {
    return any_ ? QDate::fromJulianDay(baseJd_) : QDate();
}

THistory::Totals THistory::totalsOf(qint64 jd) const {
    if (jd < baseJd_ || jd - baseJd_ >= qint64(days_.size()))
        return {};
    return days_[static_cast<std::size_t>(jd - baseJd_)];
}

DayFigures THistory::Day(const QDate& day, qint64 now) const {
    DayFigures f;
    f.day = day;
    const qint64 jd = day.toJulianDay();
    const qint64 start = dayStart(jd);
    const qint64 next = dayStart(jd + 1);
    f.length = next - start;
    f.elapsed = std::clamp<qint64>(now - start, 0, f.length);
    const Totals t = totalsOf(jd);
    f.online = t.online;
    f.offline = t.offline;
    if (state_ != State::NotMonitored) {
        const qint64 piece = std::min(now, next) - std::max({openSince(now), start, counted_});
        if (piece > 0)
            (state_ == State::Online ? f.online : f.offline) += piece;
    }
    f.notMonitored = std::max<qint64>(0, f.elapsed - f.online - f.offline);
    forEachOutage(start, next, now, [&f](const Outage&) { ++f.outages; });
    return f;
}

template <class Visit>
void THistory::forEachOutage(qint64 from, qint64 to, qint64 now, Visit visit) const {
    if (outagesOutOfOrder_) { // the clock went back: look at every one
        for (const Outage& o : outages_)
            if (o.end > from && o.start < to)
                visit(o);
    } else {
        // Outages never overlap, so their ends are in order as well.
        auto it = std::upper_bound(outages_.begin(), outages_.end(), from,
                                   [](qint64 value, const Outage& o) { return value < o.end; });
        for (; it != outages_.end() && it->start < to; ++it)
            visit(*it);
    }
    if (state_ == State::Offline && outageStart_ < to && now > from && now > openSince(now))
        visit(Outage{outageStart_, Outage::kOngoing, outageShift_});
}

std::vector<Outage> THistory::OutagesBetween(qint64 from, qint64 to, qint64 now) const {
    std::vector<Outage> out;
    forEachOutage(from, to, now, [&out](const Outage& o) { out.push_back(o); });
    return out;
}

PeriodFigures THistory::Period(const QDate& first, const QDate& last, qint64 now) const {
    PeriodFigures p;
    p.first = first;
    p.last = last;
    const qint64 firstJd = first.toJulianDay();
    const qint64 lastJd = last.toJulianDay();
    const qint64 start = dayStart(firstJd);
    const qint64 end = dayStart(lastJd + 1);
    for (qint64 jd = std::max(firstJd, baseJd_);
         jd <= lastJd && jd - baseJd_ < qint64(days_.size()); ++jd) {
        const Totals& t = days_[static_cast<std::size_t>(jd - baseJd_)];
        p.online += t.online;
        p.offline += t.offline;
    }
    if (state_ != State::NotMonitored) {
        const qint64 piece = std::min(now, end) - std::max({openSince(now), start, counted_});
        if (piece > 0)
            (state_ == State::Online ? p.online : p.offline) += piece;
    }
    const qint64 elapsed = std::clamp<qint64>(now - start, 0, end - start);
    p.notMonitored = std::max<qint64>(0, elapsed - p.online - p.offline);
    p.totalOutage = p.offline;
    forEachOutage(start, end, now, [&p, now](const Outage& o) {
        ++p.outages;
        if (o.Duration(now) > p.longestDuration) {
            p.longestDuration = o.Duration(now);
            p.longest = o;
        }
    });
    return p;
}

std::vector<Outage> THistory::Longest(const QDate& first, const QDate& last, int count,
                                      qint64 now) const {
    // The `count` longest kept in a heap, the shortest of them on top.
    const auto longer = [now](const Outage& a, const Outage& b) {
        return a.Duration(now) > b.Duration(now) ||
               (a.Duration(now) == b.Duration(now) && a.start < b.start);
    };
    const std::size_t n = std::size_t(std::max(count, 0));
    std::vector<Outage> best;
    best.reserve(n + 1);
    forEachOutage(dayStart(first.toJulianDay()), dayStart(last.toJulianDay() + 1), now,
                  [&](const Outage& o) {
                      if (n == 0)
                          return;
                      if (best.size() == n && !longer(o, best.front()))
                          return;
                      best.push_back(o);
                      std::push_heap(best.begin(), best.end(), longer);
                      if (best.size() > n) {
                          std::pop_heap(best.begin(), best.end(), longer);
                          best.pop_back();
                      }
                  });
    std::sort(best.begin(), best.end(), longer);
    return best;
}

std::string FormatDuration(qint64 seconds) {
    if (seconds < 0)
        seconds = 0;
    if (seconds < 60)
        return std::to_string(seconds) + " s";
    const qint64 minutes = seconds / 60;
    if (minutes < 60)
        return std::to_string(minutes) + " min";
    const qint64 hours = minutes / 60;
    if (hours < 24)
        return std::to_string(hours) + " h" +
               (minutes % 60 ? " " + std::to_string(minutes % 60) + " min" : std::string());
    return std::to_string(hours / 24) + " d" +
           (hours % 24 ? " " + std::to_string(hours % 24) + " h" : std::string());
}

} // namespace wv
