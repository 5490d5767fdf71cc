// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

namespace Ui {
class TAboutBox;
}

namespace wv {

class TURLLabel;

// The About window: the program's name and version, its authors, two web links and an e-mail
// link. Modal; OK, Enter and Esc close it. When shown it places itself over its owner window.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);
    ~TAboutBox() override;

    // Where a window of `size` goes over a main window with the outer rectangle `mainFrame`:
    // centred, halves truncated toward zero, and its top never above the main window's top.
    static QPoint FormPosition(const QRect& mainFrame, const QSize& size);

    // Moves this window (its outer frame) over `mainFrame`.
    void SetFormPosition(const QRect& mainFrame);

    TURLLabel* HomePageLink() const;
    TURLLabel* SecondSiteLink() const;
    TURLLabel* EmailLink() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::unique_ptr<Ui::TAboutBox> ui_;
};

} // namespace wv
