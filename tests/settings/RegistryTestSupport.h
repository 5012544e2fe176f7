#pragma once

// A fresh settings file per test, installed as the HKEY_CURRENT_USER hive, and small helpers
// to build and inspect raw values.

#include "platform/Registry.h"
#include "platform/UserRegistryStore.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <atomic>
#include <memory>

namespace qmtest {

inline QString ScratchFolder(const QString& name)
{
    const QString path = QString::fromStdString(IsolatedEnvironment::Global().Scratch()) + "/" + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

inline QByteArray Utf16(const QString& text, bool terminated = true)
{
    QByteArray data(2 * text.size(), '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), data.data() + 2 * i);
    if (terminated)
        data.append(2, '\0');
    return data;
}

inline QByteArray Dword(quint32 value)
{
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(value, data.data());
    return data;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Each test gets its own store file as HKEY_CURRENT_USER.
class ScratchRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        FFolder = ScratchFolder(QStringLiteral("registry-%1").arg(counter++));
        FStore = std::make_shared<platform::UserRegistryStore>(FFolder + "/user.reg");
        platform::SetHiveForRoot(platform::HKEY_CURRENT_USER, FStore);
    }
    void TearDown() override { platform::SetHiveForRoot(platform::HKEY_CURRENT_USER, nullptr); }

    platform::UserRegistryStore& Store() { return *FStore; }
    QString StorePath() const { return FFolder + "/user.reg"; }
    QString Folder() const { return FFolder; }

private:
    QString FFolder;
    std::shared_ptr<platform::UserRegistryStore> FStore;
};

} // namespace qmtest
