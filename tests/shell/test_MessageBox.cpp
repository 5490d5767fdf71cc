// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The real boxes (not the recording seam): text shown as typed, above the always-on-top main
// window. About and Help keep to the same rule.
#include "shell/MessageBox.h"
#include "shell/uniHelp.h"
#include "shell/uniabout.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs `call` (which opens a box and blocks), inspects the box that opened, then closes it.
void withOpenBox(const std::function<void()>& call, const std::function<void(QMessageBox&)>& look) {
    bool seen = false;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || seen)
            return;
        seen = true;
        look(*box);
        box->done(QMessageBox::No);
    });
    probe.start();
    call();
    EXPECT_TRUE(seen) << "no box opened";
}

TEST(MessageBoxShown, PlainTextOnTopModal) {
    struct Case {
        const char* text;
        bool question;
    };
    const Case cases[] = {{"<b>x</b> not found", false},
                          {"6/12/26 and <i>10.1.2.3</i> not found", false},
                          {"Delete <u>record</u>?", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        withOpenBox(
            [&] {
                if (c.question)
                    EXPECT_FALSE(wv::MessageBox::question(text));
                else
                    wv::MessageBox::show(text);
            },
            [&](QMessageBox& box) {
                EXPECT_EQ(box.textFormat(), Qt::PlainText);
                EXPECT_EQ(box.text(), text);
                EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
                EXPECT_TRUE(box.isModal());
                EXPECT_EQ(box.windowTitle(), QStringLiteral("Wirevane"));
                // What the label shows is the typed text, tags and all.
                bool labelShowsTags = false;
                for (QLabel* l : box.findChildren<QLabel*>())
                    labelShowsTags |= l->text() == text && l->textFormat() == Qt::PlainText;
                EXPECT_TRUE(labelShowsTags);
            });
    }
}

TEST(MessageBoxShown, AboutAndHelpStayAboveTheMainWindow) {
    const std::unique_ptr<QWidget> about = std::make_unique<wv::TAboutBox>();
    const std::unique_ptr<QWidget> help = std::make_unique<wv::THelpBox>();
    for (QWidget* w : {about.get(), help.get()})
        EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint) << w->metaObject()->className();
}

} // namespace
