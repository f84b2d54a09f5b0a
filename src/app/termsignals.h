#pragma once

// SIGTERM and SIGINT end the program the normal way: the handler only writes to a pipe,
// and the event loop closes the main menu so that the shutdown steps run.

#include <QObject>

class QSocketNotifier;

namespace pikotel {

class TermSignals : public QObject {
    Q_OBJECT
public:
    explicit TermSignals(QObject* parent = nullptr);
    ~TermSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace pikotel
