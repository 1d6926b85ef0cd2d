#pragma once
// The application object: the message loop, the main form and the catch-all
// for exceptions escaping event handlers.

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace orvelin::platform {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    // Every form registers itself when it is created. The first one becomes
    // the main form: closing it ends the message loop; closing any other form
    // only hides it.
    void registerForm(QWidget* form);
    QWidget* mainForm() const { return mainForm_; }

    // An exception escaping an event handler is shown in the standard error
    // box, then the loop goes on with the next event.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void endLoopAtNextTurn();

    QPointer<QWidget> mainForm_;  // cleared should the form be destroyed
};

Application* application();  // nullptr when the running app is not ours (some tests)

// Calls `handler` each time `form` becomes the program's active window after
// another window of the program, or none, was active.
void onActivate(QWidget* form, std::function<void()> handler);

}  // namespace orvelin::platform
