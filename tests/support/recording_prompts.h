#pragma once
// A stand-in for the desktop's prompts: answers from a script and records
// every box, dialog and beep. A prompt nobody scripted fails the test loudly
// instead of blocking on a window no one will close.

#include "platform/ui/prompts.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

namespace orvelin::testing {

class RecordingPrompts : public platform::Prompts {
public:
    RecordingPrompts();
    ~RecordingPrompts() override;

    // Scripted answers, used in order.
    void answerNextMessage(platform::Answer answer);
    void answerNextFileDialog(std::optional<QString> path);  // nullopt = cancel

    platform::Answer messageBox(const platform::MessageBoxRequest& request) override;
    std::optional<QString> fileDialog(const platform::FileDialogRequest& request) override;
    void beep() override;

    QList<platform::MessageBoxRequest> messages;
    QList<platform::FileDialogRequest> fileDialogs;
    int beeps = 0;
    // Yes/No boxes and file dialogs that arrived with no scripted answer. Each
    // also fails the running test; it is answered No / cancel. Boxes with only
    // OK need no script and are answered OK.
    QStringList unexpected;

    // Called when a box is shown, before it is answered; lets a test look at
    // the program's state while the box is "up".
    std::function<void(const platform::MessageBoxRequest&)> onMessage;

    void clear();

private:
    std::deque<platform::Answer> messageAnswers_;
    std::deque<std::optional<QString>> fileAnswers_;
    platform::ScopedPrompts scope_;
};

}  // namespace orvelin::testing
