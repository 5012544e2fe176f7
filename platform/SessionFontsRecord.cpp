#include "SessionFontsRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace platform {

namespace {

QByteArray Encoded(const QString& text) { return QUrl::toPercentEncoding(text); }
QString Decoded(const QByteArray& text) { return QUrl::fromPercentEncoding(text); }

QString XmlText(const QString& text) { return text.toHtmlEscaped(); }

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

TSessionRecord TSessionRecord::Read(const QString& path)
{
    TSessionRecord record;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return record;
    constexpr qint64 kMaxRecordBytes = 16 << 20;
    const QByteArray text = file.read(kMaxRecordBytes);
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 5 && fields[0] == "add") {
            TSessionAddition addition;
            addition.Count = fields[1].toInt();
            addition.Key = Decoded(fields[2]);
            addition.File = Decoded(fields[3]);
            addition.Link = Decoded(fields[4]);
            const bool linkGone = !addition.Link.isEmpty() && !QFileInfo(addition.Link).isSymLink();
            if (addition.Count > 0 && !addition.Key.isEmpty() && !linkGone)
                record.Additions.push_back(addition);
        } else if (fields.size() == 3 && fields[0] == "reject") {
            record.Rejections.push_back({Decoded(fields[1]), Decoded(fields[2])});
        }
    }
    return record;
}

bool TSessionRecord::Write(const QString& path) const
{
    QByteArray text;
    for (const TSessionAddition& addition : Additions)
        text += "add\t" + QByteArray::number(addition.Count) + '\t' + Encoded(addition.Key) + '\t'
                + Encoded(addition.File) + '\t' + Encoded(addition.Link) + '\n';
    for (const TSessionRejection& rejection : Rejections)
        text += "reject\t" + Encoded(rejection.Key) + '\t' + Encoded(rejection.Glob) + '\n';
    return WriteFileAtomically(path, text);
}

QString TSessionRecord::FontconfigText(const QString& sessionFontFolder) const
{
    QString text = QStringLiteral(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<!-- The fonts Quillmark loaded and unloaded for this login session. Rewritten by the\n"
        "     program; the folder that holds this file is emptied at logout. -->\n"
        "<fontconfig>\n");
    text += QStringLiteral("  <dir>%1</dir>\n").arg(XmlText(sessionFontFolder));
    if (!Rejections.empty()) {
        text += QStringLiteral("  <selectfont>\n    <rejectfont>\n");
        for (const TSessionRejection& rejection : Rejections)
            text += QStringLiteral("      <glob>%1</glob>\n").arg(XmlText(rejection.Glob));
        text += QStringLiteral("    </rejectfont>\n  </selectfont>\n");
    }
    text += QStringLiteral("</fontconfig>\n");
    return text;
}

TSessionAddition* TSessionRecord::FindAddition(const QString& key)
{
    const auto found = std::find_if(Additions.begin(), Additions.end(),
                                    [&](const TSessionAddition& a) { return a.Key == key; });
    return found == Additions.end() ? nullptr : &*found;
}

void TSessionRecord::RemoveAddition(const QString& key)
{
    std::erase_if(Additions, [&](const TSessionAddition& a) { return a.Key == key; });
}

bool TSessionRecord::IsRejected(const QString& key) const
{
    return std::any_of(Rejections.begin(), Rejections.end(),
                       [&](const TSessionRejection& r) { return r.Key == key; });
}

bool TSessionRecord::RemoveRejections(const QString& key)
{
    return std::erase_if(Rejections, [&](const TSessionRejection& r) { return r.Key == key; }) > 0;
}

} // namespace platform
