#include "TerminationRequest.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only do async-signal-safe work: it writes the signal number to a socket
// that the main thread watches.
int GPipe[2] = {-1, -1};
struct sigaction GPrevious[std::size(kSignals)];
bool GInstalled = false;

extern "C" void OnTerminationSignal(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    const ssize_t ignored = ::write(GPipe[1], &byte, 1);
    static_cast<void>(ignored);
}

} // namespace

TTerminationRequest::TTerminationRequest(QObject* parent)
    : QObject(parent)
{
    if (GInstalled)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, GPipe) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &GPrevious[i]);
    GInstalled = true;
    FNotifier = new QSocketNotifier(GPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationRequest::Drain);
}

TTerminationRequest::~TTerminationRequest()
{
    if (!FNotifier)
        return;
    delete FNotifier;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &GPrevious[i], nullptr);
    ::close(GPipe[0]);
    ::close(GPipe[1]);
    GPipe[0] = GPipe[1] = -1;
    GInstalled = false;
}

void TTerminationRequest::Drain()
{
    unsigned char byte = 0;
    while (::read(GPipe[0], &byte, 1) == 1)
        emit Requested(byte);
}

} // namespace platform
