#pragma once
// The codec as the windows call it: the owner window shows the rejection box,
// and a rejected text comes back unchanged.

#include "codec.h"

#include <string>

namespace orvelin::codec {

// Whatever owns the codec's message boxes: the main window in the program,
// a recording fake in tests.
class MessageOwner {
public:
    virtual ~MessageOwner() = default;
    virtual void showCodecMessage(const Rejection& rejection) = 0;
};

std::string EncodeText(MessageOwner* owner, const std::string& text,
                       const std::string& code, bool showMessages);
std::string DecodeText(MessageOwner* owner, const std::string& text,
                       const std::string& code, bool showMessages);

}  // namespace orvelin::codec
