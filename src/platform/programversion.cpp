#include "platform/programversion.h"

QString programVersion() {
    return QStringLiteral(KVR_VERSION);
}
