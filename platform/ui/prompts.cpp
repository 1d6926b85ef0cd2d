#include "prompts.h"

#include "desktop_prompts.h"

namespace orvelin::platform {
namespace {

Prompts* installed = nullptr;

Prompts& desktopPrompts() {
    static DesktopPrompts desktop;
    return desktop;
}

}  // namespace

Prompts& prompts() { return installed ? *installed : desktopPrompts(); }

ScopedPrompts::ScopedPrompts(Prompts& replacement) : previous_(installed) { installed = &replacement; }

ScopedPrompts::~ScopedPrompts() { installed = previous_; }

Answer showMessage(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   QWidget* owner) {
    MessageBoxRequest request;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    request.owner = owner;
    return prompts().messageBox(request);
}

void beep() { prompts().beep(); }

}  // namespace orvelin::platform
