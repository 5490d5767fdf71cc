// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/CommandLine.h"

#include <QCommandLineParser>

namespace wv {

namespace {

struct OptionText {
    QStringList names;
    const char* valueName; // nullptr: a switch
    const char* description;
};

const QList<OptionText>& options() {
    static const QList<OptionText> list = {
        {{QStringLiteral("show")},
         nullptr,
         "Show the window of the running copy, or start with the window shown."},
        {{QStringLiteral("quit")},
         nullptr,
         "End the running copy as its Exit command does (settings saved, \"Stop of program\" "
         "logged). Exit code 1 when no copy runs."},
        {{QStringLiteral("history")},
         nullptr,
         "Print the connection history of the last 7, 30 or 90 days or of all the log "
         "(the period follows the option) and end."},
        {{QStringLiteral("log")}, "file", "With --history: read this log file."},
        {{QStringLiteral("h"), QStringLiteral("help")}, nullptr, "Print this help and end."},
        {{QStringLiteral("v"), QStringLiteral("version")}, nullptr, "Print the version and end."},
    };
    return list;
}

bool isPeriod(const QString& s) {
    return s == QLatin1String("7") || s == QLatin1String("30") || s == QLatin1String("90") ||
           s == QLatin1String("all");
}

CommandLine usage(QString error) {
    CommandLine c;
    c.action = CommandLine::Action::Usage;
    c.error = std::move(error);
    return c;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionText& o : options()) {
        QCommandLineOption option(o.names, QString::fromLatin1(o.description));
        if (o.valueName)
            option.setValueName(QString::fromLatin1(o.valueName));
        parser.addOption(option);
    }
    if (!parser.parse(arguments))
        return usage(parser.errorText());

    const auto set = [&parser](const char* name) {
        return parser.isSet(QString::fromLatin1(name));
    };
    if (set("help"))
        return {CommandLine::Action::Help, {}, {}, {}};
    if (set("version"))
        return {CommandLine::Action::Version, {}, {}, {}};

    const QStringList rest = parser.positionalArguments();
    CommandLine c;
    const int actions = int(set("show")) + int(set("quit")) + int(set("history"));
    if (actions > 1)
        return usage(QStringLiteral("--show, --quit and --history cannot be combined."));
    if (set("history")) {
        c.action = CommandLine::Action::History;
        if (rest.size() > 1 || (rest.size() == 1 && !isPeriod(rest.front())))
            return usage(QStringLiteral("The history's period is 7, 30, 90 or all, not \"%1\".")
                             .arg(rest.join(QLatin1Char(' '))));
        c.historyPeriod = rest.value(0);
        c.logFile = parser.value(QStringLiteral("log"));
        if (set("log") && c.logFile.isEmpty())
            return usage(QStringLiteral("--log needs the log file's name."));
        return c;
    }
    if (set("log"))
        return usage(QStringLiteral("--log goes with --history."));
    if (!rest.isEmpty())
        return usage(QStringLiteral("Unexpected argument \"%1\".").arg(rest.front()));
    if (set("show"))
        c.action = CommandLine::Action::Show;
    else if (set("quit"))
        c.action = CommandLine::Action::Quit;
    return c;
}

QString CommandLineHelp() {
    QString text = QStringLiteral(
        "Usage: wirevane [--show | --quit | --history [7|30|90|all] [--log FILE]]\n"
        "Tells whether this computer is online, from the notification area, and keeps a log "
        "of it.\nA later start shows the window of the copy that runs.\n\nOptions:\n");
    for (const OptionText& o : options()) {
        QStringList forms;
        for (const QString& n : o.names)
            forms << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        QString left = forms.join(QStringLiteral(", "));
        if (o.valueName)
            left += QStringLiteral(" <%1>").arg(QString::fromLatin1(o.valueName));
        text += QStringLiteral("  %1  %2\n").arg(left, -16).arg(QString::fromLatin1(o.description));
    }
    return text;
}

QString CommandLineVersion() {
    return QStringLiteral("Wirevane " WV_VERSION "\n");
}

} // namespace wv
