#pragma once

namespace orvelin::cli {

// What --help prints.
const char* helpText();

}  // namespace orvelin::cli
