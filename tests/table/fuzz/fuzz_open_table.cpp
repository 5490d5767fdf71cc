// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Fuzzes opening arbitrary bytes as a table: every record and row is read, a record is added
// and saved, and the saved file opens again with that record more.
#include "FuzzCheck.h"
#include "table/Errors.h"
#include "table/SdfData.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& tablePath() {
    // In memory where possible: every save syncs the file to disk.
    static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path =
        folder + "/wv-fuzz-table-" + std::to_string(::getpid()) + ".txt";
    return path;
}

void writeFile(const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(tablePath().c_str(), "wb");
    check(f != nullptr);
    if (size > 0)
        check(std::fwrite(data, 1, size, f) == size);
    std::fclose(f);
}

// Opens the file with the layout chosen by `mode`; nullptr when the open fails.
std::unique_ptr<wv::TTextDataSet> openTable(int mode) {
    std::unique_ptr<wv::TTextDataSet> table;
    if (mode == 0) {
        table = std::make_unique<wv::TTextDataSet>();
    } else {
        auto sdf = std::make_unique<wv::TSdfDataSet>();
        sdf->SetFirstLineAsSchema(mode == 1);
        table = std::move(sdf);
    }
    table->SetFileName(tablePath());
    try {
        table->Open();
    } catch (const wv::Exception&) {
        check(!table->Active());
        return nullptr;
    }
    return table;
}

int walk(wv::TDataSet& table) {
    int records = 0;
    for (table.First(); !table.Eof(); table.Next()) {
        ++records;
        for (int i = 0; i < table.FieldCount(); ++i) {
            const std::string value = table.Fields(i).AsString();
            check(value.size() <= static_cast<std::size_t>(table.Fields(i).Size()));
            check(value.empty() == table.Fields(i).IsNull());
        }
    }
    check(records == table.RowCount());
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int i = 0; i < table.FieldCount(); ++i)
            (void)table.RowValue(row, i);
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int mode = data[0] % 3;
    writeFile(data + 1, size - 1);
    auto table = openTable(mode);
    if (!table)
        return 0;
    const int before = walk(*table);
    table->Last();
    if (table->RecordCount() > 0)
        check(table->RecNo() >= 1 && table->RecNo() <= table->RecordCount());
    table->Append();
    for (int i = 0; i < table->FieldCount(); ++i)
        table->Fields(i).SetAsString("v" + std::to_string(i));
    table->Post();
    check(walk(*table) == before + 1);
    table->First();
    if (!table->Eof()) {
        table->Edit();
        table->Fields(0).SetAsString("edited");
        table->Delete();
    }
    const int afterDelete = walk(*table);
    check(afterDelete == before);
    // An open without schema entries turns FirstLineAsSchema off; reopen the way it ended.
    const auto* sdf = dynamic_cast<const wv::TSdfDataSet*>(table.get());
    const int reopenMode = sdf != nullptr && !sdf->FirstLineAsSchema() ? 2 : mode;
    table->Close();

    auto again = openTable(reopenMode);
    if (again) // widths taken from the longest line may now be too wide: that open may fail
        check(walk(*again) == afterDelete);
    std::remove(tablePath().c_str());
    return 0;
}
