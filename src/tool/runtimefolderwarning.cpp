#include "tool/runtimefolderwarning.h"

#include <QString>
#include <QtGlobal>

namespace tool {

namespace {

QtMessageHandler g_next = nullptr;

void passAllButTheRuntimeFolderWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    g_next(type, context, message);
}

} // namespace

void dropRuntimeFolderWarning()
{
    g_next = qInstallMessageHandler(passAllButTheRuntimeFolderWarning);
}

} // namespace tool
