#include "transfer/HandOver.h"

#include "core/Logging.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <exception>

namespace kyvane {

namespace {

void runSwallowing(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        qCWarning(lcTransfer) << "hand-over failed:" << e.what();
    } catch (...) {
        qCWarning(lcTransfer) << "hand-over failed";
    }
}

} // namespace

bool handOver(QObject* context, const std::function<void()>& call)
{
    if (!context)
        return false;
    if (context->thread() == QThread::currentThread()) {
        runSwallowing(call);
        return true;
    }
    return QMetaObject::invokeMethod(
        context, [&call] { runSwallowing(call); }, Qt::BlockingQueuedConnection);
}

} // namespace kyvane
