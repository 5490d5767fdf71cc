// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>

namespace wv {

// A label that acts as a hyperlink: a hand cursor, a highlight look while the mouse is over it
// (HiFont in HiColor; navy and underlined at creation), and a left click opens URL through the
// desktop (a web address, or "mailto:" and an address) and then emits clicked().
// A label's "font" here is the QFont plus the colour of its text, which QFont does not carry.
// The label takes the keyboard focus, shows the highlight while it has it, and Enter or Space
// opens URL as a click does.
class TURLLabel : public QLabel {
    Q_OBJECT
public:
    using Opener = std::function<bool(const QUrl& url)>;

    explicit TURLLabel(QWidget* parent = nullptr);
    ~TURLLabel() override;

    QString URL() const { return url_; }
    void SetURL(const QString& url) { url_ = url; }

    QFont HiFont() const { return hiFont_; }
    // Copies the font; the label is repainted later.
    void SetHiFont(const QFont& font);
    QColor HiColor() const { return hiColor_; }
    void SetHiColor(const QColor& color);

    // Whether the highlight is shown.
    bool Highlighted() const { return highlighted_; }

    // Asks the desktop to open URL. True when the request was accepted; a refusal shows
    // nothing.
    bool OpenURL();

    // How targets are opened; QDesktopServices::openUrl unless replaced. An empty function
    // puts the default back.
    static void SetOpener(Opener opener);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowHighlight();
    void HideHighlight();

    QString url_;
    QFont hiFont_;
    QColor hiColor_;
    QFont savedFont_;
    QPalette savedPalette_;
    bool highlighted_ = false;
};

} // namespace wv
