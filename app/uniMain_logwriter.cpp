// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Log writer: makes sure the log file exists before the table opens it, and appends one entry
// per event, on disk before the call returns.
#include "app/uniMain.h"

#include "app/Formats.h"
#include "app/LogSaveNotice.h"
#include "base/Bytes.h"
#include "base/Clock.h"
#include "shell/MessageBox.h"
#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/SdfData.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>

namespace wv {

namespace {
const QByteArray kLogHeader = QByteArrayLiteral("IP,DD/MM/YY,TIME,MESSAGE");
// How often held entries are tried again while the log cannot be saved.
constexpr int kLogRetryMs = 5000;

// The box about a failed save: the system's text (it names the file), the reason in plain
// words, and what becomes of the entries.
QString failedSaveText(const EFileError& error) {
    QString text = QString::fromLocal8Bit(error.what());
    const QString reason = FileErrorReasonText(error.Code());
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return text + QStringLiteral("\n\n") +
           QCoreApplication::translate("wv::TfrmMain",
                                       "Wirevane goes on monitoring. The entries not saved yet are "
                                       "kept and written to the log as soon as it can be saved "
                                       "again.");
}

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
    errno = 0;
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        created.write(kLogHeader) != kLogHeader.size() || !created.flush()) {
        const int code = errno;
        // A log this start made but could not fill (a full disk) would only be in the way.
        if (created.isOpen()) {
            created.close();
            QFile::remove(path);
        }
        throw EFileError("Cannot create file " + ToBytes(path), code);
    }
}

void TfrmMain::SaveInLog(const QString& ip, const QString& message) {
    appendLogEntry(ip, message);
    flushLog();
}

bool TfrmMain::LogHeld() const {
    return logNotice_ && logNotice_->Holding();
}

void TfrmMain::appendLogEntry(const QString& ip, const QString& message) {
    const QDateTime now = env_.clock.now();
    appendLogEntry(ip, message, now.date(), now.time());
}

void TfrmMain::appendLogEntry(const QString& ip, const QString& message, const QDate& date,
                              const QTime& time) {
    SetLogFormats();
    table_->Append();
    try {
        table_->Fields(0).SetAsString(ToBytes(ip));
        table_->Fields(1).SetAsString(ToBytes(FormatShortDate(date)));
        table_->Fields(2).SetAsString(ToBytes(FormatLongTime(time)));
        table_->Fields(3).SetAsString(ToBytes(message));
    } catch (...) {
        // A log whose header names fewer than four fields: drop the half-built entry rather
        // than let the next move post it.
        table_->Cancel();
        throw;
    }
    table_->Post();
}

void TfrmMain::flushLog() {
    table_->Flush();
    if (logNotice_)
        logNotice_->Saved();
    if (logRetry_)
        logRetry_->stop();
}

void TfrmMain::saveLogHolding() {
    try {
        flushLog();
    } catch (const EFileError& e) {
        if (!logNotice_)
            logNotice_ = std::make_unique<TLogSaveNotice>(
                [this](const QString& text) {
                    // A session that is ending waits on no box.
                    if (!exitAllowed_)
                        MessageBox::show(text);
                },
                [this](std::function<void()> call) {
                    QTimer::singleShot(0, this, std::move(call));
                });
        if (!logRetry_) {
            logRetry_ = new QTimer(this);
            logRetry_->setObjectName(QStringLiteral("logRetry"));
            logRetry_->setInterval(kLogRetryMs);
            connect(logRetry_, &QTimer::timeout, this, [this] { retryHeldLog(); });
        }
        if (!logRetry_->isActive())
            logRetry_->start();
        logNotice_->Failed(failedSaveText(e));
    }
}

void TfrmMain::retryHeldLog() {
    if (exitAllowed_ || !table_ || !table_->Active()) {
        logRetry_->stop();
        return;
    }
    // A save needs room for a whole copy; while there is less than the file already takes,
    // trying would only fill the disk for a moment and fail.
    const long long room = freeBytesAt(ToBytes(QFileInfo(logPath_).absolutePath()));
    if (room >= 0 && room < QFileInfo(logPath_).size())
        return;
    saveLogHolding();
}

void TfrmMain::logTransition(const QString& ip, const QString& message, bool online) {
    appendLogEntry(ip, message);
    wasOnline_ = online;
    saveLogHolding();
    // The change happened whether or not its entry reached the disk yet.
    NotifyChange(ip, message);
}

} // namespace wv
