#pragma once
// The main window driven as the user drives it: Encode and Decode, from the
// command to the result shown.

namespace orvelin::bench {

struct Input;

void measureMainWindow(const Input& input);

}  // namespace orvelin::bench
