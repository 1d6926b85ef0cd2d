#pragma once
// The companion's exit statuses, kept apart so that scripts can tell a text
// the codec refused from a mistake in the call.

namespace orvelin::cli {

enum ExitStatus : int {
    kSuccess = 0,
    kRejected = 1,  // the codec refused the text or the code
    kFailure = 2,   // usage, session code or file error
};

}  // namespace orvelin::cli
