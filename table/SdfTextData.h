// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// TTextDataSet: a text file as a table whose records are the file's lines.
//
// Opening reads the whole file into memory; a cursor moves over the lines, one record at a time
// is changed in a record buffer and posted back, and all lines are written back to the file
// when the table is closed after a change and whenever Flush is called. The file is not held
// open in between. On its own the table has one field, "Line" (240 bytes wide).
//
// Reading: a line ends at CR, LF or CR LF; NUL bytes are dropped and empty lines are skipped,
// so no line of a file is ever lost on the next write-back. Writing: every line followed by
// CR LF, into a temporary file that is synced and renamed over the old one.
//
// Lines are kept in one byte buffer (the file as read) with a small entry per line (offset,
// length, bookmark id), so an open table costs little more memory than its file.
#include "table/DataSet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wv {

class TTextDataSet : public TDataSet {
public:
    static constexpr int kLineRecordSize = 240;

    TTextDataSet();
    ~TTextDataSet() override;

    // Path of the table's file. May change while the table is open: the next write-back goes
    // to the new path.
    const std::string& FileName() const { return fileName_; }
    virtual void SetFileName(std::string fileName);

    // Writes every line to FileName now, whether or not anything changed. Closed table:
    // "Cannot perform this operation on a closed dataset"; a failed write: "Cannot create file
    // %s" with the table left open and unchanged.
    void Flush();

    // Row access (see TDataSet). Rows are the lines after the schema line, if there is one.
    int RowCount() const override;
    std::string RowValue(int row, int field) const override;
    int CurrentRow() const override;
    int InsertedRow() const override;
    void GotoRow(int row) override;
    // The whole text of row `row` as the rows show it (the current row with its pending
    // edits), for readers that take several fields of every row; empty outside the rows.
    std::string_view RowLine(int row) const;

protected:
    std::unique_ptr<TRecordBuffer> AllocRecordBuffer() override;
    void FreeRecordBuffer(std::unique_ptr<TRecordBuffer>& buffer) override;
    TBookmark GetBookmarkData(const TRecordBuffer& buffer) const override;
    TBookmarkFlag GetBookmarkFlag(const TRecordBuffer& buffer) const override;
    bool GetFieldData(const TField& field, std::string& value) const override;
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
    int GetRecordSize() const override { return recordSize_; }
    void InternalAddRecord(std::string_view recordText, bool append) override;
    void InternalClose() override;
    void InternalDelete() override;
    void InternalFirst() override;
    void InternalGotoBookmark(TBookmark bookmark) override;
    void InternalHandleException(const std::exception& error) override;
    void InternalInitFieldDefs() override;
    void InternalInitRecord(TRecordBuffer& buffer) override;
    void InternalLast() override;
    void InternalOpen() override;
    void InternalPost() override;
    void InternalSetToRecord(const TRecordBuffer& buffer) override;
    bool IsCursorOpen() const override { return loaded_; }
    void SetBookmarkFlag(TRecordBuffer& buffer, TBookmarkFlag flag) override;
    void SetBookmarkData(TRecordBuffer& buffer, TBookmark bookmark) override;
    void SetFieldData(const TField& field, std::string_view value) override;
    int GetRecordCount() const override;
    int GetRecNo() const override;
    void SetRecNoInternal(int recNo) override;

    // Number of lines at the start of the list that are not records (a schema line).
    virtual int SchemaLineCount() const { return 0; }
    // The value of `field` in a record text; false when it is null.
    virtual bool ReadFieldFromText(std::string_view recordText, const TField& field,
                                   std::string& value) const;

    std::size_t LineCount() const { return lines_.size(); }
    std::string_view LineText(std::size_t index) const {
        const TLine& line = lines_[index];
        return {arena_.data() + line.offset, line.length};
    }
    std::size_t LongestLineLength() const;
    int Cursor() const { return cursor_; }
    void SetCursor(int cursor) { cursor_ = cursor; }
    void SetRecordSize(int size) { recordSize_ = size; }

private:
    struct TLine {
        std::uint64_t offset; // into arena_
        std::uint32_t length;
        TBookmark bookmark;
    };

    void LoadFromFile();
    void SaveToFile();
    void DropLines();
    // Index of the line with bookmark id `bookmark`, -1 if none. Tries the cursor's line first:
    // ids are unique, so that is the same answer as a search from the start, only faster for
    // the usual case of posting the current record.
    int FindLine(TBookmark bookmark) const;
    int SetToRecordIndex(const TRecordBuffer& buffer) const;
    void SetLineText(std::size_t index, std::string_view text);
    void InsertLine(std::size_t index, std::string_view text, TBookmark bookmark);
    void RemoveLine(std::size_t index);
    void CompactIfWasteful();
    std::string_view RowText(int row) const;

    std::string fileName_;
    std::string arena_;        // line bytes; lines are slices of it
    std::vector<TLine> lines_; // the line list, in file order
    std::size_t garbage_ = 0;  // arena bytes no line refers to any more
    int cursor_ = -1;
    TBookmark lastBookmark_ = 0;
    bool changed_ = false; // set by every post, add and delete; never cleared
    bool loaded_ = false;
    int recordSize_ = kLineRecordSize;
};

} // namespace wv
