// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Log browser: the grid's columns, loading a chosen entry into the Log page, and the search.
#include "app/uniMain.h"

#include "app/Formats.h"
#include "base/Bytes.h"
#include "base/Clock.h"
#include "shell/DBGrid.h"
#include "shell/MessageBox.h"
#include "table/Errors.h"
#include "table/SdfData.h"
#include "ui_uniMain.h"

#include <QFontMetrics>

#include <algorithm>

namespace wv {

namespace {

// A field's value as text; an empty (null) value has no text.
QString fieldText(TField& field) {
    if (field.IsNull())
        throw EConvertError("Field '" + field.FieldName() + "' has no value");
    return FromBytes(field.AsString());
}
} // namespace

void TfrmMain::AfterTableOpen(TDataSet& /*table*/) {
    // The widths drawn for, or wider where the desktop's font needs it for a full address,
    // date, time and message.
    static constexpr int kWidths[] = {90, 65, 55, 90};
    const QString widest[] = {QStringLiteral("255.255.255.255"), QStringLiteral("DD/MM/YY"),
                              FormatLongTime(QTime(22, 22, 22)),
                              QStringLiteral("Start of program")};
    const QFontMetrics metrics(ui_->DBGrid->font());
    for (int i = 0; i < 4; ++i)
        ui_->DBGrid->setColumnWidth(
            i, std::max(kWidths[i], metrics.horizontalAdvance(widest[i]) + 10));
}

void TfrmMain::DBGridDblClick() {
    DataFromTable();
}

void TfrmMain::DataFromTable() {
    try {
        const QDate today = env_.clock.now().date();
        ui_->dedDate->setDate(StrToDate(fieldText(table_->FieldByName("DD/MM/YY")), today));
        ui_->editTime->setText(fieldText(table_->FieldByName("TIME")));
        ui_->editMessage->setText(fieldText(table_->FieldByName("MESSAGE")));
        if (TField* ip = table_->FindField("IP"))
            ui_->cboxIP->setEditText(fieldText(*ip));
    } catch (...) {
        MessageBox::show(tr("Error of loading data from table"));
    }
}

void TfrmMain::dedDateChange() {}

QDate TfrmMain::SearchDate() const {
    const QDate d = ui_->dedDate->date();
    return d.isValid() ? d : env_.clock.now().date();
}

bool TfrmMain::Seeking(const QString& ip, bool fromNext, bool withDate, const QDate& date) {
    if (fromNext)
        table_->Next();
    else
        table_->First();
    // A log without entries finds nothing, whatever fields its header names.
    if (table_->Eof())
        return false;
    const std::string wanted = ToBytes(ip);
    const QDate today = env_.clock.now().date();
    TField& dateField = table_->FieldByName("DD/MM/YY");
    TField& ipField = table_->FieldByName("IP");
    while (!table_->Eof()) {
        const std::string day = dateField.AsString();
        const std::string address = ipField.AsString();
        // Every visited date is converted, so a damaged one stops the search where it stands.
        const QDate entryDate = StrToDate(FromBytes(day), today);
        if (address == wanted && (!withDate || entryDate == date))
            return true;
        table_->Next();
    }
    return false;
}

void TfrmMain::sbtnFindIPClick() {
    const QDate date = SearchDate();
    const bool withDate = ui_->cbxWithDate->isChecked();
    const QString ip = ui_->cboxIP->currentText();
    const bool fromNext = ui_->cbxNext->isChecked();
    if (Seeking(ip, fromNext, withDate, date))
        DataFromTable();
    else
        MessageBox::show(tr("%1 and %2 not found").arg(ScreenDate(date), ip));
}

} // namespace wv
