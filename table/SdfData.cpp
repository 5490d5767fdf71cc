// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "table/SdfData.h"

#include <algorithm>

#include "table/CommaText.h"
#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/LineSplit.h"
#include "table/TextUtil.h"

#include <climits>

namespace wv {

TSdfDataSet::TSdfDataSet() = default;

TSdfDataSet::~TSdfDataSet() {
    CloseForDestruction();
}

void TSdfDataSet::SetFileName(std::string fileName) {
    if (!Active() && fileName != FileName())
        TTextDataSet::SetFileName(std::move(fileName));
}

void TSdfDataSet::SetSchemaFile(std::string schemaFile) {
    if (Active() || schemaFile == schemaFile_)
        return;
    schemaFile_ = std::move(schemaFile);
    if (!schemaFile_.empty())
        firstLineAsSchema_ = false;
}

void TSdfDataSet::SetFileMustExist(bool mustExist) {
    if (!Active())
        fileMustExist_ = mustExist;
}

void TSdfDataSet::SetFirstLineAsSchema(bool firstLineAsSchema) {
    if (Active() || firstLineAsSchema == firstLineAsSchema_)
        return;
    firstLineAsSchema_ = firstLineAsSchema;
    if (firstLineAsSchema_)
        schemaFile_.clear();
}

int TSdfDataSet::SchemaLineCount() const {
    return firstLineAsSchema_ && LineCount() > 0 ? 1 : 0;
}

void TSdfDataSet::InternalOpen() {
    if (!fileMustExist_ && !pathExists(FileName()))
        createEmptyFile(FileName());
    TTextDataSet::InternalOpen();
}

void TSdfDataSet::InternalInitFieldDefs() {
    const std::string longest = std::to_string(LongestLineLength());

    std::vector<std::string> entries;
    if (!schemaFile_.empty()) {
        std::string bytes;
        readWholeFile(schemaFile_, bytes);
        dropNulBytes(bytes);
        std::vector<std::string> lines;
        forEachLine(bytes, [&](std::size_t offset, std::size_t length) {
            const std::string_view line(bytes.data() + offset, length);
            if (!trimBlank(line).empty())
                lines.emplace_back(line);
        });
        if (!lines.empty() && lines.front().find(',') != std::string::npos) {
            for (std::string& item : splitCommaText(lines.front())) {
                if (!trimBlank(item).empty())
                    entries.push_back(std::move(item));
            }
        } else {
            entries = std::move(lines);
        }
    } else if (LineCount() > 0) {
        entries = splitCommaText(LineText(0));
    }
    if (entries.empty()) {
        firstLineAsSchema_ = false;
        schemaFile_.clear();
    }

    // An entry "name=width" is used as it is; any other entry gets the longest line's length
    // as its width. No entries at all make one field "Field1".
    std::vector<std::string> definitions;
    for (const std::string& entry : entries) {
        const auto eq = entry.find('=');
        definitions.push_back(eq != std::string::npos && eq > 0 ? entry : entry + "=" + longest);
    }
    if (definitions.empty())
        definitions.push_back("Field1=" + longest);

    auto& defs = FieldDefsRef();
    defs.clear();
    long long recordSize = 0;
    for (const std::string& definition : definitions) {
        const auto eq = definition.find('=');
        const std::string name = definition.substr(0, eq);
        if (name.empty())
            throw EDatabaseError("Field name missing");
        const int width = toIntStrict(std::string_view(definition).substr(eq + 1));
        for (const TFieldDef& def : defs) {
            if (sameTextIgnoreCase(def.name, name))
                throw EDatabaseError("Duplicate field name '" + name + "'");
        }
        defs.push_back(TFieldDef{name, "String", width, static_cast<int>(defs.size()) + 1, false});
        recordSize += static_cast<long long>(width) + 4;
    }
    if (recordSize == 0)
        recordSize = kLineRecordSize;
    // Widths are checked when the fields are created ("Invalid field size"); until then keep
    // the sum in range.
    SetRecordSize(static_cast<int>(std::clamp<long long>(recordSize, 1, INT_MAX)));
}

TGetResult TSdfDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) {
    if (!firstLineAsSchema_)
        return TTextDataSet::GetRecord(buffer, mode, doCheck);
    const int count = static_cast<int>(LineCount());
    if (count < 2)
        return TGetResult::grEOF;
    switch (mode) {
    case TGetMode::gmNext:
        if (Cursor() >= count - 1)
            return TGetResult::grEOF;
        if (Cursor() < 1)
            SetCursor(0);
        break;
    case TGetMode::gmPrior:
        if (Cursor() <= 1)
            return TGetResult::grBOF;
        break;
    case TGetMode::gmCurrent:
        // The schema line is never the current record.
        if (Cursor() == 0) {
            if (doCheck)
                throw EDatabaseError("No Records");
            return TGetResult::grError;
        }
        break;
    }
    return TTextDataSet::GetRecord(buffer, mode, doCheck);
}

bool TSdfDataSet::ReadFieldFromText(std::string_view recordText, const TField& field,
                                    std::string& value) const {
    value.clear();
    TCommaTextReader reader(recordText);
    for (int i = 1; i < field.FieldNo(); ++i) {
        if (!reader.skip())
            return false;
    }
    if (!reader.next(value))
        return false;
    value.resize(utf8PrefixLength(value, static_cast<std::size_t>(field.Size())));
    return !value.empty();
}

void TSdfDataSet::SetFieldData(const TField& field, std::string_view value) {
    TRecordBuffer& buffer = ActiveBuffer();
    std::vector<std::string> items = splitCommaText(buffer.text);
    const auto n = static_cast<std::size_t>(field.FieldNo());
    if (items.size() < n)
        items.resize(n);
    items[n - 1].assign(value);
    // A line break inside a value would split the record into two lines on the next open:
    // store it as a blank instead.
    std::replace(items[n - 1].begin(), items[n - 1].end(), '\r', ' ');
    std::replace(items[n - 1].begin(), items[n - 1].end(), '\n', ' ');
    const std::string line = joinCommaText(items);
    buffer.text.assign(utf8Cut(line, static_cast<std::size_t>(GetRecordSize())));
}

} // namespace wv
