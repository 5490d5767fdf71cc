// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// The table-cursor base: states, a current record in a record buffer, navigation, editing,
// field objects and notifications of attached views. Storage is left to subclasses, which
// implement the record-level virtual operations below (TTextDataSet keeps a text file's lines).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wv {

class TDataSet;
class TField;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
enum class TGetMode { gmCurrent, gmNext, gmPrior };
enum class TGetResult { grOK, grBOF, grEOF, grError };
// Where a record buffer's record belongs: fetched from storage (Current), a new record with no
// record before it (BOF), an appended record (EOF), or a new record to go in front of the
// record whose bookmark the buffer carries (Inserted).
enum class TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };
// A record's bookmark id; 0 stands for "no record".
using TBookmark = std::int32_t;

// One record as the cursor layer holds it.
struct TRecordBuffer {
    virtual ~TRecordBuffer() = default;
    std::string text;
    TBookmark bookmark = 0;
    TBookmarkFlag flag = TBookmarkFlag::bfCurrent;
};

// Definition of one text field, made by the table when it opens.
struct TFieldDef {
    std::string name;
    std::string dataType = "String";
    int size = 0;    // width in bytes (see TField::SetAsString)
    int fieldNo = 0; // 1-based position
    bool required = false;
};

// A text field of an open table. Field objects live from an open to the next close.
class TField {
public:
    TField(TDataSet& dataSet, const TFieldDef& def, int index);

    const std::string& FieldName() const { return def_.name; }
    int Size() const { return def_.size; }
    int FieldNo() const { return def_.fieldNo; }
    int Index() const { return index_; }
    bool Required() const { return def_.required; }
    const std::string& DataType() const { return def_.dataType; }
    TDataSet& DataSet() const { return dataSet_; }

    // The value of the field in the current record; empty text when the field is null.
    std::string AsString() const;
    // Assigns a value to the field of the current record. The value ends at a NUL byte and is
    // cut to Size() bytes on a UTF-8 character boundary. Only an assignment in Edit or Insert
    // state is ever stored; in Browse state it changes the shown record until its next refetch.
    void SetAsString(std::string_view value);
    void setAsString(std::string_view value) { SetAsString(value); }
    // An empty value counts as null.
    bool IsNull() const;

private:
    TDataSet& dataSet_;
    TFieldDef def_;
    int index_;
};

// An observer of a table: the log grid, for instance. Every callback is called after the table
// has changed, so the table already answers with the new state. Callbacks must not destroy the
// table. A view may attach or detach views (itself included) from a callback.
class TDataSetView {
public:
    virtual ~TDataSetView() = default;

    virtual void dataSetOpened(TDataSet&) {}
    virtual void dataSetClosed(TDataSet&) {}
    // The table is being destroyed; it forgets its views after this call.
    virtual void dataSetDestroyed(TDataSet&) {}
    virtual void stateChanged(TDataSet&) {}
    // The current record is now another one (or the same one refetched).
    virtual void recordMoved(TDataSet&) {}
    // A field of the current record was assigned.
    virtual void fieldChanged(TDataSet&, TField&) {}
    // Rows may have changed in any way: redraw everything.
    virtual void recordsChanged(TDataSet&) {}
    // Finer notifications; by default they ask for a full redraw.
    // A row now exists at `row` (rows from there on moved down by one).
    virtual void rowInserted(TDataSet& ds, int /*row*/) { recordsChanged(ds); }
    // The row at `row` is gone (rows after it moved up by one).
    virtual void rowRemoved(TDataSet& ds, int /*row*/) { recordsChanged(ds); }
    // The content of the row at `row` changed.
    virtual void rowChanged(TDataSet& ds, int /*row*/) { recordsChanged(ds); }
    // Called before every move of the table (navigation, Append, Insert, Post, Close): hand
    // pending input (an open cell editor) over to the fields now, so that it reaches the record
    // it was typed into and never one that later takes its place.
    virtual void updateData(TDataSet&) {}
};

class TDataSet {
public:
    TDataSet();
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    // Component name, used in "%s: Field '%s' not found".
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // ---- state and lifecycle
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    void SetActive(bool active);
    void Open();
    // Closes the table; an edit in progress is dropped. The table is closed even when its
    // subclass fails to save; that failure is passed on afterwards.
    void Close();
    TDataSetState State() const { return state_; }
    // Whether a field was assigned since Edit, Insert or Append began.
    bool Modified() const { return modified_; }

    // Called with the table after every successful open.
    void SetAfterOpen(std::function<void(TDataSet&)> handler) { afterOpen_ = std::move(handler); }
    const std::function<void(TDataSet&)>& AfterOpen() const { return afterOpen_; }

    // ---- navigation; each first finishes a pending edit (Post if Modified, else Cancel)
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Returns the number of records actually moved (negative backwards).
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    // No current record and no new record being built.
    bool IsEmpty() const;

    // ---- editing
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Finishes a pending edit: Post if Modified, otherwise Cancel. Nothing in Browse state.
    void CheckBrowseMode();

    // ---- fields
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // The i-th field (0-based); EListError "List index out of bounds (%d)" outside the list.
    TField& Fields(int index) const;
    // EDatabaseError "%s: Field '%s' not found" when there is no such field (name ignores case).
    TField& FieldByName(std::string_view name) const;
    TField* FindField(std::string_view name) const;
    const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }

    // ---- positions and bookmarks (closed table: "Cannot perform this operation on a closed
    // dataset")
    int RecordCount() const;
    // The most bytes a record's text may hold.
    int RecordSize() const { return GetRecordSize(); }
    int RecNo() const;
    void SetRecNo(int recNo);
    // The current record's bookmark; 0 when there is no current record.
    TBookmark GetBookmark() const;
    // Finishes a pending edit and makes the record with bookmark `bookmark` current;
    // EDatabaseError "Bookmark not found" when no record has it (the cursor stays).
    void GotoBookmark(TBookmark bookmark);

    // Adds a ready-made record text in one step, at the end (append) or in front of the
    // current record, and makes it current.
    void AddRecord(std::string_view recordText, bool append);

    // ---- row access for views that show many records (a grid) without moving the cursor.
    // Rows are the records that navigation visits, in order, 0-based; while a new record is
    // being built (Insert state) it is a row too, at InsertedRow(). Reading a row costs O(1)
    // plus splitting that one record; nothing is copied.
    virtual int RowCount() const { return 0; }
    // Value of field `field` (0-based, as Fields()) in row `row`, by the same rules as
    // TField::AsString; the current row shows the record buffer, so pending edits are visible.
    // A row outside 0..RowCount()-1 reads as empty text; a bad field index throws EListError.
    virtual std::string RowValue(int /*row*/, int /*field*/) const { return {}; }
    // The row of the current record (the new record in Insert state), -1 when there is none.
    virtual int CurrentRow() const { return -1; }
    // The row of the record being built in Insert state, -1 in any other state.
    virtual int InsertedRow() const { return -1; }
    // Finishes a pending edit and makes row `row` current. Rows are counted as before the call;
    // a row outside the rows is ignored.
    virtual void GotoRow(int /*row*/) {}

    // ---- views
    void AttachView(TDataSetView* view);
    void DetachView(TDataSetView* view);

protected:
    // ---- record-level operations implemented by the storage
    virtual std::unique_ptr<TRecordBuffer> AllocRecordBuffer() = 0;
    virtual void FreeRecordBuffer(std::unique_ptr<TRecordBuffer>& buffer) = 0;
    virtual TBookmark GetBookmarkData(const TRecordBuffer& buffer) const = 0;
    virtual TBookmarkFlag GetBookmarkFlag(const TRecordBuffer& buffer) const = 0;
    // Reads `field` of the current record into `value`; false when the field is null.
    virtual bool GetFieldData(const TField& field, std::string& value) const = 0;
    // Fetches the current, next or prior record into `buffer` (only on grOK is it changed).
    // With `doCheck` a failed current fetch throws "No Records".
    virtual TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) = 0;
    virtual int GetRecordSize() const = 0;
    virtual void InternalAddRecord(std::string_view recordText, bool append) = 0;
    virtual void InternalClose() = 0;
    virtual void InternalDelete() = 0;
    virtual void InternalFirst() = 0;
    virtual void InternalGotoBookmark(TBookmark bookmark) = 0;
    // Called with an error that cannot be passed on (closing while being destroyed).
    virtual void InternalHandleException(const std::exception& error) = 0;
    virtual void InternalInitFieldDefs() = 0;
    virtual void InternalInitRecord(TRecordBuffer& buffer) = 0;
    virtual void InternalLast() = 0;
    // Loads the storage and builds field definitions and fields (CreateFields).
    virtual void InternalOpen() = 0;
    virtual void InternalPost() = 0;
    virtual void InternalSetToRecord(const TRecordBuffer& buffer) = 0;
    virtual bool IsCursorOpen() const = 0;
    virtual void SetBookmarkFlag(TRecordBuffer& buffer, TBookmarkFlag flag) = 0;
    virtual void SetBookmarkData(TRecordBuffer& buffer, TBookmark bookmark) = 0;
    // Writes `value` (already cut to the field's size) into the current record buffer.
    virtual void SetFieldData(const TField& field, std::string_view value) = 0;
    // Defaults: no record count or number; assigning a number does nothing.
    virtual int GetRecordCount() const { return -1; }
    virtual int GetRecNo() const { return -1; }
    virtual void SetRecNoInternal(int /*recNo*/) {}

    // ---- helpers for subclasses
    std::vector<TFieldDef>& FieldDefsRef() { return fieldDefs_; }
    // Creates the field objects from the field definitions. Throws EDatabaseError
    // "Invalid field size" for a width outside 1..8192.
    void CreateFields();
    // The buffer of the current record (or of the record being edited or built).
    TRecordBuffer& ActiveBuffer() const { return *activeBuffer_; }
    bool HasActiveBuffer() const { return activeBuffer_ != nullptr; }
    // Whether the active buffer holds a record fetched from the storage.
    bool HasCurrentRecord() const { return hasRecord_; }
    void CheckActive() const;
    // Refetches the current record after the storage changed: the record at the storage
    // cursor, else the next, else the prior one, else none.
    void Resync();
    // After the storage cursor was set directly: refetch and tell the views.
    void CursorMoved();
    // Called by destructors of subclasses: closes, handing a failure to InternalHandleException.
    void CloseForDestruction();

    friend class TField;

private:
    void SetState(TDataSetState state);
    // Asks the views for pending input (updateData); a view's own call back into the table
    // while it hands over does not ask again.
    void HandOverInput();
    void SetFieldValue(TField& field, std::string_view value);
    void BeginInsertAppend(bool append);
    void DestroyFields();
    template <typename F> void Notify(F&& call);
    void NotifyRow(void (TDataSetView::*event)(TDataSet&, int), int row);

    std::string name_;
    TDataSetState state_ = TDataSetState::dsInactive;
    bool modified_ = false;
    bool bof_ = true;
    bool eof_ = true;
    bool hasRecord_ = false;
    bool handingOver_ = false;
    std::unique_ptr<TRecordBuffer> activeBuffer_;
    std::vector<TFieldDef> fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TDataSetView*> views_;
    std::function<void(TDataSet&)> afterOpen_;
};

} // namespace wv
