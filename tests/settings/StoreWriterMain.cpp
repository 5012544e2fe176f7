// Writes values into a settings file the way a second running instance would: one locked
// write per value. Arguments: <store file> <writer tag> <count>.

#include "platform/UserRegistryStore.h"

#include <QString>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <store file> <tag> <count>\n", argv[0]);
        return 2;
    }
    platform::UserRegistryStore store(QString::fromLocal8Bit(argv[1]));
    const QString tag = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            QByteArray data(4, '\0');
            qToLittleEndian<qint32>(i, data.data());
            store.SetValue(QStringLiteral("Software\\Race\\") + tag, tag + QString::number(i),
                           {platform::REG_DWORD, data});
            store.SetValue(QStringLiteral("Software\\Race"), QStringLiteral("Last ") + tag,
                           {platform::REG_DWORD, data});
        }
    } catch (const platform::RegistryHiveError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
