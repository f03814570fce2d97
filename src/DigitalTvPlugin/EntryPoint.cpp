// Process attach and detach of the module: the library's constructor and
// destructor.

namespace {

__attribute__((constructor)) void ProcessAttach() {
  // TODO(log): open the process log here (the log file's Init) once the log
  // file offers it; this is its only call site.
}

__attribute__((destructor)) void ProcessDetach() {
  // TODO(log): close the log file and destroy the log object here.
}

}  // namespace
