#include "CliCommand.h"

#include "ActiveCommand.h"
#include "InfoCommand.h"
#include "OperationCommand.h"
#include "ScanCommand.h"

namespace cli {

std::vector<std::unique_ptr<TCliCommand>> AllCommands()
{
    std::vector<std::unique_ptr<TCliCommand>> commands;
    commands.push_back(std::make_unique<TInfoCommand>());
    commands.push_back(std::make_unique<TActiveCommand>());
    commands.push_back(std::make_unique<TScanCommand>());
    TOperationCommand::AddAll(commands);
    return commands;
}

} // namespace cli
