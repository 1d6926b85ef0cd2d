#pragma once
// Inputs for the codec benchmark: plain Russian and English prose in
// Windows-1251 with CR LF line breaks, and random bytes 1..255.

#include <cstddef>
#include <string>

namespace orvelin::bench {

std::string plainText(std::size_t size);
std::string randomText(std::size_t size);

}  // namespace orvelin::bench
