// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/DBGrid.h"

#include "base/Bytes.h"
#include "base/ErrorReport.h"
#include "shell/MessageBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace wv {

TLogTableModel::TLogTableModel(QObject* parent) : QAbstractTableModel(parent) {}

TLogTableModel::~TLogTableModel() {
    if (dataSet_)
        dataSet_->DetachView(this);
}

void TLogTableModel::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        dataSet_->DetachView(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->AttachView(this);
    resetRows();
}

void TLogTableModel::resetRows() {
    ++restructuring_;
    beginResetModel();
    const bool open = dataSet_ && dataSet_->Active();
    rows_ = open ? dataSet_->RowCount() : 0;
    columns_ = open ? dataSet_->FieldCount() : 0;
    endResetModel();
    --restructuring_;
    resyncWanted_ = false;
}

void TLogTableModel::dropRows(int first, int last, int newCount) {
    ++restructuring_;
    beginRemoveRows({}, first, last);
    rows_ = newCount;
    endRemoveRows();
    --restructuring_;
    resyncAfterRestructure();
}

void TLogTableModel::addRows(int first, int last, int newCount) {
    ++restructuring_;
    beginInsertRows({}, first, last);
    rows_ = newCount;
    endInsertRows();
    --restructuring_;
    resyncAfterRestructure();
}

void TLogTableModel::resyncAfterRestructure() {
    if (restructuring_ == 0 && resyncWanted_ && dataSet_) {
        resyncWanted_ = false;
        recordsChanged(*dataSet_);
    }
}

int TLogTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TLogTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant TLogTableModel::data(const QModelIndex& index, int role) const {
    if (!dataSet_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.row() >= rows_ || index.column() >= columns_)
        return {};
    try {
        return FromBytes(dataSet_->RowValue(index.row(), index.column()));
    } catch (const std::exception&) {
        return {};
    }
}

QVariant TLogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The row header is only the current-row marker; numbers would not fit a long log.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QString();
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || !dataSet_ ||
        section >= columns_)
        return QAbstractTableModel::headerData(section, orientation, role);
    return FromBytes(dataSet_->FieldDefs().at(size_t(section)).name);
}

Qt::ItemFlags TLogTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TLogTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    // While rows are removed or reset, an index may already name the row that takes the
    // place of the one it was made for: refuse, so nothing is written into the wrong row.
    if (!dataSet_ || role != Qt::EditRole || !index.isValid() || index.row() >= rows_ ||
        index.column() >= columns_ || Restructuring() || writing_)
        return false;
    bool stored = false;
    writing_ = true;
    guarded([&] {
        const QString text = value.toString();
        // An editor closed without a change hands back the text it was shown. Keep the stored
        // bytes then (a value that is not UTF-8 does not survive the trip through text), and do
        // not move the table either: only a real edit does.
        if (FromBytes(dataSet_->RowValue(index.row(), index.column())) == text)
            return;
        if (dataSet_->CurrentRow() != index.row())
            dataSet_->GotoRow(index.row());
        dataSet_->Edit();
        dataSet_->Fields(index.column()).SetAsString(ToBytes(text));
        stored = true;
    });
    writing_ = false;
    return stored;
}

void TLogTableModel::dataSetOpened(TDataSet&) {
    resetRows();
}
void TLogTableModel::dataSetClosed(TDataSet&) {
    resetRows();
}

void TLogTableModel::dataSetDestroyed(TDataSet&) {
    dataSet_ = nullptr;
    beginResetModel();
    rows_ = columns_ = 0;
    endResetModel();
}

void TLogTableModel::scheduleMoved() {
    if (movedPending_)
        return;
    movedPending_ = true;
    QTimer::singleShot(0, this, [this] {
        movedPending_ = false;
        emit currentRecordMoved();
    });
}

void TLogTableModel::recordMoved(TDataSet&) {
    scheduleMoved();
}

void TLogTableModel::fieldChanged(TDataSet& ds, TField&) {
    rowChanged(ds, ds.CurrentRow());
}

void TLogTableModel::recordsChanged(TDataSet& ds) {
    if (Restructuring()) {
        resyncWanted_ = true; // never a change nested in another
        return;
    }
    // Keep the columns (and so their widths); only adjust the rows.
    const int now = ds.Active() ? ds.RowCount() : 0;
    if (!ds.Active() || ds.FieldCount() != columns_) {
        resetRows();
        return;
    }
    if (now > rows_)
        addRows(rows_, now - 1, now);
    else if (now < rows_)
        dropRows(now, rows_ - 1, now);
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    scheduleMoved();
}

void TLogTableModel::rowInserted(TDataSet& ds, int row) {
    if (Restructuring() || row < 0 || row > rows_ || ds.RowCount() != rows_ + 1) {
        recordsChanged(ds);
        return;
    }
    addRows(row, row, rows_ + 1);
    scheduleMoved();
}

void TLogTableModel::rowRemoved(TDataSet& ds, int row) {
    if (Restructuring() || row < 0 || row >= rows_ || ds.RowCount() != rows_ - 1) {
        recordsChanged(ds);
        return;
    }
    dropRows(row, row, rows_ - 1);
    scheduleMoved();
}

void TLogTableModel::rowChanged(TDataSet& ds, int row) {
    if (Restructuring() || ds.RowCount() != rows_) {
        recordsChanged(ds);
        return;
    }
    if (row >= 0 && row < rows_ && columns_ > 0)
        emit dataChanged(index(row, 0), index(row, columns_ - 1));
}

void TLogTableModel::stateChanged(TDataSet& ds) {
    rowChanged(ds, ds.CurrentRow());
}

void TLogTableModel::updateData(TDataSet&) {
    if (!writing_ && !Restructuring())
        emit pendingInputWanted();
}

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Double click loads the row into the page; F2 or typing edits the cell.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(17);
    verticalHeader()->setMinimumSectionSize(17);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(8);
    setWordWrap(false);
}

void TDBGrid::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    source_ = qobject_cast<TLogTableModel*>(model);
    if (source_) {
        connect(source_, &TLogTableModel::currentRecordMoved, this, &TDBGrid::SyncToDataSet);
        connect(source_, &TLogTableModel::pendingInputWanted, this, &TDBGrid::commitOpenEditor);
        connect(source_, &QAbstractItemModel::modelReset, this, &TDBGrid::SyncToDataSet);
    }
}

void TDBGrid::SyncToDataSet() {
    if (!source_ || !source_->DataSet() || !source_->DataSet()->Active())
        return;
    const int row = source_->DataSet()->CurrentRow();
    if (row < 0 || row >= model()->rowCount())
        return;
    const int column = std::max(0, currentIndex().column());
    if (currentIndex().row() == row)
        return;
    // An editor still open on the row the grid leaves has handed its input over with the move
    // that took the table elsewhere: close it without writing again.
    if (QWidget* editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    syncing_ = true;
    setCurrentIndex(model()->index(row, column));
    scrollTo(currentIndex());
    syncing_ = false;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // Qt moves the current index itself while rows are removed; the table moves on its own
    // then, and the grid follows it afterwards.
    if (syncing_ || !source_ || source_->Restructuring() || !current.isValid() ||
        current.row() == previous.row())
        return;
    TDataSet* ds = source_->DataSet();
    if (!ds || !ds->Active() || ds->CurrentRow() == current.row())
        return;
    guarded([&] { ds->GotoRow(current.row()); });
}

QWidget* TDBGrid::openEditor() const {
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    if (QWidget* editor = indexWidget(currentIndex()))
        return editor;
    QWidget* focused = QApplication::focusWidget();
    return focused && focused != viewport() && isAncestorOf(focused) ? focused : nullptr;
}

void TDBGrid::commitOpenEditor() {
    if (committing_)
        return;
    committing_ = true;
    if (QWidget* editor = openEditor())
        commitData(editor);
    committing_ = false;
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit gridDoubleClicked();
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    TDataSet* ds = source_ ? source_->DataSet() : nullptr;
    if (ds && ds->Active() && state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
            guarded([&] { ds->Insert(); });
            SyncToDataSet();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
            event->accept();
            if (ds->IsEmpty())
                return;
            // The record asked about; while the question is open a log entry may be written,
            // which makes the new entry current.
            const bool inserting = ds->State() == TDataSetState::dsInsert;
            const TBookmark asked = ds->GetBookmark();
            if (!MessageBox::question(tr("Delete record?")))
                return;
            guarded([&] {
                if (inserting) {
                    // A new row: drop it if it is still being built; once posted it stays.
                    if (ds->State() == TDataSetState::dsInsert)
                        ds->Cancel();
                    return;
                }
                if (ds->GetBookmark() != asked)
                    ds->GotoBookmark(asked);
                ds->Delete();
            });
            return;
        }
        if (event->key() == Qt::Key_Escape && ds->State() != TDataSetState::dsBrowse) {
            guarded([&] { ds->Cancel(); });
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

} // namespace wv
