#include "application.h"

#include "error_box.h"

#include <QEvent>
#include <QWidget>
#include <exception>

namespace orvelin::platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // Only closing the main form ends the loop; hiding the last visible
    // window (the session code dialog after Accept, say) must not.
    setQuitOnLastWindowClosed(false);
}

void Application::registerForm(QWidget* form) {
    if (!form) return;
    // Forms live until the program ends: closing one hides it, never frees it.
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    if (!mainForm_) mainForm_ = form;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        const bool handled = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Close && event->isAccepted() && receiver == mainForm_)
            endLoopAtNextTurn();
        return handled;
    } catch (const std::exception& caught) {
        showStandardErrorBoxFor(&caught);
    } catch (...) {
        showStandardErrorBoxFor(nullptr);
    }
    return false;
}

// Queued, so the close that asked for it finishes (the form hides) first, and
// a close made before the loop runs still ends it as soon as it starts.
void Application::endLoopAtNextTurn() {
    QMetaObject::invokeMethod(this, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

Application* application() { return qobject_cast<Application*>(QCoreApplication::instance()); }

}  // namespace orvelin::platform
