#pragma once

// quillmark-cli info [--recursive] [--tables] [--details] PATH...
// Reads every font file named or found in the named folders through the read request and
// prints one JSON object per face, one per line.

#include "CliCommand.h"

namespace cli {

class TInfoCommand final : public TCliCommand {
public:
    QString Name() const override { return QStringLiteral("info"); }
    QString Usage() const override { return QStringLiteral("[--recursive] [--tables] [--details] PATH..."); }
    int Run(const QStringList& arguments) override;
};

} // namespace cli
