// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "table/SdfTextData.h"

#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/LineSplit.h"
#include "table/TextUtil.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace wv {

namespace {
// Rebuild the line buffer once more than this much of it is unused (and more than half).
constexpr std::size_t kCompactThreshold = 1 << 20;
} // namespace

TTextDataSet::TTextDataSet() = default;

TTextDataSet::~TTextDataSet() {
    CloseForDestruction();
}

void TTextDataSet::SetFileName(std::string fileName) {
    fileName_ = std::move(fileName);
}

// ---------------------------------------------------------------- storage

void TTextDataSet::LoadFromFile() {
    DropLines();
    readWholeFile(fileName_, arena_);
    dropNulBytes(arena_);
    std::size_t breaks = 0;
    for (const char *p = arena_.data(), *end = p + arena_.size();;) {
        const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (lf == nullptr)
            break;
        ++breaks;
        p = static_cast<const char*>(lf) + 1;
    }
    lines_.reserve(breaks + 1);
    bool tooLong = false;
    forEachLine(arena_, [&](std::size_t offset, std::size_t length) {
        if (length > std::numeric_limits<std::uint32_t>::max() ||
            lines_.size() >= static_cast<std::size_t>(std::numeric_limits<TBookmark>::max())) {
            tooLong = true;
            return;
        }
        lines_.push_back({offset, static_cast<std::uint32_t>(length),
                          static_cast<TBookmark>(lines_.size() + 1)});
    });
    if (tooLong) {
        DropLines();
        throw EFileError("Cannot open file " + fileName_);
    }
    lastBookmark_ = static_cast<TBookmark>(lines_.size());
    cursor_ = -1;
}

void TTextDataSet::DropLines() {
    std::string().swap(arena_);
    std::vector<TLine>().swap(lines_);
    garbage_ = 0;
    lastBookmark_ = 0;
    cursor_ = -1;
}

void TTextDataSet::SaveToFile() {
    TAtomicFileWriter writer(fileName_);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        writer.write(LineText(i));
        writer.write("\r\n");
    }
    writer.commit();
}

void TTextDataSet::SetLineText(std::size_t index, std::string_view text) {
    TLine& line = lines_[index];
    garbage_ += line.length;
    line.offset = arena_.size();
    line.length = static_cast<std::uint32_t>(text.size());
    arena_.append(text);
    CompactIfWasteful();
}

void TTextDataSet::InsertLine(std::size_t index, std::string_view text, TBookmark bookmark) {
    const TLine line{arena_.size(), static_cast<std::uint32_t>(text.size()), bookmark};
    arena_.append(text);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), line);
}

void TTextDataSet::RemoveLine(std::size_t index) {
    garbage_ += lines_[index].length;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    CompactIfWasteful();
}

void TTextDataSet::CompactIfWasteful() {
    if (garbage_ < kCompactThreshold || garbage_ < arena_.size() / 2)
        return;
    std::string compact;
    compact.reserve(arena_.size() - garbage_);
    for (TLine& line : lines_) {
        const std::size_t offset = compact.size();
        compact.append(arena_, line.offset, line.length);
        line.offset = offset;
    }
    arena_.swap(compact);
    garbage_ = 0;
}

std::size_t TTextDataSet::LongestLineLength() const {
    std::size_t longest = 0;
    for (const TLine& line : lines_)
        longest = std::max<std::size_t>(longest, line.length);
    return longest;
}

int TTextDataSet::FindLine(TBookmark bookmark) const {
    if (cursor_ >= 0 && static_cast<std::size_t>(cursor_) < lines_.size() &&
        lines_[static_cast<std::size_t>(cursor_)].bookmark == bookmark)
        return cursor_;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].bookmark == bookmark)
            return static_cast<int>(i);
    }
    return -1;
}

// Where the record of `buffer` is in the line list (the re-positioning before post and delete):
// before the first line for a new record with none before it, after the last one for an
// appended record, else the line with the buffer's bookmark id.
int TTextDataSet::SetToRecordIndex(const TRecordBuffer& buffer) const {
    switch (buffer.flag) {
    case TBookmarkFlag::bfBOF:
        return -1;
    case TBookmarkFlag::bfEOF:
        return static_cast<int>(lines_.size());
    case TBookmarkFlag::bfCurrent:
    case TBookmarkFlag::bfInserted:
        break;
    }
    const int index = FindLine(buffer.bookmark);
    if (index < 0)
        throw EDatabaseError("Bookmark not found");
    return index;
}

// ---------------------------------------------------------------- record-level operations

std::unique_ptr<TRecordBuffer> TTextDataSet::AllocRecordBuffer() {
    auto buffer = std::make_unique<TRecordBuffer>();
    buffer->text.reserve(static_cast<std::size_t>(recordSize_));
    return buffer;
}

void TTextDataSet::FreeRecordBuffer(std::unique_ptr<TRecordBuffer>& buffer) {
    buffer.reset();
}

TBookmark TTextDataSet::GetBookmarkData(const TRecordBuffer& buffer) const {
    return buffer.bookmark;
}

TBookmarkFlag TTextDataSet::GetBookmarkFlag(const TRecordBuffer& buffer) const {
    return buffer.flag;
}

void TTextDataSet::SetBookmarkFlag(TRecordBuffer& buffer, TBookmarkFlag flag) {
    buffer.flag = flag;
}

void TTextDataSet::SetBookmarkData(TRecordBuffer& buffer, TBookmark bookmark) {
    buffer.bookmark = bookmark;
}

void TTextDataSet::InternalInitRecord(TRecordBuffer& buffer) {
    buffer.text.clear();
    buffer.bookmark = 0;
    buffer.flag = TBookmarkFlag::bfCurrent;
}

TGetResult TTextDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) {
    const int count = static_cast<int>(lines_.size());
    if (count == 0)
        return TGetResult::grEOF;
    switch (mode) {
    case TGetMode::gmCurrent:
        if (cursor_ < 0 || cursor_ >= count) {
            if (doCheck)
                throw EDatabaseError("No Records");
            return TGetResult::grError;
        }
        break;
    case TGetMode::gmNext:
        if (cursor_ >= count - 1)
            return TGetResult::grEOF;
        ++cursor_;
        break;
    case TGetMode::gmPrior:
        if (cursor_ <= 0)
            return TGetResult::grBOF;
        --cursor_;
        break;
    }
    const std::size_t index = static_cast<std::size_t>(cursor_);
    buffer.text.assign(utf8Cut(LineText(index), static_cast<std::size_t>(recordSize_)));
    buffer.bookmark = lines_[index].bookmark;
    buffer.flag = TBookmarkFlag::bfCurrent;
    return TGetResult::grOK;
}

bool TTextDataSet::ReadFieldFromText(std::string_view recordText, const TField& field,
                                     std::string& value) const {
    value.assign(utf8Cut(recordText, static_cast<std::size_t>(field.Size())));
    return !value.empty();
}

bool TTextDataSet::GetFieldData(const TField& field, std::string& value) const {
    if (!HasActiveBuffer() || (State() != TDataSetState::dsInsert && !HasCurrentRecord())) {
        value.clear();
        return false;
    }
    return ReadFieldFromText(ActiveBuffer().text, field, value);
}

void TTextDataSet::SetFieldData(const TField& /*field*/, std::string_view value) {
    ActiveBuffer().text.assign(utf8Cut(value, static_cast<std::size_t>(recordSize_)));
}

void TTextDataSet::InternalInitFieldDefs() {
    auto& defs = FieldDefsRef();
    defs.clear();
    defs.push_back(TFieldDef{"Line", "String", kLineRecordSize, 1, false});
    recordSize_ = kLineRecordSize;
}

void TTextDataSet::InternalOpen() {
    LoadFromFile();
    try {
        recordSize_ = kLineRecordSize;
        InternalInitFieldDefs();
        CreateFields();
    } catch (...) {
        DropLines();
        throw;
    }
    loaded_ = true;
}

void TTextDataSet::InternalClose() {
    const bool save = loaded_ && changed_;
    loaded_ = false;
    // The lines go whether or not the write-back succeeds.
    struct DropOnExit {
        TTextDataSet& self;
        ~DropOnExit() { self.DropLines(); }
    } drop{*this};
    if (save)
        SaveToFile();
}

void TTextDataSet::InternalHandleException(const std::exception& /*error*/) {
    // Only reached when a table is destroyed and its last write-back fails; there is nobody
    // left to tell. Owners that care call Flush or Close themselves first.
}

void TTextDataSet::InternalFirst() {
    cursor_ = -1;
}

void TTextDataSet::InternalLast() {
    cursor_ = static_cast<int>(lines_.size());
}

void TTextDataSet::InternalGotoBookmark(TBookmark bookmark) {
    const int index = FindLine(bookmark);
    if (index < SchemaLineCount()) // also -1: not found; the schema line is no record
        throw EDatabaseError("Bookmark not found");
    cursor_ = index;
}

void TTextDataSet::InternalSetToRecord(const TRecordBuffer& buffer) {
    cursor_ = SetToRecordIndex(buffer);
}

void TTextDataSet::InternalPost() {
    TRecordBuffer& buffer = ActiveBuffer();
    InternalSetToRecord(buffer);
    if (State() == TDataSetState::dsEdit) {
        SetLineText(static_cast<std::size_t>(cursor_), buffer.text);
    } else {
        // A new record with no record before it goes to the start, after a schema line.
        const int position =
            std::clamp(cursor_, SchemaLineCount(), static_cast<int>(lines_.size()));
        InsertLine(static_cast<std::size_t>(position), buffer.text, ++lastBookmark_);
        cursor_ = position;
    }
    changed_ = true;
}

void TTextDataSet::InternalAddRecord(std::string_view recordText, bool append) {
    if (append)
        cursor_ = static_cast<int>(lines_.size());
    const int position = std::clamp(cursor_, SchemaLineCount(), static_cast<int>(lines_.size()));
    InsertLine(static_cast<std::size_t>(position), cutAtNul(recordText), ++lastBookmark_);
    cursor_ = position;
    changed_ = true;
}

void TTextDataSet::InternalDelete() {
    InternalSetToRecord(ActiveBuffer());
    RemoveLine(static_cast<std::size_t>(cursor_));
    if (cursor_ >= static_cast<int>(lines_.size()))
        --cursor_;
    changed_ = true;
}

void TTextDataSet::Flush() {
    CheckActive();
    SaveToFile();
}

// ---------------------------------------------------------------- record count and number

int TTextDataSet::GetRecordCount() const {
    return static_cast<int>(lines_.size());
}

int TTextDataSet::GetRecNo() const {
    if (lines_.empty())
        return 0;
    // A new record counts at the position it will take (after the last line when appended).
    if (State() == TDataSetState::dsInsert || HasCurrentRecord()) {
        const int index = SetToRecordIndex(ActiveBuffer());
        return index < 0 ? 1 : index + 1;
    }
    // No current record (only a schema line): the cursor is off the list; stay in 1..count.
    return std::clamp(cursor_ + 1, 1, static_cast<int>(lines_.size()));
}

void TTextDataSet::SetRecNoInternal(int recNo) {
    // Record numbers are line positions; the schema line is no record, so 1 means the first
    // record after it.
    if (recNo >= 1 && recNo <= SchemaLineCount())
        recNo = SchemaLineCount() + 1;
    if (recNo < 1 || recNo > static_cast<int>(lines_.size()))
        return;
    CheckBrowseMode();
    if (recNo > static_cast<int>(lines_.size()))
        return;
    cursor_ = recNo - 1;
    CursorMoved();
}

// ---------------------------------------------------------------- rows

int TTextDataSet::RowCount() const {
    if (!Active())
        return 0;
    const int rows = static_cast<int>(lines_.size()) - SchemaLineCount();
    return std::max(rows, 0) + (State() == TDataSetState::dsInsert ? 1 : 0);
}

int TTextDataSet::InsertedRow() const {
    if (State() != TDataSetState::dsInsert)
        return -1;
    const int schema = SchemaLineCount();
    const TRecordBuffer& buffer = ActiveBuffer();
    switch (buffer.flag) {
    case TBookmarkFlag::bfBOF:
        return 0;
    case TBookmarkFlag::bfEOF:
        return std::max(static_cast<int>(lines_.size()) - schema, 0);
    case TBookmarkFlag::bfCurrent:
    case TBookmarkFlag::bfInserted:
        break;
    }
    const int index = FindLine(buffer.bookmark);
    return index < schema ? -1 : index - schema;
}

int TTextDataSet::CurrentRow() const {
    if (!Active())
        return -1;
    if (State() == TDataSetState::dsInsert)
        return InsertedRow();
    if (!HasCurrentRecord() || cursor_ < SchemaLineCount() ||
        cursor_ >= static_cast<int>(lines_.size()))
        return -1;
    return cursor_ - SchemaLineCount();
}

std::string_view TTextDataSet::RowText(int row) const {
    const int inserted = InsertedRow();
    int line = row + SchemaLineCount();
    if (inserted >= 0 && row > inserted)
        --line;
    return utf8Cut(LineText(static_cast<std::size_t>(line)), static_cast<std::size_t>(recordSize_));
}

std::string_view TTextDataSet::RowLine(int row) const {
    if (row < 0 || row >= RowCount())
        return {};
    if (row == CurrentRow())
        return ActiveBuffer().text;
    return RowText(row);
}

std::string TTextDataSet::RowValue(int row, int field) const {
    const TField& f = Fields(field);
    std::string value;
    if (row < 0 || row >= RowCount())
        return value;
    if (row == CurrentRow())
        ReadFieldFromText(ActiveBuffer().text, f, value);
    else
        ReadFieldFromText(RowText(row), f, value);
    return value;
}

void TTextDataSet::GotoRow(int row) {
    CheckActive();
    if (row < 0 || row >= RowCount())
        return;
    const bool inserting = State() == TDataSetState::dsInsert;
    const int inserted = InsertedRow();
    if (inserting && row == inserted)
        return;
    const std::size_t linesBefore = lines_.size();
    CheckBrowseMode();
    if (inserting && row > inserted && lines_.size() == linesBefore)
        --row; // the new record was cancelled: the rows after it moved up
    if (row >= RowCount())
        return;
    cursor_ = row + SchemaLineCount();
    CursorMoved();
}

} // namespace wv
