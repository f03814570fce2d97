#include "logging/LogFile.h"

void log(int, const char*, ...) {}
