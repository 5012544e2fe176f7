#pragma once

// quillmark-cli install|uninstall|load|unload|delete|copy|move [--to FOLDER] FILE...: the
// operation engine on the faces of the named files, without questions. Prints one JSON object
// per task; exit status 0 only when every task succeeded.

#include "CliCommand.h"

#include "operations/FontOperationThreadUnit.h"

namespace cli {

class TOperationCommand : public TCliCommand {
public:
    TOperationCommand(QString name, operations::TFontOperation operation);

    QString Name() const override { return FName; }
    QString Usage() const override;
    int Run(const QStringList& arguments) override;

    // The seven commands.
    static void AddAll(std::vector<std::unique_ptr<TCliCommand>>& commands);

private:
    bool NeedsDestination() const;

    QString FName;
    operations::TFontOperation FOperation;
};

} // namespace cli
