#pragma once

#include <QString>

#include <string>

namespace wv {

// The table store works on the file's bytes; the windows on QString. Texts are UTF-8 here.
inline std::string ToBytes(const QString& text) { return text.toLocal8Bit().toStdString(); }
inline QString FromBytes(const std::string& bytes) { return QString::fromLocal8Bit(bytes); }

} // namespace wv
