// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QPlainTextEdit;

namespace Ui {
class THelpBox;
}

namespace wv {

// The Help window: a short fixed text in an editable box that fills the window. What the user
// types is not kept. Esc and the close box close it.
class THelpBox : public QDialog {
    Q_OBJECT
public:
    explicit THelpBox(QWidget* owner = nullptr);
    ~THelpBox() override;

    QPlainTextEdit* MemoHelp() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::THelpBox> ui_;
};

} // namespace wv
