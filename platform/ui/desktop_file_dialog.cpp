#include "desktop_prompts.h"

namespace orvelin::platform {

std::optional<QString> DesktopPrompts::fileDialog(const FileDialogRequest&) { return std::nullopt; }

}  // namespace orvelin::platform
