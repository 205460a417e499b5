#include "wait.h"

#include <QThread>

void BlockingWait::wait(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
