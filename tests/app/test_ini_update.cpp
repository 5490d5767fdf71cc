// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Writes gathered in one update leave the same file as the same writes made one by one.
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace wv {
namespace {

using Writes = std::vector<std::pair<QString, QString>>;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(IniSectionTest, SameContentAsOneWriteAtATimeAlsoWhenAWriteIsRefused) {
    struct Case {
        const char* name;
        QByteArray before; // "<missing>": no file
        const char* section;
        Writes writes;
        bool refused; // a write in the list cannot be stored
    };
    const Case cases[] = {
        {"new file", "<missing>", "General", {{"A", "1"}, {"b", "2"}, {"a", "3"}}, false},
        {"key twice in different case",
         "[general]\r\nA=0\r\n",
         "General",
         {{"a", "x"}, {"B", "y"}, {"b", "z"}, {"A", "w"}},
         false},
        {"new keys after comments, before blank lines",
         "[General]\nk=1\n; c\n\n\n[Z]\nk=9\n",
         "General",
         {{"n1", "a"}, {"k", "2"}, {"n2", "b"}},
         false},
        {"key in the file twice", "[General]\nA=1\na=2\n", "General", {{"A", "3"}}, false},
        {"indented key keeps its spelling",
         "[General]\n  MyKey  =  old  \n",
         "general",
         {{"mykey", "new"}, {"other", ""}},
         false},
        {"other section untouched", "[Other]\nA=1", "General", {{"A", "2"}, {"B", "3"}}, false},
        {"refused value stops the rest",
         "[General]\nA=1\n",
         "General",
         {{"A", "2"}, {"B", "line\nbreak"}, {"C", "3"}},
         true},
        {"first write refused", "[General]\nA=1\n", "General", {{"=bad", "1"}, {"A", "2"}}, true},
        {"bad section", "<missing>", "Gen]eral", {{"A", "1"}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString batch = dir.filePath("batch.ini");
        const QString single = dir.filePath("single.ini");
        if (c.before != "<missing>") {
            put(batch, c.before);
            put(single, c.before);
        }
        bool singleRefused = false;
        IniFile ini(single);
        for (const auto& [key, value] : c.writes) {
            try {
                ini.WriteString(c.section, key, value);
            } catch (const EIniError&) {
                singleRefused = true;
                break;
            }
        }
        bool batchRefused = false;
        try {
            IniSection update(batch, c.section);
            for (const auto& [key, value] : c.writes)
                update.WriteString(key, value);
            update.Commit();
        } catch (const EIniError&) {
            batchRefused = true;
        }
        EXPECT_EQ(singleRefused, c.refused);
        EXPECT_EQ(batchRefused, c.refused);
        EXPECT_EQ(readAll(batch), readAll(single));
    }
}

} // namespace
} // namespace wv
