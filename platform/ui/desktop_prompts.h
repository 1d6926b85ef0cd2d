#pragma once
// The real prompts: the desktop's message boxes, file dialogs and beep.

#include "prompts.h"

namespace orvelin::platform {

class DesktopPrompts : public Prompts {
public:
    Answer messageBox(const MessageBoxRequest& request) override;
    std::optional<QString> fileDialog(const FileDialogRequest& request) override;  // desktop_file_dialog.cpp
    void beep() override;
};

}  // namespace orvelin::platform
