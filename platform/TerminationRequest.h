#pragma once

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal in the main thread, so that a logout, a
// `kill` or Ctrl+C ends the program through its ordinary shutdown (state saved, logs closed)
// instead of cutting it off. One instance at a time; the previous handlers come back when it
// goes.

#include <QObject>

class QSocketNotifier;

namespace platform {

class TTerminationRequest : public QObject {
    Q_OBJECT
public:
    explicit TTerminationRequest(QObject* parent = nullptr);
    ~TTerminationRequest() override;
    TTerminationRequest(const TTerminationRequest&) = delete;
    TTerminationRequest& operator=(const TTerminationRequest&) = delete;

    // False when the handlers could not be installed (the signals keep their defaults).
    bool IsActive() const { return FNotifier != nullptr; }

signals:
    void Requested(int signalNumber);

private:
    void Drain();

    QSocketNotifier* FNotifier = nullptr;
};

} // namespace platform
