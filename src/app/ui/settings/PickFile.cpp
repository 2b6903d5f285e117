#include "ui/settings/PickFile.h"

#include "support/AppPaths.h"
#include "support/QtText.h"
#include "ui/FilePicker.h"

#include <QLineEdit>

void pickFileInto(QLineEdit* field, FilePicker& files, const AppPaths& paths,
                  const std::string& filter) {
    const std::string current = ss(field->text());
    const std::string start = current.empty() ? paths.dataDir() : paths.resolve(current);
    if (const auto chosen = files.openFile(field->window(), filter, start)) {
        field->setText(qs(*chosen));
    }
}
