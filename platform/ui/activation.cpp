#include "application.h"

#include "event_hook.h"

#include <QWidget>
#include <utility>

namespace orvelin::platform {

// Qt sends WindowActivate only when the active window changes, which is
// exactly when a form's activation handler is due.
void onActivate(QWidget* form, std::function<void()> handler) {
    hookEvent(form, QEvent::WindowActivate, std::move(handler));
}

}  // namespace orvelin::platform
