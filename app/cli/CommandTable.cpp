#include "CliCommand.h"

#include "ActiveCommand.h"
#include "InfoCommand.h"
#include "OperationCommand.h"

namespace cli {

std::vector<std::unique_ptr<TCliCommand>> AllCommands()
{
    std::vector<std::unique_ptr<TCliCommand>> commands;
    commands.push_back(std::make_unique<TInfoCommand>());
    commands.push_back(std::make_unique<TActiveCommand>());
    TOperationCommand::AddAll(commands);
    return commands;
}

} // namespace cli
