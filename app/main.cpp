// Program entry: one copy per logon session, the three windows in their fixed
// order, the session code dialog first in front, then the message loop.
#include "display_check.h"

#include "Code.h"
#include "Code1.h"
#include "Code3.h"
#include "FormLook.h"
#include "platform/guard/instance_guard.h"
#include "platform/ui/application.h"
#include "platform/ui/error_box.h"
#include "platform/ui/runtime_dir.h"

#include <QFile>
#include <QLineEdit>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

// The windows live until the end of the run and go before the application.
struct Forms {
    std::unique_ptr<TTrivor> trivor;
    std::unique_ptr<TUwens> uwens;
    std::unique_ptr<TFH> fh;

    ~Forms() {
        fh.reset();
        FH = nullptr;
        uwens.reset();
        trivor.reset();
    }
};

void createForms(Forms& forms) {
    // The first form created is the main form: closing it ends the program.
    forms.trivor = std::make_unique<TTrivor>();
    Trivor = forms.trivor.get();
    // Shown while it is being created, before the About window exists.
    forms.uwens = std::make_unique<TUwens>();
    Uwens = forms.uwens.get();
    forms.fh = std::make_unique<TFH>();
    FH = forms.fh.get();
}

void showMainForm() {
    orvelin::forms::bringToFront(Trivor);
    Trivor->MaskEdit1->setFocus();
}

// A failure while the windows are created or the dialog is first shown is
// reported, and the program then ends.
bool startForms(Forms& forms) {
    try {
        createForms(forms);
        showMainForm();
        return true;
    } catch (const std::exception& failure) {
        orvelin::platform::showStandardErrorBoxFor(&failure);
    } catch (...) {
        orvelin::platform::showStandardErrorBoxFor(nullptr);
    }
    return false;
}

void runForms() {
    Forms forms;
    if (startForms(forms)) orvelin::platform::Application::exec();
}

}  // namespace

int main(int argc, char** argv) {
    // Checked first: without a display nothing below could run, and the
    // toolkit would abort rather than say so.
    if (!orvelin::app::displayAvailable(argc, argv)) {
        std::fputs(orvelin::app::noDisplayMessage(), stderr);
        return 1;
    }
    orvelin::platform::InstanceGuard guard(QFile::encodeName(orvelin::platform::guardDirectory()).toStdString());
    if (guard.state() == orvelin::platform::InstanceGuard::State::AlreadyRunning) return 0;
    {
        orvelin::platform::Application application(argc, argv);
        orvelin::platform::Application::setWindowIcon(orvelin::forms::applicationIcon());
        runForms();
    }
    guard.release();
    return 0;
}
