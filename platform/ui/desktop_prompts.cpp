#include "desktop_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

namespace orvelin::platform {
namespace {

QMessageBox::Icon toQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Qt::WindowModality modalityFor(const MessageBoxRequest& request) {
    if (request.owner) return Qt::WindowModal;
    // Window-modal to no window blocks nothing, yet still runs its own loop.
    return request.blocksNoWindow ? Qt::WindowModal : Qt::ApplicationModal;
}

// With no QApplication there is no way to show a window; the message still
// has to reach someone, and the safe answer is the default one.
Answer reportWithoutWindows(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s: %s\n", request.caption.toLocal8Bit().constData(),
                 request.text.toLocal8Bit().constData());
    return request.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

}  // namespace

Answer DesktopPrompts::messageBox(const MessageBoxRequest& request) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return reportWithoutWindows(request);

    const bool yesNo = request.buttons == Buttons::YesNo;
    QWidget* parent = request.owner ? request.owner->window() : nullptr;
    QMessageBox box(toQtIcon(request.icon), request.caption, request.text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // Messages carry file paths and user text: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(yesNo ? QMessageBox::No : QMessageBox::Ok);
    box.setWindowModality(modalityFor(request));
    const int pressed = box.exec();
    if (!yesNo) return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void DesktopPrompts::beep() { QApplication::beep(); }

}  // namespace orvelin::platform
