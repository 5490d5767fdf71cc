// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The translations built from resources/translations/*.ts and embedded in the program.
#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

const char* const kSkipped = "%Ln log entries left out (unreadable or out of order).";
const char* const kOutages = "%Ln outage(s), %1 offline in all; the longest %2 from %3.";

class Translations : public ::testing::Test {
protected:
    void TearDown() override {
        QCoreApplication::removeTranslator(&translator_);
        QLocale::setDefault(saved_);
    }
    void use(const char* language) {
        ASSERT_TRUE(translator_.load(QStringLiteral(":/i18n/wirevane_%1.qm").arg(language)));
        QCoreApplication::installTranslator(&translator_);
        QLocale::setDefault(QLocale(QString::fromLatin1(language)));
    }
    static QString tr(const char* text, int n = -1) {
        return QCoreApplication::translate("wv::TfrmMain", text, nullptr, n);
    }

    QTranslator translator_;
    QLocale saved_;
};

TEST_F(Translations, PluralsFollowEachLanguagesRules) {
    const struct {
        const char* language;
        int n;
        const char* expected;
    } cases[] = {
        {"ru", 1, "Пропущена 1 запись журнала"},      {"ru", 3, "Пропущены 3 записи журнала"},
        {"ru", 5, "Пропущено 5 записей журнала"},     {"ru", 21, "Пропущена 21 запись журнала"},
        {"ru", 12, "Пропущено 12 записей журнала"},   {"de", 1, "1 Protokolleintrag ausgelassen"},
        {"de", 2, "2 Protokolleinträge ausgelassen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + std::to_string(c.n));
        use(c.language);
        EXPECT_TRUE(tr(kSkipped, c.n).startsWith(QString::fromUtf8(c.expected)))
            << tr(kSkipped, c.n).toStdString();
        QCoreApplication::removeTranslator(&translator_);
    }
}

TEST_F(Translations, NumbersAreGroupedAsTheLanguageWrites) {
    use("de");
    EXPECT_TRUE(tr(kOutages, 504308).startsWith(QStringLiteral("504.308 Ausfälle")))
        << tr(kOutages, 504308).toStdString();
}

TEST_F(Translations, TheLogsWordsAndTheSettingsKeysAreNeverTranslated) {
    for (const char* language : {"ru", "de"}) {
        use(language);
        EXPECT_NE(tr("History"), QStringLiteral("History")) << language << ": a caption";
        for (const char* text : {"Start of program", "Stop of program", "MinimizeAtStartup",
                                 "NotifyOnChange", "IP,DD/MM/YY,TIME,MESSAGE", "Vanewire.txt"})
            for (const char* context : {"wv::TfrmMain", "TfrmMain", "wv::THistoryChart"})
                EXPECT_TRUE(translator_.translate(context, text).isEmpty())
                    << language << ": " << text;
        QCoreApplication::removeTranslator(&translator_);
    }
}

} // namespace
