#include "event_hook.h"

#include <QObject>
#include <utility>

namespace orvelin::platform {
namespace {

class EventHook : public QObject {
public:
    EventHook(QObject* target, QEvent::Type type, std::function<void()> action, HookRuns runs)
        : QObject(target), target_(target), type_(type), action_(std::move(action)), runs_(runs) {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != target_ || event->type() != type_) return false;
        if (runs_ == HookRuns::Once) {
            target_->removeEventFilter(this);
            deleteLater();
        }
        // A throwing action leaves through the application's notify(), which
        // shows the standard error box.
        action_();
        return false;
    }

private:
    QObject* target_;
    QEvent::Type type_;
    std::function<void()> action_;
    HookRuns runs_;
};

}  // namespace

void hookEvent(QObject* target, QEvent::Type type, std::function<void()> action, HookRuns runs) {
    if (!target || !action) return;
    new EventHook(target, type, std::move(action), runs);
}

}  // namespace orvelin::platform
