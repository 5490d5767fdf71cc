// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "table/DataSet.h"

#include "table/Errors.h"
#include "table/TextUtil.h"

#include <algorithm>

namespace wv {

namespace {
constexpr int kMaxFieldSize = 8192;
const char* const kClosedDataSet = "Cannot perform this operation on a closed dataset";
} // namespace

// ---------------------------------------------------------------- TField

TField::TField(TDataSet& dataSet, const TFieldDef& def, int index)
    : dataSet_(dataSet), def_(def), index_(index) {}

std::string TField::AsString() const {
    std::string value;
    if (!dataSet_.GetFieldData(*this, value))
        value.clear();
    return value;
}

void TField::SetAsString(std::string_view value) {
    const std::size_t size = def_.size > 0 ? static_cast<std::size_t>(def_.size) : 0;
    dataSet_.SetFieldValue(*this, utf8Cut(cutAtNul(value), size));
}

bool TField::IsNull() const {
    std::string value;
    return !dataSet_.GetFieldData(*this, value) || value.empty();
}

// ---------------------------------------------------------------- TDataSet

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
    Notify([this](TDataSetView& v) { v.dataSetDestroyed(*this); });
    views_.clear();
}

void TDataSet::AttachView(TDataSetView* view) {
    if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void TDataSet::DetachView(TDataSetView* view) {
    std::erase(views_, view);
}

template <typename F> void TDataSet::Notify(F&& call) {
    if (views_.empty())
        return;
    if (views_.size() == 1) {
        call(*views_.front()); // nothing to walk after it, whatever it attaches or detaches
        return;
    }
    // A callback may attach or detach views: walk a copy, skipping views detached meanwhile.
    const std::vector<TDataSetView*> snapshot = views_;
    for (TDataSetView* view : snapshot) {
        if (std::find(views_.begin(), views_.end(), view) != views_.end())
            call(*view);
    }
}

void TDataSet::NotifyRow(void (TDataSetView::*event)(TDataSet&, int), int row) {
    if (row < 0)
        Notify([this](TDataSetView& v) { v.recordsChanged(*this); });
    else
        Notify([this, event, row](TDataSetView& v) { (v.*event)(*this, row); });
}

void TDataSet::SetState(TDataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    Notify([this](TDataSetView& v) { v.stateChanged(*this); });
}

void TDataSet::HandOverInput() {
    if (handingOver_ || !Active())
        return;
    handingOver_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{handingOver_};
    Notify([this](TDataSetView& v) { v.updateData(*this); });
}

void TDataSet::CheckActive() const {
    if (!Active())
        throw EDatabaseError(kClosedDataSet);
}

void TDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TDataSet::Open() {
    if (Active())
        return;
    try {
        InternalOpen();
        activeBuffer_ = AllocRecordBuffer();
        InternalInitRecord(*activeBuffer_);
    } catch (...) {
        DestroyFields();
        if (activeBuffer_)
            FreeRecordBuffer(activeBuffer_);
        try {
            InternalClose();
        } catch (...) {
            // The open's own failure is the one to report.
        }
        throw;
    }
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    InternalFirst();
    hasRecord_ = GetRecord(*activeBuffer_, TGetMode::gmNext, false) == TGetResult::grOK;
    bof_ = true;
    eof_ = !hasRecord_;
    Notify([this](TDataSetView& v) { v.dataSetOpened(*this); });
    if (afterOpen_)
        afterOpen_(*this);
}

void TDataSet::Close() {
    if (!Active())
        return;
    // Take what a view still holds before the rows go, even though the edit is then dropped:
    // an editor must not write it into whatever row it finds afterwards.
    HandOverInput();
    state_ = TDataSetState::dsInactive;
    modified_ = false;
    hasRecord_ = false;
    bof_ = eof_ = true;
    if (activeBuffer_)
        FreeRecordBuffer(activeBuffer_);
    DestroyFields();
    std::exception_ptr failure;
    try {
        InternalClose();
    } catch (...) {
        failure = std::current_exception();
    }
    Notify([this](TDataSetView& v) { v.dataSetClosed(*this); });
    if (failure)
        std::rethrow_exception(failure);
}

void TDataSet::CloseForDestruction() {
    try {
        Close();
    } catch (const std::exception& error) {
        InternalHandleException(error);
    } catch (...) {
    }
}

void TDataSet::CreateFields() {
    DestroyFields();
    for (const TFieldDef& def : fieldDefs_) {
        if (def.size < 1 || def.size > kMaxFieldSize)
            throw EDatabaseError("Invalid field size");
        fields_.push_back(std::make_unique<TField>(*this, def, static_cast<int>(fields_.size())));
    }
}

void TDataSet::DestroyFields() {
    fields_.clear();
}

bool TDataSet::IsEmpty() const {
    return state_ != TDataSetState::dsInsert && !hasRecord_;
}

void TDataSet::Resync() {
    TRecordBuffer& buffer = *activeBuffer_;
    if (GetRecord(buffer, TGetMode::gmCurrent, false) == TGetResult::grOK ||
        GetRecord(buffer, TGetMode::gmNext, false) == TGetResult::grOK ||
        GetRecord(buffer, TGetMode::gmPrior, false) == TGetResult::grOK) {
        hasRecord_ = true;
        bof_ = eof_ = false;
    } else {
        hasRecord_ = false;
        bof_ = eof_ = true;
        InternalInitRecord(buffer);
    }
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    HandOverInput();
    if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) {
        if (modified_)
            Post();
        else
            Cancel();
    }
}

// ---------------------------------------------------------------- navigation

void TDataSet::First() {
    CheckBrowseMode();
    InternalFirst();
    hasRecord_ = GetRecord(*activeBuffer_, TGetMode::gmNext, false) == TGetResult::grOK;
    if (!hasRecord_)
        InternalInitRecord(*activeBuffer_);
    bof_ = true;
    eof_ = !hasRecord_;
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

void TDataSet::Last() {
    CheckBrowseMode();
    InternalLast();
    hasRecord_ = GetRecord(*activeBuffer_, TGetMode::gmPrior, false) == TGetResult::grOK;
    if (!hasRecord_)
        InternalInitRecord(*activeBuffer_);
    eof_ = true;
    bof_ = !hasRecord_;
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

int TDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_))
        return 0;
    eof_ = bof_ = false;
    int moved = 0;
    if (distance > 0) {
        while (moved < distance) {
            if (GetRecord(*activeBuffer_, TGetMode::gmNext, false) != TGetResult::grOK) {
                eof_ = true;
                break;
            }
            ++moved;
        }
    } else {
        while (moved > distance) {
            if (GetRecord(*activeBuffer_, TGetMode::gmPrior, false) != TGetResult::grOK) {
                bof_ = true;
                break;
            }
            --moved;
        }
    }
    if (moved != 0)
        hasRecord_ = true;
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
    return moved;
}

// ---------------------------------------------------------------- editing

void TDataSet::BeginInsertAppend(bool append) {
    CheckBrowseMode();
    TRecordBuffer& buffer = *activeBuffer_;
    const TBookmark current = hasRecord_ ? GetBookmarkData(buffer) : 0;
    InternalInitRecord(buffer);
    if (append) {
        SetBookmarkFlag(buffer, TBookmarkFlag::bfEOF);
    } else if (hasRecord_) {
        SetBookmarkFlag(buffer, TBookmarkFlag::bfInserted);
        SetBookmarkData(buffer, current);
    } else {
        SetBookmarkFlag(buffer, TBookmarkFlag::bfBOF);
    }
    modified_ = false;
    state_ = TDataSetState::dsInsert;
    NotifyRow(&TDataSetView::rowInserted, InsertedRow());
    Notify([this](TDataSetView& v) { v.stateChanged(*this); });
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

void TDataSet::Append() {
    BeginInsertAppend(true);
}

void TDataSet::Insert() {
    BeginInsertAppend(false);
}

void TDataSet::Edit() {
    CheckActive();
    if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)
        return;
    if (!hasRecord_) {
        Insert();
        return;
    }
    // Start from the stored record, not from what a Browse-state assignment left in the buffer.
    GetRecord(*activeBuffer_, TGetMode::gmCurrent, true);
    modified_ = false;
    SetState(TDataSetState::dsEdit);
    NotifyRow(&TDataSetView::rowChanged, CurrentRow());
}

void TDataSet::Post() {
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        throw EDatabaseError("Dataset not in edit or insert mode");
    HandOverInput();
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        return; // a view finished the edit itself
    InternalPost();
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    Resync();
    NotifyRow(&TDataSetView::rowChanged, CurrentRow());
    Notify([this](TDataSetView& v) { v.stateChanged(*this); });
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

void TDataSet::Cancel() {
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        return;
    const bool wasInsert = state_ == TDataSetState::dsInsert;
    const int insertedRow = InsertedRow();
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    Resync();
    if (wasInsert)
        NotifyRow(&TDataSetView::rowRemoved, insertedRow);
    else
        NotifyRow(&TDataSetView::rowChanged, CurrentRow());
    Notify([this](TDataSetView& v) { v.stateChanged(*this); });
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (!hasRecord_)
        throw EDatabaseError("Cannot perform this operation on an empty dataset");
    const bool wasEdit = state_ == TDataSetState::dsEdit;
    const int row = CurrentRow();
    InternalDelete();
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    Resync();
    NotifyRow(&TDataSetView::rowRemoved, row);
    if (wasEdit)
        Notify([this](TDataSetView& v) { v.stateChanged(*this); });
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

void TDataSet::AddRecord(std::string_view recordText, bool append) {
    CheckBrowseMode();
    InternalAddRecord(recordText, append);
    Resync();
    NotifyRow(&TDataSetView::rowInserted, CurrentRow());
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

void TDataSet::SetFieldValue(TField& field, std::string_view value) {
    CheckActive();
    SetFieldData(field, value);
    modified_ = true;
    Notify([this, &field](TDataSetView& v) { v.fieldChanged(*this, field); });
}

// ---------------------------------------------------------------- fields

TField& TDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) const {
    for (const auto& field : fields_) {
        if (sameTextIgnoreCase(field->FieldName(), name))
            return field.get();
    }
    return nullptr;
}

TField& TDataSet::FieldByName(std::string_view name) const {
    if (TField* field = FindField(name))
        return *field;
    throw EDatabaseError(name_ + ": Field '" + std::string(name) + "' not found");
}

// ---------------------------------------------------------------- positions and bookmarks

int TDataSet::RecordCount() const {
    CheckActive();
    return GetRecordCount();
}

int TDataSet::RecNo() const {
    CheckActive();
    return GetRecNo();
}

void TDataSet::SetRecNo(int recNo) {
    CheckActive();
    SetRecNoInternal(recNo);
}

TBookmark TDataSet::GetBookmark() const {
    if (!Active() || !hasRecord_ || state_ == TDataSetState::dsInsert)
        return 0;
    return GetBookmarkData(*activeBuffer_);
}

void TDataSet::GotoBookmark(TBookmark bookmark) {
    CheckBrowseMode();
    InternalGotoBookmark(bookmark);
    CursorMoved();
}

void TDataSet::CursorMoved() {
    Resync();
    Notify([this](TDataSetView& v) { v.recordMoved(*this); });
}

} // namespace wv
