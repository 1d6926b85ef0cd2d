#include "codec/text_codec.h"

namespace orvelin::codec {

namespace {

using Operation = Outcome (*)(std::string_view, std::string_view, std::string&);

// A rejected text comes back as it was, so the caller's editor loses nothing.
std::string runReporting(Operation operation, MessageOwner* owner,
                         const std::string& text, const std::string& code,
                         bool showMessages) {
    std::string result;
    const Outcome outcome = operation(text, code, result);
    if (outcome == Outcome::Ok) return result;
    if (showMessages && owner != nullptr) owner->showCodecMessage(rejectionFor(outcome));
    return text;
}

}  // namespace

std::string EncodeText(MessageOwner* owner, const std::string& text,
                       const std::string& code, bool showMessages) {
    return runReporting(&encode, owner, text, code, showMessages);
}

std::string DecodeText(MessageOwner* owner, const std::string& text,
                       const std::string& code, bool showMessages) {
    return runReporting(&decode, owner, text, code, showMessages);
}

}  // namespace orvelin::codec
