// Log writer: makes sure the log file exists before the table opens it, and appends one entry
// per event, on disk before the call returns.
#include "app/uniMain.h"

#include "app/Formats.h"
#include "base/Bytes.h"
#include "base/Clock.h"
#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/SdfData.h"

#include <QFile>
#include <QFileInfo>

namespace wv {

namespace {
const QByteArray kLogHeader = QByteArrayLiteral("IP,DD/MM/YY,TIME,MESSAGE");

} // namespace

void TfrmMain::ValidateLog(const QString& path) {
    QFile file(path);
    if (file.exists()) {
        if (file.open(QIODevice::ReadOnly)) {
            const bool empty = QFileInfo(path).isFile() && file.size() == 0;
            file.readLine();
            if (file.error() == QFileDevice::NoError) {
                if (!empty)
                    return;
                // An empty log holds nothing to lose: it starts anew with its header, written
                // whole or not at all.
                TAtomicFileWriter writer(ToBytes(path));
                writer.write(std::string_view(kLogHeader.constData(), kLogHeader.size()));
                writer.commit();
                return;
            }
        }
        // The file is there but cannot be read (permissions, a folder of that name, ...).
        // Creating it anew would destroy the user's log: refuse and let start-up end.
        throw EFileError("Cannot open file " + ToBytes(path));
    }
    QFile created(path);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        created.write(kLogHeader) != kLogHeader.size() || !created.flush())
        throw EFileError("Cannot create file " + ToBytes(path));
}

void TfrmMain::SaveInLog(const QString& ip, const QString& message) {
    SetLogFormats();
    const QDateTime now = env_.clock.now();
    table_->Append();
    try {
        table_->Fields(0).SetAsString(ToBytes(ip));
        table_->Fields(1).SetAsString(ToBytes(FormatShortDate(now.date())));
        table_->Fields(2).SetAsString(ToBytes(FormatLongTime(now.time())));
        table_->Fields(3).SetAsString(ToBytes(message));
    } catch (...) {
        // A log whose header names fewer than four fields: drop the half-built entry rather
        // than let the next move post it.
        table_->Cancel();
        throw;
    }
    table_->Post();
    table_->Flush();
    NotifyChange(ip, message);
}

} // namespace wv
