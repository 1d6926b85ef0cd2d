#pragma once
// Whether the vector kernels run: the processor must have them, and tests
// may turn them off to check the portable loops on the same machine.

namespace orvelin::codec {

bool vectorKernelsSupported();
bool vectorKernelsEnabled();
void allowVectorKernels(bool allowed);

}  // namespace orvelin::codec
