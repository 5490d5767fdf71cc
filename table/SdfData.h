// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// TSdfDataSet: a TTextDataSet whose lines are comma-delimited records with named text fields.
//
// The field names (and optionally widths, "name=width") come from the data file's first line
// (FirstLineAsSchema) or from a schema file (SchemaFile); without either, the first line still
// names the fields but is a record too. A field without a width is as wide as the longest line
// at open. The schema line is never visited by navigation and is no row, but it counts in
// RecordCount and RecNo (the first record after it is RecNo 2; assigning RecNo 1 goes there).
//
// Reading a field splits the record line (comma text); writing one splits, replaces the item
// and joins the line again. Values and lines are cut to widths in bytes on UTF-8 character
// boundaries.
//
// The properties take a new value only while the table is closed; assignments while it is open
// are ignored.
#include "table/SdfTextData.h"

#include <string>

namespace wv {

class TSdfDataSet : public TTextDataSet {
public:
    TSdfDataSet();
    ~TSdfDataSet() override;

    void SetFileName(std::string fileName) override;

    // Path of a schema file; empty for none. A non-empty path clears FirstLineAsSchema.
    const std::string& SchemaFile() const { return schemaFile_; }
    void SetSchemaFile(std::string schemaFile);

    // When false, a missing data file is created empty at open. Default true.
    bool FileMustExist() const { return fileMustExist_; }
    void SetFileMustExist(bool mustExist);

    // The data file's first line is the schema line. Setting it clears SchemaFile. An open
    // that finds no schema entries clears both. Default false.
    bool FirstLineAsSchema() const { return firstLineAsSchema_; }
    void SetFirstLineAsSchema(bool firstLineAsSchema);

protected:
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
    void InternalInitFieldDefs() override;
    void InternalOpen() override;
    void SetFieldData(const TField& field, std::string_view value) override;
    bool ReadFieldFromText(std::string_view recordText, const TField& field,
                           std::string& value) const override;
    int SchemaLineCount() const override;

private:
    std::string schemaFile_;
    bool fileMustExist_ = true;
    bool firstLineAsSchema_ = false;
};

} // namespace wv
