#include "error_box.h"

#include "prompts.h"

#include <QCoreApplication>
#include <QDir>

namespace orvelin::platform {

PlatformError::PlatformError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString PlatformError::message() const { return QString::fromUtf8(what()); }

QString standardErrorText(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.') return message;
    return message + QLatin1Char('.');
}

QString applicationTitle(const QString& executablePath) {
    const QString path = QDir::fromNativeSeparators(executablePath);
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype stop = name.indexOf(QLatin1Char('.'));
    if (stop >= 0) name.truncate(stop);
    if (name.isEmpty()) return name;
    return name.front() + name.mid(1).toLower();
}

void showStandardErrorBox(const QString& message) {
    const QString title = QCoreApplication::instance()
                              ? applicationTitle(QCoreApplication::applicationFilePath())
                              : QString();
    showMessage(standardErrorText(message), title, Icon::Error, Buttons::Ok, nullptr);
}

void showStandardErrorBoxFor(const std::exception* caught) {
    const auto* platformError = dynamic_cast<const PlatformError*>(caught);
    showStandardErrorBox(platformError ? platformError->message() : QString());
}

}  // namespace orvelin::platform
