// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QListWidget>
#include <QStringList>

namespace wv {

// A list of texts with check marks. The marks are kept as a separate list of texts,
// CheckedItems, in the order in which they were made or added: an item shows checked when its
// text is in that list. Texts may be added to CheckedItems that no item carries; they stay
// there until the items are cleared, which empties CheckedItems too.
class TCheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TCheckListBox(QWidget* parent = nullptr);

    const QStringList& CheckedItems() const { return checked_; }
    // Appends a text to CheckedItems as it stands (no check for duplicates or display).
    void AddChecked(const QString& text);

    // Removes every item and empties CheckedItems.
    void ClearItems();
    void AddItem(const QString& text);
    // Removes one item; its text leaves CheckedItems.
    void DeleteItem(int row);
    // Toggles the mark of the item at `row`, as a click or the space bar does.
    void ToggleItem(int row);
    bool IsChecked(int row) const;

signals:
    void checkedItemsChanged();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refreshMarks();
    QStringList checked_;
};

} // namespace wv
