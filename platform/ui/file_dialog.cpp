#include "prompts.h"

#include <QStringList>

namespace orvelin::platform {
namespace {

// "Text files|*.txt|All|*.txt;*.log" -> "Text files (*.txt);;All (*.txt *.log)".
// A description left without its pattern matches every file.
QString toQtFilter(const QString& formFilter) {
    const QStringList parts = formFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        if (description.isEmpty() && i + 1 >= parts.size()) continue;
        filters.append(QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

// "*.txt", ".txt" and "txt" all name the suffix "txt".
QString bareSuffix(QString defaultExt) {
    defaultExt = defaultExt.trimmed();
    if (defaultExt.startsWith(QLatin1Char('*'))) defaultExt.remove(0, 1);
    if (defaultExt.startsWith(QLatin1Char('.'))) defaultExt.remove(0, 1);
    return defaultExt;
}

}  // namespace

bool FileDialog::Execute(QWidget* owner) {
    FileDialogRequest request;
    request.kind = kind_;
    request.owner = owner;
    request.filter = toQtFilter(Filter);
    request.initialFileName = FileName;
    request.defaultSuffix = bareSuffix(DefaultExt);
    const std::optional<QString> chosen = prompts().fileDialog(request);
    // An empty answer names no file: treat it as a cancel so nothing downstream
    // works on a blank path.
    if (!chosen || chosen->isEmpty()) return false;
    FileName = *chosen;
    return true;
}

}  // namespace orvelin::platform
