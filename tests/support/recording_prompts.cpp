#include "recording_prompts.h"

#include <QTest>

namespace orvelin::testing {

RecordingPrompts::RecordingPrompts() : scope_(*this) {}
RecordingPrompts::~RecordingPrompts() = default;

void RecordingPrompts::answerNextMessage(platform::Answer answer) { messageAnswers_.push_back(answer); }

void RecordingPrompts::answerNextFileDialog(std::optional<QString> path) { fileAnswers_.push_back(std::move(path)); }

platform::Answer RecordingPrompts::messageBox(const platform::MessageBoxRequest& request) {
    messages.append(request);
    if (onMessage) onMessage(request);
    if (!messageAnswers_.empty()) {
        const platform::Answer answer = messageAnswers_.front();
        messageAnswers_.pop_front();
        return answer;
    }
    if (request.buttons == platform::Buttons::Ok) return platform::Answer::Ok;
    const QString what = QStringLiteral("unscripted question: %1 / %2").arg(request.caption, request.text);
    unexpected.append(what);
    QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    return platform::Answer::No;
}

std::optional<QString> RecordingPrompts::fileDialog(const platform::FileDialogRequest& request) {
    fileDialogs.append(request);
    if (!fileAnswers_.empty()) {
        std::optional<QString> answer = fileAnswers_.front();
        fileAnswers_.pop_front();
        return answer;
    }
    const QString what = QStringLiteral("unscripted file dialog, initial name %1").arg(request.initialFileName);
    unexpected.append(what);
    QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    return std::nullopt;
}

void RecordingPrompts::beep() { ++beeps; }

void RecordingPrompts::clear() {
    messages.clear();
    fileDialogs.clear();
    beeps = 0;
    unexpected.clear();
    messageAnswers_.clear();
    fileAnswers_.clear();
}

}  // namespace orvelin::testing
