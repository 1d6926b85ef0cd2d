#include "cli/companion.h"

int main(int argc, char** argv) { return orvelin::cli::runCompanion(argc, argv); }
