#pragma once

// Wide text as registry values hold it: UTF-16 code units, little-endian, one after the other.

#include <QByteArray>
#include <QString>

namespace platform {

// The code units of data; a trailing odd byte holds no character.
QString DecodeRegistryText(const QByteArray& data);
// The code units of text, without a terminating zero.
QByteArray EncodeRegistryText(const QString& text);

} // namespace platform
