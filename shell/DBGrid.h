// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "table/DataSet.h"

#include <QAbstractTableModel>
#include <QTableView>

namespace wv {

// The data source between a table and a grid: a model whose rows are read straight from the
// table by position (nothing is copied), and which follows the table's changes. Edits made in
// the grid go through the table's own Edit and field assignment; the record is posted when the
// user moves off it, as the table does for every move.
class TLogTableModel : public QAbstractTableModel, public TDataSetView {
    Q_OBJECT
public:
    explicit TLogTableModel(QObject* parent = nullptr);
    ~TLogTableModel() override;

    void SetDataSet(TDataSet* dataSet);
    TDataSet* DataSet() const { return dataSet_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // TDataSetView
    void dataSetOpened(TDataSet&) override;
    void dataSetClosed(TDataSet&) override;
    void dataSetDestroyed(TDataSet&) override;
    void recordMoved(TDataSet&) override;
    void fieldChanged(TDataSet&, TField&) override;
    void recordsChanged(TDataSet&) override;
    void rowInserted(TDataSet&, int row) override;
    void rowRemoved(TDataSet&, int row) override;
    void rowChanged(TDataSet&, int row) override;
    void stateChanged(TDataSet&) override;
    void updateData(TDataSet&) override;

    // Rows are being removed or reset: the view must not write into the model or move the
    // table now, since indexes still name the rows as they were.
    bool Restructuring() const { return restructuring_ > 0; }

signals:
    // The table's current record moved; emitted once per turn of the event loop however many
    // moves happened, so a search over a long log does not drag the grid along each step.
    void currentRecordMoved();
    // The table is about to post: an open cell editor should hand over its text.
    void pendingInputWanted();

private:
    void resetRows();
    void scheduleMoved();
    // Removes rows [first, last]; a notification that arrives meanwhile is answered with a
    // full row update afterwards instead of a nested removal.
    void dropRows(int first, int last, int newCount);
    void addRows(int first, int last, int newCount);
    void resyncAfterRestructure();

    TDataSet* dataSet_ = nullptr;
    int rows_ = 0;
    int columns_ = 0;
    bool movedPending_ = false;
    int restructuring_ = 0;
    bool resyncWanted_ = false;
    bool writing_ = false; // inside setData: pending input is being handed over right now
};

// The log grid: shows every record, highlights the current one and follows it both ways.
// Insert starts a new record in front of the current one, Ctrl+Delete deletes the current one
// after the question "Delete record?", Esc drops an edit in progress.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    TLogTableModel* DataSource() const { return source_; }

    // Makes the grid's current row the table's current record. An editor left open on
    // another row has handed its input over with the move, and is closed.
    void SyncToDataSet();

signals:
    // A double click anywhere in the grid's rows area, also below the last row.
    void gridDoubleClicked();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void commitOpenEditor();
    QWidget* openEditor() const;

    TLogTableModel* source_ = nullptr;
    bool syncing_ = false;
    bool committing_ = false;
};

} // namespace wv
