#include "runtime_dir.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace orvelin::platform {

QString guardDirectory() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir()) return xdg;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

}  // namespace orvelin::platform
