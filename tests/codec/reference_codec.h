#pragma once
// A slow, literal rendering of the coding rules, one step per line, kept
// apart from the fast codec so the two can be compared on any input.

#include "codec/codec.h"

#include <string>

namespace orvelin::reference {

std::int32_t keyDigest(const std::string& code);
codec::Outcome encode(const std::string& text, const std::string& code, std::string& out);
codec::Outcome decode(const std::string& text, const std::string& code, std::string& out);

}  // namespace orvelin::reference
