#pragma once
// The standard error box: how a failure that escapes an event handler or
// start-up reaches the user.

#include <QString>
#include <stdexcept>

namespace orvelin::platform {

// A failure with a message for the user, as the toolkit's own exceptions
// carry ("Cannot open file %s", "Stream write error", ...).
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString& message);
    QString message() const;
};

// The message with a full stop appended when it is not empty and its last
// character comes after '.' in code order.
QString standardErrorText(const QString& message);

// The executable's file name without its folder, cut at its first '.', first
// character kept, the rest in lower case.
QString applicationTitle(const QString& executablePath);

// Shows the box (error icon, OK, no owner) with the application's title as caption.
void showStandardErrorBox(const QString& message);

// What the box says for an exception caught at the top: a PlatformError's own
// message, nothing for anything else.
void showStandardErrorBoxFor(const std::exception* caught);

}  // namespace orvelin::platform
