#pragma once

// quillmark-cli scan [--recursive] FOLDER
// The faces a Browse scan of the folder reports, each with the status it gets against the
// active fonts (one full enumeration first), one JSON object per line, families and faces in
// the catalogue's order.

#include "CliCommand.h"

namespace cli {

class TScanCommand final : public TCliCommand {
public:
    QString Name() const override { return QStringLiteral("scan"); }
    QString Usage() const override { return QStringLiteral("[--recursive] FOLDER"); }
    int Run(const QStringList& arguments) override;
};

} // namespace cli
