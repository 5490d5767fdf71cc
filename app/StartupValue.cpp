#include "app/StartupValue.h"
#include "base/Bytes.h"
#include <QCoreApplication>

#include "app/Formats.h"
#include "base/ErrorReport.h"

#include <QFile>

#include <algorithm>
#include <memory>

namespace wv {

namespace {

// Closes the store's key when the operation ends, however it ends.
class KeyCloser {
public:
    explicit KeyCloser(RunKeyStore& store) : store_(store) {}
    ~KeyCloser() {
        try {
            store_.CloseKey();
        } catch (...) {
        }
    }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    RunKeyStore& store_;
};

} // namespace

RunKeyStore::Block RunValueBlock(const QString& exePath) {
    RunKeyStore::Block block{};
    const QByteArray bytes = CutUtf8(QFile::encodeName(exePath), RunKeyStore::BlockSize - 1);
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

QString LoadAtStartup(RunKeyStore& store, const QString& exePath, bool value) {
    try {
        KeyCloser closer(store);
        const bool done = value ? store.CreateKeyAndWrite(RunValueName, RunValueBlock(exePath))
                                : store.OpenKeyAndDelete(RunValueName);
        if (!done)
            return QString::fromStdString(store.LastError());
    } catch (...) {
        reportError(QCoreApplication::translate("wv::TfrmMain", "Error in LoadAtStartup"));
    }
    return QString();
}

bool CheckLoadAtStartup(RunKeyStore& store) {
    try {
        KeyCloser closer(store);
        auto buffer = std::make_unique<RunKeyStore::Block>();
        return store.OpenKeyAndRead(RunValueName, *buffer);
    } catch (...) {
        reportError(QCoreApplication::translate("wv::TfrmMain", "Error in CheckLoadAtStartup"));
        return false;
    }
}

} // namespace wv
