// Process attach and detach of the module: the library's constructor and
// destructor.
#include "logging/LogFile.h"

namespace {

__attribute__((constructor)) void ProcessAttach() { LogFileInit(); }

__attribute__((destructor)) void ProcessDetach() { LogFileShutdown(); }

}  // namespace
