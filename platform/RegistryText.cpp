#include "platform/RegistryText.h"

#include <QtEndian>

namespace platform {

QString DecodeRegistryText(const QByteArray& data)
{
    const qsizetype units = data.size() / 2;
    QString text(units, Qt::Uninitialized);
    const uchar* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes + 2 * i));
    return text;
}

QByteArray EncodeRegistryText(const QString& text)
{
    QByteArray data(2 * text.size(), '\0');
    uchar* bytes = reinterpret_cast<uchar*>(data.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), bytes + 2 * i);
    return data;
}

} // namespace platform
