// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/CheckListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace wv {

TCheckListBox::TCheckListBox(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TCheckListBox::AddChecked(const QString& text) {
    checked_.append(text);
    refreshMarks();
    emit checkedItemsChanged();
}

void TCheckListBox::ClearItems() {
    clear();
    checked_.clear();
    emit checkedItemsChanged();
}

void TCheckListBox::AddItem(const QString& text) {
    auto* item = new QListWidgetItem(text);
    // Marks are ours, not the view's: no ItemIsUserCheckable, so a click on the box does not
    // toggle it a second time.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setSizeHint(QSize(0, 16));
    item->setCheckState(checked_.contains(text) ? Qt::Checked : Qt::Unchecked);
    addItem(item);
}

void TCheckListBox::DeleteItem(int row) {
    if (row < 0 || row >= count())
        return;
    const QString text = item(row)->text();
    delete takeItem(row);
    if (checked_.removeAll(text) > 0) {
        refreshMarks();
        emit checkedItemsChanged();
    }
}

void TCheckListBox::ToggleItem(int row) {
    if (row < 0 || row >= count())
        return;
    const QString text = item(row)->text();
    if (checked_.contains(text))
        checked_.removeAll(text);
    else
        checked_.append(text);
    refreshMarks();
    emit checkedItemsChanged();
}

bool TCheckListBox::IsChecked(int row) const {
    return row >= 0 && row < count() && checked_.contains(item(row)->text());
}

void TCheckListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        ToggleItem(index.row());
}

void TCheckListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        ToggleItem(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TCheckListBox::refreshMarks() {
    for (int i = 0; i < count(); ++i) {
        QListWidgetItem* it = item(i);
        it->setCheckState(checked_.contains(it->text()) ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace wv
