#pragma once
// Where the single-instance guard keeps its lock file.

#include <QString>

namespace orvelin::platform {

// The user's runtime folder: $XDG_RUNTIME_DIR when it is set and exists, else
// the one Qt picks for runtime files. Empty when there is none.
QString guardDirectory();

}  // namespace orvelin::platform
