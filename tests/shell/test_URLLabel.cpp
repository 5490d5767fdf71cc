// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/URLLabel.h"

#include <QEnterEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class URLLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        wv::TURLLabel::SetOpener([this](const QUrl& url) {
            opened << url;
            return answer;
        });
    }
    void TearDown() override { wv::TURLLabel::SetOpener({}); }

    static void enter(QWidget* w) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &e);
    }
    static void leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }
    static QColor textColor(const QWidget& w) { return w.palette().color(w.foregroundRole()); }

    QList<QUrl> opened;
    bool answer = true;
};

TEST_F(URLLabelTest, StartsAsANavyUnderlinedLinkWithAHandCursor) {
    wv::TURLLabel label;
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label.HiFont().underline());
    EXPECT_EQ(label.HiColor(), QColor(0, 0, 128));
    EXPECT_FALSE(label.Highlighted());
}

TEST_F(URLLabelTest, HighlightShowsOnEnterAndLeaveRestoresTheExactLook) {
    QWidget parent;
    auto* label = new wv::TURLLabel(&parent);
    label->setText(QStringLiteral("https://wirevane.example.org"));
    QFont normal(QStringLiteral("DejaVu Serif"));
    normal.setPointSize(9);
    normal.setItalic(true);
    label->setFont(normal);
    QPalette p = label->palette();
    p.setColor(label->foregroundRole(), QColor(0, 0, 128));
    label->setPalette(p);
    const QFont before = label->font();
    const QColor colourBefore = textColor(*label);

    QFont hi = normal;
    hi.setItalic(false);
    hi.setUnderline(true);
    hi.setPointSize(8);
    label->SetHiFont(hi);
    hi.setBold(true); // the label keeps its own copy
    EXPECT_FALSE(label->HiFont().bold());
    label->SetHiColor(QColor(0, 255, 0));

    enter(label);
    EXPECT_TRUE(label->Highlighted());
    EXPECT_EQ(label->font(), label->HiFont());
    EXPECT_EQ(textColor(*label), QColor(0, 255, 0));

    leave(label);
    EXPECT_FALSE(label->Highlighted());
    EXPECT_EQ(label->font(), before);
    EXPECT_EQ(label->font().italic(), true);
    EXPECT_EQ(label->font().underline(), false);
    EXPECT_EQ(textColor(*label), colourBefore);

    // Twice in a row (enter without a leave in between) still comes back to the same look.
    enter(label);
    enter(label);
    leave(label);
    EXPECT_EQ(label->font(), before);
    EXPECT_EQ(textColor(*label), colourBefore);
}

TEST_F(URLLabelTest, LeftClickOpensTheTargetUnchangedThenSignalsClicked) {
    wv::TURLLabel label;
    label.resize(120, 16);
    label.SetURL(QStringLiteral("mailto:wirevane@example.org"));
    QSignalSpy clicked(&label, &wv::TURLLabel::clicked);
    bool openedBeforeSignal = false;
    QObject::connect(&label, &wv::TURLLabel::clicked,
                     [&] { openedBeforeSignal = opened.size() == 1; });

    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front().toString(), QStringLiteral("mailto:wirevane@example.org"));
    EXPECT_EQ(opened.front().scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(openedBeforeSignal);

    // Other buttons, or a release away from the label, open nothing.
    QTest::mouseClick(&label, Qt::RightButton, Qt::NoModifier, QPoint(10, 8));
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(500, 8));
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(URLLabelTest, TheKeyboardReachesTheLinkAndEnterOrSpaceOpensIt) {
    QWidget window;
    auto* before = new QLabel(QStringLiteral("text"), &window);
    auto* label = new wv::TURLLabel(&window);
    label->SetURL(QStringLiteral("https://wirevane.example.org/"));
    label->move(0, 20);
    (void)before;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(label->focusPolicy() & Qt::TabFocus);
    label->setFocus();
    EXPECT_TRUE(label->Highlighted()) << "the focus shows the highlight";
    QSignalSpy clicked(label, &wv::TURLLabel::clicked);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(label, key);
    QTest::keyClick(label, Qt::Key_Return, Qt::ControlModifier); // not a plain Enter
    EXPECT_EQ(opened.size(), 3);
    EXPECT_EQ(clicked.count(), 3);
    label->clearFocus();
    EXPECT_FALSE(label->Highlighted());
}

TEST_F(URLLabelTest, OpenURLAnswersWhetherTheDesktopAccepted) {
    wv::TURLLabel label;
    label.SetURL(QStringLiteral("https://wirevane.example.org/"));
    EXPECT_TRUE(label.OpenURL());
    answer = false;
    EXPECT_FALSE(label.OpenURL());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.back(), QUrl(QStringLiteral("https://wirevane.example.org/")));
}

} // namespace
