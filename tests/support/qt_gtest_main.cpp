// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include <QApplication>
#include <QTranslator>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wirevane"));
    // English plural forms ("1 outage", "2 outages") where the program's translations are linked
    // in.
    QTranslator english;
    if (english.load(QStringLiteral(":/i18n/wirevane_en.qm")))
        QApplication::installTranslator(&english);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
