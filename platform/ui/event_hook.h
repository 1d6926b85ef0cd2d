#pragma once
// Runs a function when an object receives a given event, before the object's
// own handler sees it; the hook lives and dies with the object.

#include <QEvent>
#include <functional>

class QObject;

namespace orvelin::platform {

enum class HookRuns { EveryTime, Once };

void hookEvent(QObject* target, QEvent::Type type, std::function<void()> action,
               HookRuns runs = HookRuns::EveryTime);

}  // namespace orvelin::platform
