#pragma once
// Whether the program can show a window at all, checked before the toolkit
// starts: started without a display, it aborts instead of reporting.

namespace orvelin::app {

// On Linux a display server must be named, or a platform chosen explicitly.
bool displayAvailable(int argc, char** argv);

// The one line that explains how to start the program without a display.
const char* noDisplayMessage();

}  // namespace orvelin::app
