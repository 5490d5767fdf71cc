// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/Application.h"
#include "shell/Colours.h"
#include "shell/URLLabel.h"
#include "shell/uniHelp.h"
#include "shell/uniabout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using wv::TAboutBox;

TEST(AboutPosition, CentredOverTheMainWindowWithTheTopHeld) {
    EXPECT_EQ(TAboutBox::FormPosition(QRect(100, 100, 361, 321), QSize(240, 230)),
              QPoint(160, 145));
    // Taller than the main window: the top stays at the main window's top; the left edge is
    // not corrected.
    EXPECT_EQ(TAboutBox::FormPosition(QRect(100, 100, 200, 150), QSize(240, 230)), QPoint(80, 100));
    // Halves are truncated toward zero, also when negative: -0.5 gives 0, not -1.
    EXPECT_EQ(TAboutBox::FormPosition(QRect(100, 100, 239, 229), QSize(240, 230)),
              QPoint(100, 100));
    EXPECT_EQ(TAboutBox::FormPosition(QRect(-50, -40, 101, 101), QSize(20, 20)), QPoint(-10, 0));
}

TEST(AboutBox, LayoutTextsAndLinks) {
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Wirevane"));
    EXPECT_GE(box.width(), 232);
    EXPECT_GE(box.height(), 198);
    EXPECT_EQ(box.minimumSize(), box.maximumSize()); // fixed border
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);

    const auto text = [&](const char* name) {
        auto* l = box.findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(text("Label5"), QStringLiteral("Wirevane ver." WV_VERSION));
    // The same holder as the licence and the package's copyright file.
    EXPECT_EQ(text("Label1"), QStringLiteral("Created by the Wirevane developers"));
    EXPECT_EQ(text("Label2"), QStringLiteral("© 2026 The Wirevane developers"));
    EXPECT_EQ(text("StaticText1"), QStringLiteral("Welcome to my home page"));
    EXPECT_EQ(text("StaticText2"), QStringLiteral("Send me e-mail"));
    auto* icon = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(icon->size(), QSize(32, 32));

    // Web links show their own address; the e-mail link shows the address and opens mailto:.
    for (wv::TURLLabel* web : {box.HomePageLink(), box.SecondSiteLink()}) {
        EXPECT_EQ(web->URL(), web->text());
        EXPECT_TRUE(web->URL().startsWith(QStringLiteral("https://")));
    }
    EXPECT_EQ(box.EmailLink()->URL(), QStringLiteral("mailto:") + box.EmailLink()->text());
    for (wv::TURLLabel* link : {box.HomePageLink(), box.SecondSiteLink(), box.EmailLink()}) {
        EXPECT_TRUE(link->HiFont().underline());
        EXPECT_FALSE(link->font().underline());
        EXPECT_TRUE(link->focusPolicy() & Qt::TabFocus) << "links are reached by Tab";
        EXPECT_FALSE(link->accessibleName().isEmpty());
    }
}

// Every text of the box, the links normal and highlighted, reads at 4.5:1 or more on light and
// dark palettes, and fits its place at the desktop's font and at 14 point.
struct AboutLook {
    const char* name;
    QColor window, text;
    qreal points;
};

class AboutBoxLook : public ::testing::TestWithParam<AboutLook> {
protected:
    void SetUp() override {
        savedFont_ = QApplication::font();
        savedPalette_ = QApplication::palette();
        QPalette p = savedPalette_;
        p.setColor(QPalette::Window, GetParam().window);
        p.setColor(QPalette::WindowText, GetParam().text);
        QApplication::setPalette(p);
        if (GetParam().points > 0) {
            QFont f = savedFont_;
            f.setPointSizeF(GetParam().points);
            QApplication::setFont(f);
        }
    }
    void TearDown() override {
        QApplication::setFont(savedFont_);
        QApplication::setPalette(savedPalette_);
    }
    QFont savedFont_;
    QPalette savedPalette_;
};

INSTANTIATE_TEST_SUITE_P(
    Palettes, AboutBoxLook,
    ::testing::Values(AboutLook{"light", QColor(239, 239, 239), Qt::black, 0},
                      AboutLook{"dark", QColor(53, 53, 53), Qt::white, 0},
                      AboutLook{"light14pt", QColor(255, 255, 255), Qt::black, 14},
                      AboutLook{"dark14pt", QColor(36, 31, 49), QColor(220, 220, 220), 14}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(AboutBoxLook, TextsReadAndFit) {
    TAboutBox box;
    box.show();
    QCoreApplication::processEvents();
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QColor bg = label->palette().color(QPalette::Window);
        EXPECT_GE(wv::ContrastRatio(label->palette().color(label->foregroundRole()), bg), 4.5)
            << label->objectName().toStdString();
        if (auto* link = qobject_cast<wv::TURLLabel*>(label)) {
            EXPECT_GE(wv::ContrastRatio(link->HiColor(), bg), 4.5)
                << label->objectName().toStdString();
            EXPECT_NE(link->HiColor(), link->palette().color(link->foregroundRole()));
        }
    }
    if (GetParam().points > 0) {
        EXPECT_GE(box.findChild<QLabel*>(QStringLiteral("StaticText1"))->font().pointSizeF(),
                  GetParam().points);
    }
}

TEST_P(AboutBoxLook, NoTextIsClipped) {
    TAboutBox box;
    box.show();
    QCoreApplication::processEvents();
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QFontMetrics m(label->font());
        const QRect r = label->geometry();
        EXPECT_LE(m.horizontalAdvance(label->text()), r.width())
            << label->objectName().toStdString();
        EXPECT_LE(m.height(), r.height()) << label->objectName().toStdString();
        EXPECT_TRUE(box.rect().contains(label->mapTo(&box, QPoint(0, 0))))
            << label->objectName().toStdString();
        // The highlight font must fit as well.
        if (auto* link = qobject_cast<wv::TURLLabel*>(label)) {
            EXPECT_LE(QFontMetrics(link->HiFont()).horizontalAdvance(label->text()), r.width());
        }
    }
}

TEST(AboutBox, EnterAndEscBothClose) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        TAboutBox box;
        QTimer::singleShot(0, &box, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
            auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
            EXPECT_TRUE(ok->hasFocus());
            EXPECT_TRUE(ok->isDefault());
            QTest::keyClick(box.focusWidget(), key);
        });
        QTimer::singleShot(3000, &box, [&] { box.done(99); }); // safety net
        const int result = box.exec();
        EXPECT_NE(result, 99) << "key " << key << " did not close the window";
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(AboutBox, ShowsItselfOverItsOwner) {
    QWidget main;
    main.setGeometry(100, 100, 361, 321);
    main.show();
    main.hide(); // hidden in the notification area: its last rectangle still counts
    const QRect mainFrame = main.frameGeometry();
    TAboutBox box(&main);
    box.show();
    EXPECT_EQ(box.frameGeometry().topLeft(),
              TAboutBox::FormPosition(mainFrame, box.frameGeometry().size()));
}

const QStringList kHelpLines = {
    QStringLiteral("On the left, mark the local address, which does not belong "),
    QStringLiteral("to any space internet."),
    QStringLiteral("The Status ONLINE will correspond to unchecked "),
    QStringLiteral("addresses."),
    QStringLiteral("After change on the left click Refresh."),
    QString(),
    QStringLiteral("Слева галочкой помечаете локальные адреса, "),
    QStringLiteral("которые не принадлежат пространству интернета."),
    QStringLiteral("Статус ONLINE будет соответствовать "),
    QStringLiteral("непомеченным адресам."),
    QStringLiteral("После изменений слева жмите Refresh."),
};

TEST(HelpBox, LayoutAndText) {
    wv::THelpBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(box.pos(), QPoint(306, 245));
    QPlainTextEdit* memo = box.MemoHelp();
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->objectName(), QStringLiteral("MemoHelp"));
    EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')), kHelpLines);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_TRUE(memo->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_LE(memo->font().pointSizeF(), 12);
    box.show();
    EXPECT_EQ(memo->geometry(), box.rect()); // fills the window
    box.resize(600, 400);                    // and keeps filling it
    QCoreApplication::processEvents();
    EXPECT_EQ(memo->geometry(), box.rect());
}

// The desktop's font, and a 14-point one.
class HelpBoxFont : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        saved_ = QApplication::font();
        if (GetParam()) {
            QFont f = saved_;
            f.setPointSize(14);
            QApplication::setFont(f);
        }
    }
    void TearDown() override { QApplication::setFont(saved_); }
    QFont saved_;
};

INSTANTIATE_TEST_SUITE_P(DesktopAndProgramFont, HelpBoxFont, ::testing::Bool());

TEST_P(HelpBoxFont, EveryLineFitsTheWindowAtTheLargestSizeThatAllows) {
    wv::THelpBox box;
    box.show();
    QCoreApplication::processEvents();
    QPlainTextEdit* memo = box.MemoHelp();
    const QTextDocument* doc = memo->document();
    ASSERT_EQ(doc->blockCount(), 11);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        ASSERT_NE(block.layout(), nullptr);
        EXPECT_EQ(block.layout()->lineCount(), 1) << block.text().toStdString();
    }
    EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(memo->verticalScrollBar()->isVisible());
    // Half a point more would make some line wrap, unless 12 point already fits.
    const qreal size = memo->font().pointSizeF();
    EXPECT_GE(size, 6);
    if (size < 12) {
        QFont bigger = memo->font();
        bigger.setPointSizeF(size + 0.5);
        memo->setFont(bigger);
        QCoreApplication::processEvents();
        int lines = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            lines += block.layout()->lineCount();
        EXPECT_GT(lines, 11) << "the font could have been larger";
    }
}

TEST(HelpBox, TypingChangesNothingAndEscCloses) {
    {
        wv::THelpBox box;
        QTimer::singleShot(0, &box, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
            box.MemoHelp()->setFocus();
            QTest::keyClick(box.MemoHelp(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box.MemoHelp(), QStringLiteral("typed"));
            QTest::keyClick(box.MemoHelp(), Qt::Key_Delete);
            EXPECT_EQ(box.MemoHelp()->toPlainText().split(QLatin1Char('\n')), kHelpLines);
            EXPECT_EQ(box.MemoHelp()->textCursor().selectedText().size(),
                      box.MemoHelp()->toPlainText().size())
                << "the whole text can be selected (and copied)";
            QTest::keyClick(box.MemoHelp(), Qt::Key_Escape);
        });
        QTimer::singleShot(3000, &box, [&] { box.done(99); });
        EXPECT_NE(box.exec(), 99);
    }
    wv::THelpBox fresh;
    EXPECT_EQ(fresh.MemoHelp()->toPlainText().split(QLatin1Char('\n')), kHelpLines);
}

} // namespace
