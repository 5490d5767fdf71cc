// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace wv {

// The table store works on the file's bytes; the windows on QString. Texts are UTF-8 here.
inline std::string ToBytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}
inline QString FromBytes(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes);
}

// At most `maxBytes` bytes of UTF-8 text, cut so that no character is split.
inline QByteArray CutUtf8(const QByteArray& bytes, qsizetype maxBytes) {
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype n = maxBytes;
    // bytes[n] is the first byte left out; when it continues a character, leave that whole
    // character out.
    while (n > 0 && (static_cast<unsigned char>(bytes[n]) & 0xC0) == 0x80)
        --n;
    return bytes.left(n);
}

} // namespace wv
