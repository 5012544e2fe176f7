#pragma once

// quillmark-cli active
// One full enumeration of the active fonts, as the Active tab would show them, printed as one
// JSON object per face, one per line, families and faces in the catalogue's order.

#include "CliCommand.h"

namespace cli {

class TActiveCommand final : public TCliCommand {
public:
    QString Name() const override { return QStringLiteral("active"); }
    QString Usage() const override { return QString(); }
    int Run(const QStringList& arguments) override;
};

} // namespace cli
