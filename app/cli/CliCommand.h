#pragma once

// A sub-command of quillmark-cli ("info", later "active", "scan", "install", ...). Each lives
// in its own file and is listed once in CommandTable.cpp.

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace cli {

class TCliCommand {
public:
    virtual ~TCliCommand() = default;

    virtual QString Name() const = 0;
    // One line: the arguments after the command name.
    virtual QString Usage() const = 0;
    // arguments: what follows the command name. Answers the exit status.
    virtual int Run(const QStringList& arguments) = 0;
};

std::vector<std::unique_ptr<TCliCommand>> AllCommands();

// Exit status for a command line that cannot be understood.
inline constexpr int kUsageError = 2;

} // namespace cli
