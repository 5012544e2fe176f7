#pragma once

// Runs one step of start-up or shutdown so that its failure is written to the error log and
// the sequence goes on.

#include "support/LoggerUnit.h"

#include <QString>

#include <exception>

namespace app {

template <typename Step>
void GuardedStep(const char* name, Step&& step)
{
    try {
        step();
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("%1: %2").arg(QLatin1String(name), QString::fromUtf8(error.what())));
    } catch (...) {
        support::LogError(QStringLiteral("%1: unknown error").arg(QLatin1String(name)));
    }
}

} // namespace app
