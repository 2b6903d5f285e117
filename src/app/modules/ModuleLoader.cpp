#include "modules/ModuleLoader.h"

#include <QCoreApplication>

void ModuleLoader::addInstalledFolder() {
    // Relative to the executable, so that an installation below any prefix finds its modules.
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath() +
                                     "/" RUFWACHT_MODULE_DIR);
}
