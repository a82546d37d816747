#include "platform/gui/GuiThreadMessageBoxes.h"

#include <QCoreApplication>
#include <QThread>

namespace tessaly {

BoxAnswer GuiThreadMessageBoxes::show(const BoxRequest& box)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread())
        return shown_.show(box);
    BoxAnswer answer = BoxAnswer::Ok;
    QMetaObject::invokeMethod(
        app, [&] { answer = shown_.show(box); }, Qt::BlockingQueuedConnection);
    return answer;
}

} // namespace tessaly
