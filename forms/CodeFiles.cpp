// The main window's file commands: Open, Save and Save as.
#include "Code.h"

void TUwens::OpenTextFile() {}
void TUwens::SaveToCurrentFile() {}
void TUwens::SaveTextAs() {}
void TUwens::LoadTextFile(const QString&) {}
void TUwens::WriteTextFile(const QString&) {}
