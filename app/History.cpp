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

// A clock time written under another locale than today's: h:mm:ss (or with dots), with an
// AM/PM marker before or after it for a 12-hour clock.
bool THistory::readAnyClock(std::string_view text, int& seconds) const {
    std::size_t pos = 0;
    int marker = -1;
    auto readMarker = [&] {
        skipBlanks(text, pos);
        for (const std::string* word : {&am_, &pm_}) {
            for (const std::string& w : {*word, std::string(word == &am_ ? "AM" : "PM")}) {
                if (sameTextIgnoringCase(text, pos, w)) {
                    marker = word == &am_ ? 0 : 1;
                    pos += w.size();
                    return;
                }
            }
        }
    };
    readMarker();
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || (text[pos] != ':' && text[pos] != '.'))
                return false;
            ++pos;
        }
        skipBlanks(text, pos);
        if (!readNumber(text, pos, parts[i]))
            return false;
    }
    if (marker < 0)
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
    // The clocks change this day: convert the wall time itself.
    const QTime wall = QTime(0, 0).addSecs(seconds);
    qint64 t = QDateTime(date, wall).toSecsSinceEpoch();
    // In the hour that repeats when clocks go back a wall time names two moments; the later
    // one is meant when the earlier would go back behind the entry before.
    if (length > kDay && any_ && t < lastEntry_) {
        const QDateTime later = QDateTime::fromSecsSinceEpoch(t + (length - kDay));
        if (later.date() == date && later.time() == wall)
            t = later.toSecsSinceEpoch();
    }
    return t;
}

bool THistory::EntryTime(std::string_view date, std::string_view time, qint64& when) {
    QDate day;
    int seconds = 0;
    lastDate_ = 0;
    // Entries come in runs of the same date: read each date text once.
    if (date == lastDateText_ && lastDay_.isValid()) {
        day = lastDay_;
    } else {
        if (!TryStrToDate(date, today_, day))
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

bool THistory::Add(std::string_view date, std::string_view time, std::string_view message) {
    Kind kind;
    if (message == "Online")
        kind = Kind::Online;
    else if (message == "Offline")
        kind = Kind::Offline;
    else if (message == "Start of program")
        kind = Kind::Start;
    else if (message == "Stop of program")
        kind = Kind::Stop;
    else {
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
    if (to <= from || state == State::NotMonitored)
        return;
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

void THistory::closeState(qint64 at) {
    addInterval(since_, at, state_);
    if (state_ == State::Offline && at > since_)
        outages_.push_back(Outage{since_, at});
    state_ = State::NotMonitored;
    since_ = at;
}

bool THistory::AddAt(qint64 when, Kind kind) {
    if (now_ != 0 && when > now_ + kDay) {
        ++unreadable_; // not written yet: a damaged date
        return false;
    }
    if (any_ && when < lastEntry_) {
        ++backwards_;
        return false;
    }
    const bool monitored = state_ != State::NotMonitored;
    switch (kind) {
    case Kind::Start:
        if (monitored)
            closeState(lastEntry_); // the run before was killed: it ended at its last entry
        state_ = State::Offline;
        since_ = when;
        break;
    case Kind::Online:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        if (state_ == State::Offline) {
            addInterval(since_, when, State::Offline);
            if (when > since_) {
                outages_.push_back(Outage{since_, when});
                lastEnded_ = outages_.back();
            } else {
                lastEnded_ = Outage{when, when};
            }
            state_ = State::Online;
            since_ = when;
        }
        break;
    case Kind::Offline:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        if (state_ == State::Online) {
            addInterval(since_, when, State::Online);
            state_ = State::Offline;
            since_ = when;
        }
        break;
    case Kind::Stop:
        if (!monitored) {
            ++outOfPlace_;
            return false;
        }
        closeState(when);
        break;
    }
    if (!any_) {
        baseJd_ = QDateTime::fromSecsSinceEpoch(when).date().toJulianDay();
        any_ = true;
    }
    lastEntry_ = when;
    ++accepted_;
    return true;
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
        const qint64 piece = std::min(now, next) - std::max(since_, start);
        if (piece > 0)
            (state_ == State::Online ? f.online : f.offline) += piece;
    }
    f.notMonitored = std::max<qint64>(0, f.elapsed - f.online - f.offline);
    f.outages = int(OutagesBetween(start, next, now).size());
    return f;
}

std::vector<Outage> THistory::OutagesBetween(qint64 from, qint64 to, qint64 now) const {
    std::vector<Outage> out;
    // Outages never overlap, so their ends are in order as well.
    auto it = std::upper_bound(outages_.begin(), outages_.end(), from,
                               [](qint64 value, const Outage& o) { return value < o.end; });
    for (; it != outages_.end() && it->start < to; ++it)
        out.push_back(*it);
    if (state_ == State::Offline && since_ < to && now > from && now > since_)
        out.push_back(Outage{since_, Outage::kOngoing});
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
        const qint64 piece = std::min(now, end) - std::max(since_, start);
        if (piece > 0)
            (state_ == State::Online ? p.online : p.offline) += piece;
    }
    const qint64 elapsed = std::clamp<qint64>(now - start, 0, end - start);
    p.notMonitored = std::max<qint64>(0, elapsed - p.online - p.offline);
    p.totalOutage = p.offline;
    const std::vector<Outage> outages = OutagesBetween(start, end, now);
    p.outages = int(outages.size());
    for (const Outage& o : outages)
        if (o.Duration(now) > p.longestDuration) {
            p.longestDuration = o.Duration(now);
            p.longest = o;
        }
    return p;
}

std::vector<Outage> THistory::Longest(const QDate& first, const QDate& last, int count,
                                      qint64 now) const {
    std::vector<Outage> outages =
        OutagesBetween(dayStart(first.toJulianDay()), dayStart(last.toJulianDay() + 1), now);
    const auto n = std::min<std::size_t>(outages.size(), std::size_t(std::max(count, 0)));
    std::partial_sort(outages.begin(), outages.begin() + std::ptrdiff_t(n), outages.end(),
                      [now](const Outage& a, const Outage& b) {
                          return a.Duration(now) > b.Duration(now) ||
                                 (a.Duration(now) == b.Duration(now) && a.start < b.start);
                      });
    outages.resize(n);
    return outages;
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
